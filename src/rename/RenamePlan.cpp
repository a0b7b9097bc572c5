// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/RenamePlan.h"

#include <QRandomGenerator>

#include "platform/Files.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "rename/RenameJournal.h"
#include "text/PathParts.h"

namespace {

// NAME_MAX of the Linux file systems; a longer name is refused by every one of them.
constexpr qsizetype kMaxNameBytes = 255;
constexpr int kFree = -1;
constexpr int kOutside = -2;

QString PathOf(const NameKey& key) { return JoinPath(key.directory, key.name); }

// Adds key -> value unless the key is there already, in one lookup; whether it was added.
bool AddFirst(QHash<NameKey, int>& hash, const NameKey& key, int value) {
  const qsizetype before = hash.size();
  int& slot = hash[key];
  if (hash.size() == before) return false;
  slot = value;
  return true;
}

// A name in the directory that nothing has and no item of the plan is to get.
QString TemporaryName(const RenamePlan& plan, const QString& directory) {
  for (;;) {
    const QString name = QStringLiteral(".rename-%1.tmp")
                             .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
    if (!plan.Claimed({directory, name}) && !Files::NameTaken(JoinPath(directory, name)))
      return name;
  }
}

// The cycle that starts at steps[first] as the journal's ring: the temporary name, then the
// names in the order the cycle's renames free them.
QStringList CycleRing(RenamePlan& plan, const std::vector<RenameStep>& steps, size_t first,
                      const QString& temporary) {
  QStringList ring{temporary};
  for (size_t i = first; i < steps.size() && steps[i].kind != RenameStep::kFromTemporary; ++i)
    ring << plan.Source(steps[i].item).name;
  return ring;
}

// The temporary names of the cycles from steps[first] on, in order, chosen before any of them
// runs and written to the journal at once with their rings.
std::vector<QString> BeginCycles(RenamePlan& plan, const std::vector<RenameStep>& steps,
                                 size_t first, RenameJournal& journal) {
  std::vector<QString> temporaries;
  std::vector<JournalCycle> cycles;
  for (size_t i = first; i < steps.size(); ++i) {
    if (steps[i].kind != RenameStep::kToTemporary) continue;
    const QString& directory = plan.Source(steps[i].item).directory;
    temporaries.push_back(TemporaryName(plan, directory));
    cycles.push_back({directory, CycleRing(plan, steps, i, temporaries.back())});
  }
  // A journal that cannot be written does not hold the renames up.
  journal.Begin(cycles);
  return temporaries;
}

}  // namespace

QString FailureText(RenameFailure failure) {
  switch (failure) {
    case RenameFailure::kNone: return QString();
    case RenameFailure::kEmptyName: return QStringLiteral("新文件名为空");
    case RenameFailure::kDotName: return QStringLiteral("新文件名不能是“.”或“..”");
    case RenameFailure::kSeparator: return QStringLiteral("新文件名含有路径分隔符“/”");
    case RenameFailure::kNul: return QStringLiteral("新文件名含有空字符");
    case RenameFailure::kTooLong: return QStringLiteral("新文件名超过文件系统允许的长度");
    case RenameFailure::kSourceMissing: return QStringLiteral("原文件不存在");
    case RenameFailure::kSameFile: return QStringLiteral("前面的行已更改同一个文件");
    case RenameFailure::kGivenEarlier: return QStringLiteral("新文件名与前面的行重复");
    case RenameFailure::kTakenOutside: return QStringLiteral("新文件名已被其他文件占用");
    case RenameFailure::kTakenByKept:
      return QStringLiteral("新文件名属于本次改名中保留原名的文件");
    case RenameFailure::kGivenUp: return QStringLiteral("匹配过于复杂，已放弃");
  }
  return QString();
}

