// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The cycles of a run go through temporary names, chosen before the first of them. All the
// run's cycles are written to one journal beside the settings, durably, before the first
// cycle's first rename and removed after the last cycle's last, so the run pays for one fsync
// however many cycles it has. A process killed in between leaves the journal, and the next start
// gives the files of the cycle it was in the middle of their old names back.
//
// A cycle as a ring of names in one directory: ring[0] is the temporary name, and its renames
// move ring[1] to ring[0], ring[2] to ring[1], ... and last ring[0] to ring[n - 1].
struct JournalCycle {
  QString directory;
  QStringList ring;
};

class RenameJournal {
 public:
  // An empty path writes no journal.
  explicit RenameJournal(QString path) : path_(std::move(path)) {}
  // Before the first cycle's first rename; false when the journal could not be written.
  bool Begin(const std::vector<JournalCycle>& cycles);
  // After the last cycle's last rename, whatever became of them; nothing when none began.
  void End();

 private:
  QString path_;
  bool begun_ = false;
};

// configDir/Plinkbox.rename-journal
QString RenameJournalPath(const QString& configDir);

// Rolls back the cycle a journal left behind halfway (a cycle that had not begun or had ended
// stays as it is) and removes the journal. The status text that says what was done; empty when
// there was no journal or nothing was left to do.
QString RecoverRenameJournal(const QString& path);
