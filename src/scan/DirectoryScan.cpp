// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/DirectoryScan.h"

#include "core/AppContext.h"
#include "fileops/ConflictFreeName.h"
#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/LongJob.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

// Rows are appended in batches, at most every 100 ms just before the window gets its events:
// each append lays out and repaints the list, which costs as much as the walk when done every
// 20 ms.
constexpr size_t kRowBatch = 4096;
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
};

DirectoryScan::DirectoryScan(AppContext& context, RegexMatcher& matcher)
    : context_(context), matcher_(matcher) {}

DirectoryScan::~DirectoryScan() = default;

bool ScanStopRequested() { return LongJobGuard::StopRequested(); }

void RequestScanStop() { LongJobGuard::RequestStop(); }

bool DirectoryScan::RunScan(ScanWindowPort& window) {
  LongJob job;
  if (!job.Acquired()) return false;
  if (const QString expression = window.ReadOptions().expression; !TargetIsAbsolute(expression)) {
    ShowMessage(QStringLiteral("归类路径“%1”不是以 / 开头的绝对路径，检索未执行。").arg(expression));
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

  SoundList& list = context_.list;
  if (window.ClearListFirst()) list.RemoveAllRows();
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
  FlushRows();
  UpdateCountPart(context_);

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
  const QString refused =
      refusedEntries_.isEmpty()
          ? QString()
          : QStringLiteral("\n不是绝对路径，未检索：“%1”").arg(refusedEntries_.join(QStringLiteral("”、“")));
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
  const Prepared prepared{options, ScanTokens(options.expression)};

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
      if (!ScanFiles(directory, listing.files, prepared)) return false;
      if (options.recurse) levels.push_back({directory, std::move(listing.subdirs)});
    }
    // Next: the first subdirectory not yet walked, at the deepest level that has one.
    while (!levels.empty() && levels.back().next >= levels.back().subdirs.size())
      levels.pop_back();
    if (levels.empty()) return true;
    Level& level = levels.back();
    directory = JoinPath(level.directory, level.subdirs[level.next++]);
  }
}

bool DirectoryScan::ScanFiles(const QString& directory, const QStringList& names,
                              const Prepared& prepared) {
  for (const QString& name : names) {
    if (PumpDue()) BeforeEvents();
    if (!job_->Continue()) return false;
    if (!prepared.options.quiet) {
      inHand_ = name;
      // The first name shows at once, the others as the window gets its events.
      if (shownCaption_.isNull()) ShowCaption();
    }
    TakeFile(directory, name, prepared);
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
                             const Prepared& prepared) {
  const ScanOptions& options = prepared.options;
  if (!Passes(name, options)) return;
  const QString source = JoinPath(directory, name);
  // Placed by this run into a directory that it walks later.
  if (placedFiles_.contains(source)) return;
  ++tally_.taken;

  QString targetName = name;
  QString targetDirectory = directory;
  if (!options.expression.isEmpty()) {
    const QString expanded =
        ExpandNameTokens(source, options.expression, prepared.tokens, QString());
    bool placed = false;
    // Relative for a file of the root only ("#目录路径x"); never created where the program runs.
    if (expanded.startsWith(kPathSeparator)) {
      const QString into = WithoutTrailingSeparators(expanded);
      CreateDirectoryPath(into + kPathSeparator, [this](const QString& created) {
        placedDirectories_.insert(Files::IdentityOf(created));
      });
      const QString from = source;
      QString taken;
      if (options.smartRename) {
        // Every name, numbered or not, is taken without replacing a file that appears
        // meanwhile. A copy onto itself takes a numbered name.
        taken = TakeConflictFreeName(
            OnDisk(into), name, options.copy ? QString() : from,
            [&from, copy = options.copy](const QString& to, bool* wasTaken) {
              return copy ? Files::CopyNoReplace(from, to, wasTaken)
                          : Files::MoveNoReplace(from, to, wasTaken);
            });
      } else {
        const QString to = JoinPath(into, name);
        if (options.copy ? Files::Copy(from, to) : Files::Move(from, to)) taken = name;
      }
      if (!taken.isEmpty()) {
        placed = true;
        targetName = taken;
        targetDirectory = into;
        placedFiles_.insert(JoinPath(into, taken));
        ++(options.copy ? tally_.copied : tally_.moved);
      }
    }
    if (!placed) ++tally_.failed;
  }
  if (!options.load) return;
  const qint64 size = Files::Size(JoinPath(targetDirectory, targetName));
  // Listed but not to be inspected (its directory may be read, not searched), or gone since:
  // its row shows it all the same, without a size.
  if (size < 0 && options.expression.isEmpty()) ++tally_.failed;
  pendingRows_.push_back({targetName, targetDirectory, size, QString()});
  if (pendingRows_.size() >= kRowBatch) FlushRows();
}

bool DirectoryScan::Passes(const QString& name, const ScanOptions& options) {
  // A name that is not UTF-8 is matched by the characters it shows.
  if (options.filter.isEmpty() || matcher_.Test(DisplayName(name))) return true;
  tally_.givenUp += matcher_.GaveUp();
  return false;
}

void DirectoryScan::FlushRows() {
  sinceFlush_.start();
  if (pendingRows_.empty()) return;
  context_.list.AppendRows(std::move(pendingRows_));
  pendingRows_.clear();
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
