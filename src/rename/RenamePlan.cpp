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

// Adds key -> value unless the key is there already, in one lookup; the value it has then.
template <typename Key>
int AddFirst(QHash<Key, int>& hash, const Key& key, int value) {
  const qsizetype before = hash.size();
  int& slot = hash[key];
  if (hash.size() != before) slot = value;
  return slot;
}

// Many renames in one directory: it is converted to bytes once, and each rename converts only
// its names, into two buffers that are reused from rename to rename.
class NativePaths {
 public:
  const QByteArray& Of(int slot, const QString& directory, const QString& name) {
    if (prefixSize_ < 0 || directory != directory_) {
      directory_ = directory;
      const QByteArray prefix = ToNativePath(JoinPath(directory, QString()));
      prefixSize_ = prefix.size();
      for (QByteArray& path : paths_) path = QByteArray(prefix.constData(), prefixSize_);
    }
    QByteArray& path = paths_[slot];
    path.resize(prefixSize_);
    AppendNativePath(path, name);
    return path;
  }

 private:
  QString directory_;
  qsizetype prefixSize_ = -1;  // the directory and the separator
  QByteArray paths_[2];
};

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
    case RenameFailure::kNone:
      return QString();
    case RenameFailure::kEmptyName:
      return QStringLiteral("新文件名为空");
    case RenameFailure::kDotName:
      return QStringLiteral("新文件名不能是“.”或“..”");
    case RenameFailure::kSeparator:
      return QStringLiteral("新文件名含有路径分隔符“/”");
    case RenameFailure::kNul:
      return QStringLiteral("新文件名含有空字符");
    case RenameFailure::kTooLong:
      return QStringLiteral("新文件名超过文件系统允许的长度");
    case RenameFailure::kSourceMissing:
      return QStringLiteral("原文件不存在");
    case RenameFailure::kSameFile:
      return QStringLiteral("前面的行已更改同一个文件");
    case RenameFailure::kGivenEarlier:
      return QStringLiteral("新文件名与前面的行重复");
    case RenameFailure::kTakenOutside:
      return QStringLiteral("新文件名已被其他文件占用");
    case RenameFailure::kTakenByKept:
      return QStringLiteral("新文件名属于本次改名中保留原名的文件");
    case RenameFailure::kGivenUp:
      return QStringLiteral("匹配过于复杂，已放弃");
  }
  return QString();
}

RenamePlan::RenamePlan(int count, std::function<NameKey(int)> sourceOf,
                       std::function<std::optional<QString>(int)> targetOf, bool probeFiles)
    : count_(count),
      probeFiles_(probeFiles),
      sourceOf_(std::move(sourceOf)),
      targetOf_(std::move(targetOf)) {
  // An execution plans every item; a preview may look at a few of a million.
  if (probeFiles_) return;
  sources_.reserve(size_t(count));
  sourceIndex_.reserve(count);
  items_.reserve(size_t(count));
  claims_.reserve(count);
}

const NameKey& RenamePlan::Source(int item) {
  IndexSources(item + 1);
  return sources_[size_t(item)].key;
}

bool RenamePlan::Claimed(const NameKey& key) const {
  const int directory = directories_.value(key.directory, -1);
  return directory >= 0 && claims_.contains({directory, key.name});
}

int RenamePlan::DirectoryNumber(const QString& directory) {
  if (lastNumber_ < 0 || directory != lastDirectory_) {
    lastNumber_ = AddFirst(directories_, directory, int(directories_.size()));
    lastDirectory_ = directory;
  }
  return lastNumber_;
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
    NameKey key = sourceOf_(i);
    const int directory = DirectoryNumber(key.directory);
    const int first = AddFirst(sourceIndex_, {directory, key.name}, i);
    sources_.push_back({std::move(key), directory, first});
  }
}

RenameFailure RenamePlan::LocalFailure(int item, const QString& target) {
  if (target.isEmpty()) return RenameFailure::kEmptyName;
  if (target == u"." || target == u"..") return RenameFailure::kDotName;
  if (target.contains(kPathSeparator)) return RenameFailure::kSeparator;
  if (target.contains(QChar(u'\0'))) return RenameFailure::kNul;
  // A UTF-16 unit takes at most 3 bytes: most names need no conversion to be measured.
  if (target.size() * 3 > kMaxNameBytes && ToNativePath(target).size() > kMaxNameBytes)
    return RenameFailure::kTooLong;
  const OldName& source = sources_[size_t(item)];
  if (source.first != item) return RenameFailure::kSameFile;
  if (probeFiles_ && !Files::NameTaken(PathOf(source.key))) return RenameFailure::kSourceMissing;
  return RenameFailure::kNone;
}

// Items up to and including this one, in order, each with its new name, the checks that need
// no other item's fate, and its claim on the new name.
void RenamePlan::Compute(int item) {
  for (int i = int(items_.size()); i <= item; ++i) {
    IndexSources(i + 1);
    Item next;
    std::optional<QString> target = targetOf_(i);
    const OldName& source = sources_[size_t(i)];
    next.target = target ? std::move(*target) : source.key.name;
    if (!target) {
      next.state = State::kFailed;
      next.failure = RenameFailure::kGivenUp;
    } else if (next.target == source.key.name) {
      next.state = State::kUnchanged;
    } else if (next.failure = LocalFailure(i, next.target); next.failure != RenameFailure::kNone) {
      next.state = State::kFailed;
    } else if (AddFirst(claims_, {source.directory, next.target}, i) != i) {
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
  const OldName& source = sources_[size_t(item)];
  const QString& target = items_[size_t(item)].target;
  if (probeFiles_ && !Files::NameTaken(JoinPath(source.key.directory, target))) return kFree;
  const Key key{source.directory, target};
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
  NativePaths paths;
  for (size_t i = 0; i < steps.size(); ++i) {
    const RenameStep& step = steps[i];
    if (step.kind != RenameStep::kToTemporary) ++tried;
    const NameKey& source = plan.Source(step.item);
    const QString& target = plan.Target(step.item);
    const auto rename = [&](const QString& from, const QString& to) {
      return Files::RenameNoReplaceBytes(paths.Of(0, source.directory, from),
                                         paths.Of(1, source.directory, to));
    };
    switch (step.kind) {
      case RenameStep::kDirect:
        if (rename(source.name, target)) done({step.item, target, true});
        break;
      case RenameStep::kToTemporary:
        if (cycle == 0) temporaries = BeginCycles(plan, steps, i, journal);
        temporary = temporaries[cycle++];
        if (!rename(source.name, temporary)) temporary.clear();
        break;
      case RenameStep::kFromTemporary:
        if (temporary.isEmpty()) break;
        if (rename(temporary, target)) {
          done({step.item, target, true});
        } else if (!rename(temporary, source.name)) {
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
