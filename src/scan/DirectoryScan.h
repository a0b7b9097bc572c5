// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "list/SoundList.h"
#include "platform/Files.h"
#include "platform/SizeLookups.h"

class LongJob;
class RegexMatcher;
class StatusTexts;

// The options of one checked directory, read from the window anew for each.
struct ScanOptions {
  bool recurse = false;
  QString filter;      // wildcard filter on file names; empty takes every file
  QString expression;  // token expression of the target directory; empty: no classification
  bool copy = false;   // classify by copying instead of moving
  bool smartRename = false;
  bool quiet = false;  // no file name in the caption
  bool load = false;   // add each taken file to the sound list
};

// What a run did, for its closing message.
struct ScanTally {
  qint64 taken = 0;
  qint64 moved = 0;
  qint64 copied = 0;
  qint64 failed = 0;   // files left where they were, and directories that could not be read
  qint64 givenUp = 0;  // names the filter gave up on (RegexMatcher::GaveUp)
};

// What the scan reads from its window and shows in it.
class ScanWindowPort {
 public:
  virtual ~ScanWindowPort() = default;
  // The directory list: fixed in length when the run starts, read entry by entry as it goes.
  virtual int DirectoryCount() const = 0;
  virtual bool DirectoryChecked(int index) const = 0;
  virtual QString DirectoryText(int index) const = 0;
  virtual ScanOptions ReadOptions() const = 0;
  // 载入文件列表 and 清空已有列表 both checked; read once, before the first directory.
  virtual bool ClearListFirst() const = 0;
  // Shows the stop button and hides the two run buttons (running), or the other way round.
  virtual void SetRunning(bool running) = 0;
  // Called at most once per event processing, about every 20 ms, while a scan runs.
  virtual void SetCaption(const QString& caption) = 0;
};

// The directory scan: walks directories, takes the files the filter passes, classifies them
// into directories built from a token expression and adds them to the sound list.
class DirectoryScan {
 public:
  DirectoryScan(SoundList& list, StatusTexts& status, RegexMatcher& matcher);
  ~DirectoryScan();

  // Scans every checked directory of the window, then shows "共运行了 " with the elapsed time
  // and what was taken. True when every checked directory was walked; false when stopped, when
  // the classification target is not an absolute path (refused with a message before anything
  // happens), or when another long job is running (then nothing happens).
  bool RunScan(ScanWindowPort& window);
  // One directory (without a trailing separator) and, with recurse, its subdirectories; false
  // when stopped. Runs inside RunScan's job.
  bool ScanDirectory(const QString& directory, const ScanOptions& options);
  // Whether a scan is running; only then does a stop request reach it.
  bool Running() const { return job_ != nullptr; }
  const ScanTally& Tally() const { return tally_; }

 private:
  struct Prepared;
  bool ScanFiles(const QString& directory, const Files::Listing& listing, Prepared& prepared);
  void TakeFile(const QString& directory, const QString& name, QByteArrayView nativeName,
                Prepared& prepared);
  // Moves or copies a taken file into its target directory and adds its row there; false when
  // it stays where it is.
  bool Classify(const QString& directory, const QString& name, const Prepared& prepared);
  bool Passes(const QString& name, const ScanOptions& options);
  void MakeRows(const SizeLookups::Block& block);
  // Appends the rows whose sizes are back; all: every row taken so far.
  void FlushRows(bool all = false);
  // Just before events are processed: the caption and the rows catch up with the scan.
  void BeforeEvents();
  void ShowCaption();

  SoundList& list_;
  StatusTexts& status_;
  RegexMatcher& matcher_;
  ScanWindowPort* window_ = nullptr;
  LongJob* job_ = nullptr;
  ScanTally tally_;
  QStringList refusedEntries_;            // directory entries that are not absolute paths
  std::optional<SoundList::Batch> rows_;  // made since the last append
  // The sizes of taken files are looked up on other threads while the walk goes on; the rows
  // wait for them, in the order they were taken. Ended with the run, so no directory of a
  // mount stays open.
  struct Waiting {
    QString name;
    quint32 directory;
    bool inPlace;  // not classified: a missing size counts as a failure
  };
  std::deque<Waiting> waiting_;
  std::unique_ptr<SizeLookups> sizes_;
  QElapsedTimer sinceFlush_;
  // The file last taken in hand, and the caption last shown.
  QString inHand_;
  QString shownCaption_;
  // Directories this run created or moved files into, and the files it placed: never walked
  // or taken again in the same run.
  QSet<Files::Identity> placedDirectories_;
  QSet<QString> placedFiles_;
};

// Set by the stop and close buttons; a running scan ends after the file in hand.
bool ScanStopRequested();
void RequestScanStop();

// Creates every missing directory along path (which ends in the separator). The root of an
// absolute path is left alone. Stops at the first directory it cannot create. Each directory
// created is handed to created, when given.
void CreateDirectoryPath(const QString& path,
                         const std::function<void(const QString&)>& created = {});
