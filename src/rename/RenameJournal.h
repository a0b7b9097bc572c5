// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <utility>

// A cycle of renames goes through a temporary name. Its names are written to a journal beside
// the settings, durably, before its first rename and removed after its last, so a process
// killed in between leaves the journal, and the next start gives every file of the cycle its
// old name back.
//
// The cycle as a ring of names in one directory: ring[0] is the temporary name, and its
// renames move ring[1] to ring[0], ring[2] to ring[1], ... and last ring[0] to ring[n - 1].
class RenameJournal {
 public:
  // An empty path writes no journal.
  explicit RenameJournal(QString path) : path_(std::move(path)) {}
  // Before the cycle's first rename; false when the journal could not be written.
  bool Begin(const QString& directory, const QStringList& ring);
  // After the cycle's last rename, whatever became of it.
  void End();

 private:
  QString path_;
};

// configDir/Plinkbox.rename-journal
QString RenameJournalPath(const QString& configDir);

// Rolls back the cycle a journal left behind and removes the journal. The status text that
// says what was done; empty when there was no journal or nothing was left to do.
QString RecoverRenameJournal(const QString& path);