RenamePlan::RenamePlan(int count, std::function<NameKey(int)> sourceOf,
                       std::function<std::optional<QString>(int)> targetOf, bool probeFiles)
    : count_(count),
      probeFiles_(probeFiles),
      sourceOf_(std::move(sourceOf)),
      targetOf_(std::move(targetOf)) {}

const NameKey& RenamePlan::Source(int item) {
  IndexSources(item + 1);
  return sources_[size_t(item)];
}

const QString& RenamePlan::Target(int item) {
  Compute(item);
  return items_[size_t(item)].target;
}

RenameFailure RenamePlan::Failure(int item) {
  Resolve(item);
  return items_[size_t(item)].failure;
}

bool RenamePlan::Renames(int item) {
  Resolve(item);
  return items_[size_t(item)].state == State::kRenamed;
}

void RenamePlan::IndexSources(int count) {
  for (int i = int(sources_.size()); i < count; ++i) {
    sources_.push_back(sourceOf_(i));
    AddFirst(sourceIndex_, sources_.back(), i);
  }
}

RenameFailure RenamePlan::LocalFailure(int item, const QString& target) {
  if (target.isEmpty()) return RenameFailure::kEmptyName;
  if (target == u"." || target == u"..") return RenameFailure::kDotName;
  if (target.contains(kPathSeparator)) return RenameFailure::kSeparator;
  if (target.contains(QChar(u'\0'))) return RenameFailure::kNul;
  if (ToNativePath(target).size() > kMaxNameBytes) return RenameFailure::kTooLong;
  const NameKey& source = sources_[size_t(item)];
  if (sourceIndex_.value(source) != item) return RenameFailure::kSameFile;
  if (probeFiles_ && !Files::NameTaken(PathOf(source))) return RenameFailure::kSourceMissing;
  return RenameFailure::kNone;
}

// Items up to and including this one, in order, each with its new name, the checks that need
// no other item's fate, and its claim on the new name.
void RenamePlan::Compute(int item) {
  for (int i = int(items_.size()); i <= item; ++i) {
    IndexSources(i + 1);
    Item next;
    std::optional<QString> target = targetOf_(i);
    const NameKey& source = sources_[size_t(i)];
    next.target = target ? std::move(*target) : source.name;
    if (!target) {
      next.state = State::kFailed;
      next.failure = RenameFailure::kGivenUp;
    } else if (next.target == source.name) {
      next.state = State::kUnchanged;
    } else if (next.failure = LocalFailure(i, next.target);
               next.failure != RenameFailure::kNone) {
      next.state = State::kFailed;
    } else if (!AddFirst(claims_, {source.directory, next.target}, i)) {
      next.state = State::kFailed;
      next.failure = RenameFailure::kGivenEarlier;
    }
    items_.push_back(std::move(next));
  }
}

// The item whose file has this item's new name now, kFree, or kOutside for a file that the
// run does not rename. Probing asks the file system first, so a short preview of a long run
// indexes the run's names only when a new name is taken.
int RenamePlan::Occupant(int item) {
  const NameKey key{sources_[size_t(item)].directory, items_[size_t(item)].target};
  if (probeFiles_ && !Files::NameTaken(PathOf(key))) return kFree;
  IndexSources(count_);
  return sourceIndex_.value(key, probeFiles_ ? kOutside : kFree);
}

// Follows the item's new name to the file that holds it, and on to that file's new name,
// until a free name, a file that stays, or the start again (a cycle, which goes through).
void RenamePlan::Resolve(int item) {
  std::vector<int> path;
  int node = item;
  for (;;) {
    Compute(node);
    Item& it = items_[size_t(node)];
    if (it.state == State::kEvaluating) {
      for (int n : path) items_[size_t(n)].state = State::kRenamed;
      return;
    }
    if (it.state != State::kPending) break;
    const int next = Occupant(node);
    if (next == kFree) {
      it.state = State::kRenamed;
      break;
    }
    if (next == kOutside) {
      it.state = State::kFailed;
      it.failure = RenameFailure::kTakenOutside;
      break;
    }
    it.state = State::kEvaluating;
    it.next = next;
    path.push_back(node);
    node = next;
  }
  const bool through = items_[size_t(node)].state == State::kRenamed;
  for (auto n = path.rbegin(); n != path.rend(); ++n) {
    Item& it = items_[size_t(*n)];
    it.state = through ? State::kRenamed : State::kFailed;
    if (!through) it.failure = RenameFailure::kTakenByKept;
  }
}

