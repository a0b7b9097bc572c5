// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class LongJob;
class RenameJournal;

// Why one rename of a run does not happen. kNone: it happens, or the name stays as it is.
enum class RenameFailure {
  kNone,
  kEmptyName,
  kDotName,        // "." or ".."
  kSeparator,      // the name would lead into another directory
  kNul,            // the name would be cut short at the NUL
  kTooLong,        // more bytes than a file name may have
  kSourceMissing,  // no file of the old name
  kSameFile,       // an earlier row of the run renames this very file
  kGivenEarlier,   // an earlier row of the run takes this name
  kTakenOutside,   // a file that the run does not rename has this name
  kTakenByKept,    // the file of this name is in the run but keeps its name
  kGivenUp,        // the rule's pattern gave up on the name (RegexMatcher::GaveUp)
};
// The reason as the preview's tooltip tells it; empty for kNone.
QString FailureText(RenameFailure failure);

// A file name in its directory.
struct NameKey {
  QString directory;
  QString name;
  bool operator==(const NameKey&) const = default;
};
inline size_t qHash(const NameKey& key, size_t seed = 0) {
  return qHashMulti(seed, key.directory, key.name);
}

// One rename of the order a plan runs in. A cycle goes through a temporary name: its first
// item moves there first and on to its new name last.
struct RenameStep {
  enum Kind { kDirect, kToTemporary, kFromTemporary };
  int item;
  Kind kind;
};

// The renames of one run (items in priority order: of two items wanting one name, the first
// gets it), planned as a whole before any file moves. An item is renamed when its new name is
// valid, free now, or freed by a rename of the run that is itself renamed, chains and cycles
// included. Items are computed on demand, in order, so a preview of the first rows of a long
// run asks the file system only about the names those rows depend on.
class RenamePlan {
 public:
  // sourceOf(i): the item's directory and old name; targetOf(i): its new name, asked once,
  // or none when the rule gave up on the name.
  // probeFiles: ask the file system which old names exist and which new names are taken, for
  // the reasons a preview shows. Without it an execution saves those calls: its renames never
  // replace a file, so a name taken outside the run fails there, and the chain behind it too.
  RenamePlan(int count, std::function<NameKey(int)> sourceOf,
             std::function<std::optional<QString>(int)> targetOf, bool probeFiles);

  int Count() const { return count_; }
  const NameKey& Source(int item);
  const QString& Target(int item);
  RenameFailure Failure(int item);
  // Whether the item's file gets its new name (false for failures and unchanged names).
  bool Renames(int item);
  // Every item resolved; the renames in an order in which each new name is free when taken.
  std::vector<RenameStep> Steps();
  // Whether an item of the run is to get this name (a temporary name must not be one).
  bool Claimed(const NameKey& key) const;

 private:
  enum class State { kPending, kEvaluating, kRenamed, kUnchanged, kFailed };
  // A name in a directory of the run, the directory by its number: each of the few lookups an
  // item takes hashes a short name and a number, not the whole path.
  struct Key {
    int directory;
    QString name;
    bool operator==(const Key&) const = default;
    friend size_t qHash(const Key& key, size_t seed = 0) {
      return qHashMulti(seed, key.directory, key.name);
    }
  };
  struct OldName {
    NameKey key;
    int directory;  // its number
    int first;      // the first item of the same file
  };
  struct Item {
    QString target;
    State state = State::kPending;
    RenameFailure failure = RenameFailure::kNone;
    int next = -1;  // the item whose old name this one takes
  };
  void Compute(int item);
  void IndexSources(int count);
  int DirectoryNumber(const QString& directory);
  RenameFailure LocalFailure(int item, const QString& target);
  void Resolve(int item);
  int Occupant(int item);

  int count_;
  bool probeFiles_;
  std::function<NameKey(int)> sourceOf_;
  std::function<std::optional<QString>(int)> targetOf_;
  QHash<QString, int> directories_;
  QString lastDirectory_;  // rows come by directory: most items skip the lookup
  int lastNumber_ = -1;
  std::vector<OldName> sources_;
  QHash<Key, int> sourceIndex_;  // old name -> first item of that file
  std::vector<Item> items_;
  QHash<Key, int> claims_;  // new name -> the item that gets it
};

// What became of an item that moved, in the order the renames completed: asPlanned is false
// for the rare item of a cycle left under its temporary name (nameNow) by a failure.
struct RenameDone {
  int item;
  QString nameNow;
  bool asPlanned;
};
// Renames the files as the steps say, never replacing a file, with job.Continue() between
// renames (never inside a cycle). Ends early, keeping what is done, on a stop request. Returns
// the number of items whose rename was tried. The journal lists every cycle from before the
// first cycle's first rename until the steps end.
int RunSteps(RenamePlan& plan, const std::vector<RenameStep>& steps, LongJob& job,
             RenameJournal& journal, const std::function<void(const RenameDone&)>& done);
