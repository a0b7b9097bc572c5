// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/BatchRenamer.h"

#include <algorithm>

#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/EventPump.h"
#include "platform/Files.h"
#include "platform/LongJob.h"
#include "rename/RenameJournal.h"
#include "text/PathParts.h"

namespace {

// The row that shows a file: the recorded row, or, after a sort has moved it, wherever it is.
class RowFinder {
 public:
  explicit RowFinder(SoundList& list) : list_(list) {}

  // Gives the row that shows key the new name; rows that show another name are left alone.
  void Rename(const NameKey& key, int recordedRow, const QString& newName) {
    const int row = Shows(recordedRow, key) ? recordedRow : Indexed(key);
    if (row < 0) return;
    list_.SetRowFileName(row, newName);
    if (!index_.isEmpty()) index_.insert({key.directory, newName}, row);
  }

 private:
  bool Shows(int row, const NameKey& key) const {
    return row >= 0 && row < list_.RowCount() && list_.RowFileName(row) == key.name &&
           list_.RowDirectory(row) == key.directory;
  }
  // Built at the first row that moved, so an undo without a sort in between never pays for it.
  int Indexed(const NameKey& key) {
    if (index_.isEmpty()) {
      for (int row = list_.RowCount() - 1; row >= 0; --row)
        index_.insert({list_.RowDirectory(row), list_.RowFileName(row)}, row);
    }
    const int row = index_.value(key, -1);
    return Shows(row, key) ? row : -1;
  }

  SoundList& list_;
  QHash<NameKey, int> index_;
};

// An item the plan settles without a rename: a name that stays is a rename to itself, which
// succeeds when the file is there.
enum class Settled { kRenames, kKept, kFailed };
Settled SettledByPlan(RenamePlan& plan, int item) {
  if (plan.Renames(item)) return Settled::kRenames;
  if (plan.Failure(item) != RenameFailure::kNone) return Settled::kFailed;
  const NameKey& key = plan.Source(item);
  return Files::NameTaken(JoinPath(key.directory, key.name)) ? Settled::kKept : Settled::kFailed;
}

}  // namespace

std::vector<int> RunRows(const SoundList& list, bool onlySelected) {
  if (onlySelected) return list.Selection().SelectedRows();
  std::vector<int> rows(size_t(list.RowCount()));
  for (int row = 0; row < list.RowCount(); ++row) rows[size_t(row)] = row;
  return rows;
}

RenameRunOutput BatchRenamer::RenameRun(const RenameRule& rule, const std::vector<int>& rows,
                                        RunMode mode, int limit) {
  RenameRunOutput output;
  const int count = int(rows.size());
  const bool execute = mode == RunMode::ExecuteMode;
  const RenameCounter counter = StartCounter(rule, count);
  TokenSet tokens = TokenSet::FromExpression(ActiveExpression(rule));
  // Not offered by the window; it stays in the name as typed.
  tokens.Set(NameToken::kDirectoryPath, false);
  if (rule.kind == RuleKind::RegexRule)
    matcher_.Configure(rule.pattern, rule.ignoreCase, true, rule.global);
  // The run's own copy: a preview typed while an execution runs configures the program's one.
  const RegexMatcher matcher = matcher_;

  const auto source = [&](int i) {
    const int row = rows[size_t(i)];
    return NameKey{list_.RowDirectory(row), list_.RowFileName(row)};
  };
  int givenUp = 0;
  const auto target = [&](int i) -> std::optional<QString> {
    if (execute) PumpEvents();
    RenameCounter numbered = counter;
    numbered.current += i * counter.interval;
    QString name = ComputeNewName(list_.Row(rows[size_t(i)]), rule, numbered, tokens, matcher);
    if (rule.kind == RuleKind::RegexRule && matcher.GaveUp()) {
      ++givenUp;
      return std::nullopt;
    }
    return name;
  };

  if (!execute) {
    RenamePlan plan(count, source, target, true);
    const int shown = std::clamp(limit, 0, count);
    output.preview.reserve(size_t(shown));
    for (int i = 0; i < shown; ++i)
      output.preview.push_back({plan.Source(i).name, plan.Target(i), plan.Failure(i)});
    return output;
  }

  LongJob job;
  if (!job.Acquired()) return output;
  undo_.clear();
  undo_.reserve(size_t(count));
  RenamePlan plan(count, source, target, false);
  const std::vector<RenameStep> steps = plan.Steps();
  // Rows the plan settles count as processed even after a stop; the others once their rename
  // has been tried.
  int processed = 0;
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    const Settled settled = SettledByPlan(plan, i);
    if (settled == Settled::kRenames) continue;
    ++processed;
    const NameKey& key = plan.Source(i);
    if (settled == Settled::kKept)
      undo_.push_back({key.directory, key.name, key.name, rows[size_t(i)]});
    else
      ++failures;
  }
  int renamed = 0;
  RenameJournal journal(journalPath_);
  const int tried = RunSteps(plan, steps, job, journal, [&](const RenameDone& done) {
    const NameKey& old = plan.Source(done.item);
    const int row = rows[size_t(done.item)];
    undo_.push_back({old.directory, old.name, done.nameNow, row});
    list_.SetRowFileName(row, done.nameNow);
    if (done.asPlanned) ++renamed;
  });
  output.result =
      RunResult{processed + tried, failures + tried - renamed, job.ElapsedMs(), givenUp};
  return output;
}

std::optional<RunResult> BatchRenamer::UndoLast() {
  if (undo_.empty()) return RunResult{};
  LongJob job;
  if (!job.Acquired()) return std::nullopt;
  UndoList records = std::move(undo_);
  undo_.clear();
  const int count = int(records.size());
  // Item i undoes record count - 1 - i: the last rename first.
  const auto recordOf = [&](int item) -> UndoRecord& { return records[size_t(count - 1 - item)]; };
  RenamePlan plan(
      count,
      [&](int i) {
        return NameKey{recordOf(i).directory, recordOf(i).newName};
      },
      [&](int i) { return recordOf(i).oldName; }, false);
  const std::vector<RenameStep> steps = plan.Steps();

  std::vector<char> settled(size_t(count), 0);
  int processed = 0;
  for (int item = 0; item < count; ++item) {
    const Settled byPlan = SettledByPlan(plan, item);
    if (byPlan == Settled::kRenames) continue;
    ++processed;
    settled[size_t(item)] = byPlan == Settled::kKept;
  }
  RowFinder rowFinder(list_);
  RenameJournal journal(journalPath_);
  processed += RunSteps(plan, steps, job, journal, [&](const RenameDone& done) {
    UndoRecord& record = recordOf(done.item);
    rowFinder.Rename({record.directory, record.newName}, record.row, done.nameNow);
    if (done.asPlanned)
      settled[size_t(done.item)] = 1;
    else
      record.newName = done.nameNow;
  });
  for (int item = count - 1; item >= 0; --item) {
    if (!settled[size_t(item)]) undo_.push_back(std::move(recordOf(item)));
  }
  // Records not reached before a stop stay for the next undo but are not counted as failed.
  return RunResult{processed, processed - (count - int(undo_.size())), job.ElapsedMs()};
}
