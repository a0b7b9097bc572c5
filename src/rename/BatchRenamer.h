// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <optional>
#include <vector>

#include "rename/RenamePlan.h"
#include "rename/RenameRule.h"

class RegexMatcher;
class SoundList;

// One rename of the last execution.
struct UndoRecord {
  QString directory;
  QString oldName;
  QString newName;
  int row = -1;  // the row's index at the time of the rename
};
// The renames of the last execution in the order they happened; program-wide, never saved.
using UndoList = std::vector<UndoRecord>;

// Rows counts the rows (or undo records) processed, successful or not: all of them unless the
// run was stopped.
struct RunResult {
  int rows = 0;
  int failures = 0;
  qint64 elapsedMs = 0;
  int givenUp = 0;  // failures because the rule's pattern gave up on the name
};

enum class RunMode { PreviewMode, ExecuteMode };

// One row of the preview: the name now, the name the run gives it, and why that would fail.
struct PreviewPair {
  QString oldName;
  QString newName;
  RenameFailure failure = RenameFailure::kNone;
};

struct RenameRunOutput {
  std::vector<PreviewPair> preview;  // PreviewMode
  std::optional<RunResult> result;   // ExecuteMode; none when another long job was running
};

// The rows of a run: the selected rows ascending, or every row.
std::vector<int> RunRows(const SoundList& list, bool onlySelected);

// The batch rename on the sound list with the program-wide matcher and undo list.
class BatchRenamer {
 public:
  // Cycles are journalled at journalPath (RenameJournal.h); none when it is empty.
  BatchRenamer(SoundList& list, RegexMatcher& renameMatcher, UndoList& undo,
               QString journalPath = {})
      : list_(list), matcher_(renameMatcher), undo_(undo), journalPath_(std::move(journalPath)) {}

  // Plans the rule over the rows (in processing order) as a whole. PreviewMode gives the first
  // `limit` pairs, each marked when its rename would fail. ExecuteMode renames the files,
  // chains and cycles included, replaces the undo list by the renames done (a name that stays
  // is recorded too), and updates the rows; a failing row keeps its name and its file, and the
  // counter still advances.
  RenameRunOutput RenameRun(const RenameRule& rule, const std::vector<int>& rows, RunMode mode,
                            int limit = 0);
  // Gives the files of the undo list their old names back, the last rename first, planned like
  // a run so chains and cycles undo in one pass; never replaces a file that took an old name
  // meanwhile. The undo list keeps the records that failed, for a retry. None when another
  // long job was running; an empty undo list gives an empty result.
  std::optional<RunResult> UndoLast();

 private:
  SoundList& list_;
  RegexMatcher& matcher_;
  UndoList& undo_;
  QString journalPath_;
};