std::vector<RenameStep> RenamePlan::Steps() {
  for (int i = 0; i < count_; ++i) Resolve(i);
  const auto renamed = [this](int i) { return items_[size_t(i)].state == State::kRenamed; };
  std::vector<char> taken(size_t(count_), 0);
  for (int i = 0; i < count_; ++i)
    if (renamed(i) && items_[size_t(i)].next >= 0) taken[size_t(items_[size_t(i)].next)] = 1;

  std::vector<RenameStep> steps;
  std::vector<char> placed(size_t(count_), 0);
  std::vector<int> run;
  // A chain starts at a name that no one takes; its end, whose new name is free, goes first.
  for (int i = 0; i < count_; ++i) {
    if (!renamed(i) || taken[size_t(i)]) continue;
    run.clear();
    for (int n = i; n >= 0 && !placed[size_t(n)]; n = items_[size_t(n)].next) {
      run.push_back(n);
      placed[size_t(n)] = 1;
    }
    for (auto n = run.rbegin(); n != run.rend(); ++n) steps.push_back({*n, RenameStep::kDirect});
  }
  // What is left are cycles: the first item steps aside, the others follow backwards.
  for (int i = 0; i < count_; ++i) {
    if (!renamed(i) || placed[size_t(i)]) continue;
    run.clear();
    for (int n = i; !placed[size_t(n)]; n = items_[size_t(n)].next) {
      run.push_back(n);
      placed[size_t(n)] = 1;
    }
    steps.push_back({i, RenameStep::kToTemporary});
    for (auto n = run.rbegin(); n + 1 != run.rend(); ++n)
      steps.push_back({*n, RenameStep::kDirect});
    steps.push_back({i, RenameStep::kFromTemporary});
  }
  return steps;
}

int RunSteps(RenamePlan& plan, const std::vector<RenameStep>& steps, LongJob& job,
             RenameJournal& journal, const std::function<void(const RenameDone&)>& done) {
  std::vector<QString> temporaries;  // of every cycle, chosen at the first
  size_t cycle = 0;
  QString temporary;  // the name the current cycle's first file waits under
  int tried = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    const RenameStep& step = steps[i];
    if (step.kind != RenameStep::kToTemporary) ++tried;
    const NameKey& source = plan.Source(step.item);
    const QString& directory = source.directory;
    const QString target = JoinPath(directory, plan.Target(step.item));
    switch (step.kind) {
      case RenameStep::kDirect:
        if (Files::RenameNoReplace(PathOf(source), target))
          done({step.item, plan.Target(step.item), true});
        break;
      case RenameStep::kToTemporary:
        if (cycle == 0) temporaries = BeginCycles(plan, steps, i, journal);
        temporary = temporaries[cycle++];
        if (!Files::RenameNoReplace(PathOf(source), JoinPath(directory, temporary)))
          temporary.clear();
        break;
      case RenameStep::kFromTemporary:
        if (temporary.isEmpty()) break;
        if (Files::RenameNoReplace(JoinPath(directory, temporary), target)) {
          done({step.item, plan.Target(step.item), true});
        } else if (!Files::RenameNoReplace(JoinPath(directory, temporary), PathOf(source))) {
          // Neither name is free: the file stays where it is, and undo can bring it back.
          done({step.item, temporary, false});
        }
        temporary.clear();
        break;
    }
    if (temporary.isEmpty() && !job.Continue()) break;
  }
  journal.End();
  return tried;
}
