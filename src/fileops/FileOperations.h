// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "core/Commands.h"

class LongJob;
class SoundList;
class StatusTexts;
struct MoveOptions;
struct SoundRow;

// The work on the files behind the selected rows. Every command that changes rows or files
// does nothing while another long job runs.
class FileOperations {
 public:
  // A move or copy starts its folder dialog at options.lastDirectory and sets it to the folder
  // chosen.
  FileOperations(SoundList& list, StatusTexts& status, MoveOptions& options)
      : list_(list), status_(status), options_(options) {}

  // One of Command::kDelete, kMove, kCopy, kRemoveRows, kCopyNames and kCopyPaths (any other
  // does nothing) on the rows selected when it starts. Only the files of
  // those rows are touched; a file that fails keeps its row; the result message counts every
  // selected row. Ends early, keeping what is done, when LongJobGuard::StopRequested().
  void RunFileOperation(Command command);
  // Asks, then empties the list; no file is touched.
  void RemoveAllRows();
  // The end of an in-place edit of row's name: renames the file within its directory (never
  // replacing another file, never into another directory) and reports in the status bar.
  // Returns whether the row takes the new name; the caller (the list's setData) then sets it.
  bool RenameRowFile(int row, const QString& editedText);
  // Shows the current row's file in the file manager; nothing without a current row.
  void ShowCurrentInFileManager();
  // Every dropped path becomes one row (a directory too); then the count and the last row.
  void AddDroppedFiles(const QStringList& paths);

 private:
  // The question of a delete, or the target folder of a move or copy (then also remembered);
  // false when the answer ends the operation.
  bool AskFirst(Command command, const QString& operation, const QString& count, QString* target);
  // Deletes, moves, copies or removes the rows (snapshots of the selected rows, in order), then
  // removes the rows that go.
  void ChangeFiles(Command command, const std::vector<int>& selected,
                   const std::vector<SoundRow>& rows, const QString& target, LongJob& job);
  // One row's work; true when its row is to be removed.
  bool ChangeFile(Command command, int index, const SoundRow& row, const QString& target);

  SoundList& list_;
  StatusTexts& status_;
  MoveOptions& options_;
};
