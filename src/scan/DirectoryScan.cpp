// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/DirectoryScan.h"

#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/ConflictFreeName.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

// Rows are appended at most every 100 ms, just before the window gets its events, however
// many have come: each append lays out the list anew, which in batches of a fixed size would
// cost more the longer the list grows.
constexpr qint64 kRowIntervalMs = 100;

// The root is held as "" by rows and paths; the file system knows it as "/".
QString OnDisk(const QString& directory) {
  return directory.isEmpty() ? QString(kPathSeparator) : directory;
}

// The tokens of a classification expression; a scan numbers nothing, so "#编号" stays as written.
TokenSet ScanTokens(const QString& expression) {
  TokenSet tokens = TokenSet::FromExpression(expression);
  tokens.Set(NameToken::kNumber, false);
  return tokens;
}

// A target that is not absolute ("F:\声音\#扩展名 音频" from a Windows settings file, or any
// relative text) would be created wherever the program was started. Tried on a file of an
// absolute directory, as every scanned directory is.
bool TargetIsAbsolute(const QString& expression) {
  return expression.isEmpty() ||
         ExpandNameTokens(QStringLiteral("/d/f.e"), expression, ScanTokens(expression), QString())
             .startsWith(kPathSeparator);
}

}  // namespace

struct DirectoryScan::Prepared {
  const ScanOptions& options;
  TokenSet tokens;
  // The list's id of the directory being walked, from its first row on.
  std::optional<quint32> rowDirectory;
  QByteArray nativeDirectory;
};

DirectoryScan::DirectoryScan(SoundList& list, StatusTexts& status, RegexMatcher& matcher)
    : list_(list), status_(status), matcher_(matcher) {}

DirectoryScan::~DirectoryScan() = default;

bool ScanStopRequested() { return LongJobGuard::StopRequested(); }

void RequestScanStop() { LongJobGuard::RequestStop(); }

bool DirectoryScan::RunScan(ScanWindowPort& window) {
  LongJob job;
  if (!job.Acquired()) return false;
  if (const QString expression = window.ReadOptions().expression; !TargetIsAbsolute(expression)) {
    ShowMessage(
        QStringLiteral("归类路径“%1”不是以 / 开头的绝对路径，检索未执行。").arg(expression));
    return false;
  }
  job_ = &job;
  window_ = &window;
  tally_ = {};
  refusedEntries_.clear();
  inHand_.clear();
  shownCaption_.clear();
  placedDirectories_.clear();
  placedFiles_.clear();
  window.SetRunning(true);
  sinceFlush_.start();

  if (window.ClearListFirst()) list_.RemoveAllRows();
  rows_.emplace(list_);
  sizes_ =
      std::make_unique<SizeLookups>([this](const SizeLookups::Block& block) { MakeRows(block); });
  // Entries added meanwhile wait for the next run; removed ones end it early.
  const int count = window.DirectoryCount();
  bool completed = true;
  for (int i = 0; i < count && i < window.DirectoryCount(); ++i) {
    if (!window.DirectoryChecked(i)) continue;
    if (!ScanDirectory(window.DirectoryText(i), window.ReadOptions())) {
      completed = false;
      break;
    }
  }
  FlushRows(true);
  sizes_.reset();
  rows_.reset();
  UpdateCountPart(status_, list_.Selection());

  window.SetRunning(false);
  // A stopped run keeps the name of the file it ended on.
  if (completed) {
    window.SetCaption(QStringLiteral("检索目录"));
  } else {
    ShowCaption();
  }
  job_ = nullptr;
  window_ = nullptr;
  placedFiles_.clear();
  const QString message = QStringLiteral("共运行了 ") + job.ElapsedText() +
                          QStringLiteral("，取得 %1 个文件，移动 %2 个，复制 %3 个，失败 %4 个。")
                              .arg(tally_.taken)
                              .arg(tally_.moved)
                              .arg(tally_.copied)
                              .arg(tally_.failed);
  const QString refused = refusedEntries_.isEmpty()
                              ? QString()
                              : QStringLiteral("\n不是绝对路径，未检索：“%1”")
                                    .arg(refusedEntries_.join(QStringLiteral("”、“")));
  ShowMessage(message + GivenUpNote(tally_.givenUp) + refused);
  return completed;
}

bool DirectoryScan::ScanDirectory(const QString& typed, const ScanOptions& options) {
  // An empty or relative entry would be read against wherever the program was started.
  if (!typed.startsWith(kPathSeparator)) {
    ++tally_.failed;
    refusedEntries_ << typed;
    return true;
  }
  matcher_.Prepare(options.filter, true, false, QString(), false);
  Prepared prepared{options, ScanTokens(options.expression), std::nullopt, QByteArray()};

  // Depth first without recursion, so no depth of tree exhausts the stack: each level keeps the
  // subdirectories still to walk.
  struct Level {
    QString directory;
    QStringList subdirs;
    qsizetype next = 0;
  };
  std::vector<Level> levels;
  QSet<Files::Identity> visited;
  // Held as rows hold directories: "/" becomes "", the root.
  QString directory = WithoutTrailingSeparators(typed);
  for (;;) {
    const Files::Identity id = Files::IdentityOf(OnDisk(directory));
    // A directory this run created holds only files it placed; one met again through a bind
    // mount or a hard-linked path is walked once.
    if (!placedDirectories_.contains(id) && !visited.contains(id)) {
      visited.insert(id);
      Files::Listing listing = Files::Enumerate(OnDisk(directory));
      if (!listing.ok) ++tally_.failed;
      // A FIFO or device under a sound file's name is a file the scan cannot take.
      for (const QString& other : listing.others)
        if (Passes(other, options)) ++tally_.failed;
      // The names are all listed before any file is moved, so a file moved into this very
      // directory is not met again.
      if (!ScanFiles(directory, listing, prepared)) return false;
      if (options.recurse) levels.push_back({directory, std::move(listing.subdirs)});
    }
    // Next: the first subdirectory not yet walked, at the deepest level that has one.
    while (!levels.empty() && levels.back().next >= levels.back().subdirs.size()) levels.pop_back();
    if (levels.empty()) return true;
    Level& level = levels.back();
    directory = JoinPath(level.directory, level.subdirs[level.next++]);
  }
}

bool DirectoryScan::ScanFiles(const QString& directory, const Files::Listing& listing,
                              Prepared& prepared) {
  prepared.rowDirectory.reset();
  for (qsizetype i = 0; i < listing.files.size(); ++i) {
    const QString& name = listing.files[i];
    if (PumpDue()) BeforeEvents();
    if (!job_->Continue()) return false;
    if (!prepared.options.quiet) {
      inHand_ = name;
      // The first name shows at once, the others as the window gets its events.
      if (shownCaption_.isNull()) ShowCaption();
    }
    TakeFile(directory, name, listing.nativeFiles[size_t(i)], prepared);
  }
  return true;
}

void DirectoryScan::BeforeEvents() {
  // A title change is a request to the window system: one per event processing is all that
  // can be seen.
  ShowCaption();
  if (sinceFlush_.elapsed() >= kRowIntervalMs) FlushRows();
}

void DirectoryScan::ShowCaption() {
  if (inHand_ == shownCaption_) return;
  shownCaption_ = inHand_;
  window_->SetCaption(shownCaption_);
}

void DirectoryScan::TakeFile(const QString& directory, const QString& name,
                             QByteArrayView nativeName, Prepared& prepared) {
  const ScanOptions& options = prepared.options;
  if (!Passes(name, options)) return;
  // Placed by this run into a directory that it walks later.
  if (!placedFiles_.isEmpty() && placedFiles_.contains(JoinPath(directory, name))) return;
  ++tally_.taken;
  if (!options.expression.isEmpty()) {
    if (Classify(directory, name, prepared)) return;
    ++tally_.failed;
  }
  if (!options.load) return;
  if (!prepared.rowDirectory) {
    // The directory's text is kept once for all its rows.
    prepared.rowDirectory = rows_->Directory(directory);
    prepared.nativeDirectory = ToNativePath(directory);
  }
  waiting_.push_back({name, *prepared.rowDirectory, options.expression.isEmpty()});
  sizes_->Add(prepared.nativeDirectory, nativeName);
}

bool DirectoryScan::Classify(const QString& directory, const QString& name,
                             const Prepared& prepared) {
  const ScanOptions& options = prepared.options;
  const QString from = JoinPath(directory, name);
  const QString expanded = ExpandNameTokens(from, options.expression, prepared.tokens, QString());
  // Relative for a file of the root only ("#目录路径x"); never created where the program runs.
  if (!expanded.startsWith(kPathSeparator)) return false;
  const QString into = WithoutTrailingSeparators(expanded);
  CreateDirectoryPath(into + kPathSeparator, [this](const QString& created) {
    placedDirectories_.insert(Files::IdentityOf(created));
  });
  QString taken;
  if (options.smartRename) {
    // Every name, numbered or not, is taken without replacing a file that appears meanwhile.
    // A copy onto itself takes a numbered name.
    taken = TakeConflictFreeName(OnDisk(into), name, options.copy ? QString() : from,
                                 [&from, copy = options.copy](const QString& to, bool* wasTaken) {
                                   return copy ? Files::CopyNoReplace(from, to, wasTaken)
                                               : Files::MoveNoReplace(from, to, wasTaken);
                                 });
  } else {
    const QString to = JoinPath(into, name);
    if (options.copy ? Files::Copy(from, to) : Files::Move(from, to)) taken = name;
  }
  if (taken.isEmpty()) return false;
  placedFiles_.insert(JoinPath(into, taken));
  ++(options.copy ? tally_.copied : tally_.moved);
  if (options.load) {
    waiting_.push_back({taken, rows_->Directory(into), false});
    sizes_->Add(ToNativePath(into), ToNativePath(taken));
  }
  return true;
}

void DirectoryScan::MakeRows(const SizeLookups::Block& block) {
  for (size_t i = 0; i < block.Count(); ++i) {
    Waiting& row = waiting_.front();
    // Listed but not to be inspected (its directory may be read, not searched), or gone since:
    // its row shows it all the same, without a size.
    if (block.Size(i) < 0 && row.inPlace) ++tally_.failed;
    rows_->Add(std::move(row.name), row.directory, block.Size(i));
    waiting_.pop_front();
  }
}

bool DirectoryScan::Passes(const QString& name, const ScanOptions& options) {
  // A name that is not UTF-8 is matched by the characters it shows.
  if (options.filter.isEmpty() || matcher_.Test(DisplayName(name))) return true;
  tally_.givenUp += matcher_.GaveUp();
  return false;
}

void DirectoryScan::FlushRows(bool all) {
  sinceFlush_.start();
  if (all) {
    sizes_->Drain();
  } else {
    sizes_->Poll();
  }
  rows_->Commit();
}

void CreateDirectoryPath(const QString& path, const std::function<void(const QString&)>& created) {
  // Each prefix before a separator, from the shortest; the root's empty prefix stays alone.
  for (qsizetype p = path.indexOf(kPathSeparator); p >= 0;
       p = path.indexOf(kPathSeparator, p + 1)) {
    const QString prefix = path.left(p);
    if (prefix.isEmpty() || prefix.endsWith(kPathSeparator) || Files::Exists(prefix)) continue;
    if (!Files::CreateDirectory(prefix)) return;
    if (created) created(prefix);
  }
}
