// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/ListLoader.h"

#include <string.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/DirectorySizes.h"
#include "platform/Encoding.h"
#include "platform/Files.h"
#include "platform/NativePath.h"
#include "text/PathParts.h"

namespace {

constexpr qint64 kReadBlock = 1 << 20;
constexpr size_t kBlockLines = 8192;
constexpr qsizetype kBlockBytes = 64 * kBlockLines;

// Looking up a file is mostly the kernel's work, and spreads over the cores.
unsigned WorkerCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

bool IsAscii(QByteArrayView bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A relative line names a file beside the list file, wherever the program was started.
QString Resolve(const QString& path, const QString& listDirectory) {
  if (path.startsWith(kPathSeparator)) return path;
  return QDir::cleanPath(JoinPath(listDirectory, path));
}

// A line of a file that is not UTF-8 as a whole: one of our own files holding a file name that
// is not UTF-8, or a GBK list. Of the readings, the first that names an existing file wins.
QString DecodeMixedLine(const QByteArray& line, const QString& listDirectory) {
  const QString native = Resolve(FromNativePath(line), listDirectory);
  if (IsAscii(line) || Files::Exists(native)) return native;
  const QString gbk = Resolve(DecodeTextFile(line), listDirectory);
  return Files::Exists(gbk) ? gbk : native;
}

// The path a line names; a file:// URL of an absolute path comes back to its exact bytes.
QString PathOfLine(const QByteArray& line, bool utf8, const QString& listDirectory) {
  constexpr QByteArrayView kUrlPrefix = "file://";
  if (line.startsWith(kUrlPrefix) && line.sliced(kUrlPrefix.size()).startsWith('/'))
    return FromNativePath(QByteArray::fromPercentEncoding(line.sliced(kUrlPrefix.size())));
  // Not QString::fromUtf8, which drops a name's leading U+FEFF.
  if (utf8) return Resolve(FromNativePath(line), listDirectory);
  return DecodeMixedLine(line, listDirectory);
}

QString FromBytes(QByteArrayView bytes) {
  return FromNativePath(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

}  // namespace

bool LineReader::Next(QByteArrayView* line) {
  for (;;) {
    const qsizetype end = buffer_.indexOf('\n', pos_);
    if (end >= 0 || (atEnd_ && pos_ < buffer_.size())) {
      const qsizetype stop = end >= 0 ? end : buffer_.size();
      *line = QByteArrayView(buffer_).sliced(pos_, stop - pos_);
      if (line->endsWith('\r')) line->chop(1);
      if (first_) {
        first_ = false;
        if (line->startsWith("\xEF\xBB\xBF")) *line = line->sliced(3);
      }
      pos_ = stop + 1;
      return true;
    }
    if (atEnd_) return false;
    buffer_.remove(0, pos_);
    pos_ = 0;
    // Read straight in behind the unfinished line.
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + kReadBlock);
    const qint64 got = file_.read(buffer_.data() + kept, kReadBlock);
    buffer_.resize(kept + std::max<qint64>(got, 0));
    atEnd_ = got <= 0;
  }
}

// Absolute lines, each split into its directory and its name, with their sizes once looked up.
struct ListLoader::Block {
  struct Line {
    qsizetype start;
    qsizetype cut;  // of the last "/"
    qsizetype end;
  };
  QByteArray bytes;
  std::vector<Line> lines;
  std::vector<qint64> sizes;
  bool ready = false;  // looked up; under the workers' lock

  Block() {
    bytes.reserve(kBlockBytes);
    lines.reserve(kBlockLines);
  }
  QByteArrayView Directory(const Line& l) const {
    return QByteArrayView(bytes).sliced(l.start, l.cut - l.start);
  }
  QByteArrayView Name(const Line& l) const {
    return QByteArrayView(bytes).sliced(l.cut + 1, l.end - l.cut - 1);
  }
  void LookUp(DirectorySizes& sizesIn) {
    for (size_t i = 0; i < lines.size(); ++i) {
      sizesIn.Enter(Directory(lines[i]));
      sizes[i] = sizesIn.Size(Name(lines[i]));
    }
  }
  void Clear() {
    bytes.resize(0);  // keeps its room for the next block
    lines.clear();
    ready = false;
  }
};

// Looks up blocks on threads of its own, each thread with its own directory descriptor; the
// blocks come back in the order they were sent. The threads start with the first block that
// has more behind it: a lone block, as a short list has, is looked up by Send itself, as is
// every block when no thread can be had. Only the loader's thread sends and receives.
class ListLoader::Workers {
 public:
  Workers() = default;
  ~Workers() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  void Send(std::unique_ptr<Block> block, bool more) {
    if (more && !started_) Start();
    block->sizes.resize(block->lines.size());
    if (threads_.empty()) {
      block->LookUp(ownSizes_);
      block->ready = true;
      out_.push_back(std::move(block));
      return;
    }
    {
      const std::lock_guard lock(mutex_);
      queue_.push_back(block.get());
      out_.push_back(std::move(block));
    }
    work_.notify_one();
  }
  size_t Out() const { return out_.size(); }
  // Blocks worth having out: each thread busy with one and another waiting for it.
  size_t Enough() const { return std::max<size_t>(1, 2 * threads_.size()); }
  // The oldest block out once it is looked up; without wait, none while it is not.
  std::unique_ptr<Block> Receive(bool wait) {
    std::unique_lock lock(mutex_);
    Block& oldest = *out_.front();
    if (wait) {
      back_.wait(lock, [&oldest] { return oldest.ready; });
    } else if (!oldest.ready) {
      return nullptr;
    }
    std::unique_ptr<Block> block = std::move(out_.front());
    out_.pop_front();
    return block;
  }

 private:
  void Start() {
    started_ = true;
    try {
      while (threads_.size() < WorkerCount()) threads_.emplace_back([this] { Run(); });
    } catch (const std::system_error&) {
      // As many as could be had.
    }
  }
  void Run() {
    DirectorySizes sizes;
    std::unique_lock lock(mutex_);
    for (;;) {
      work_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      Block* block = queue_.front();
      queue_.pop_front();
      lock.unlock();
      block->LookUp(sizes);
      lock.lock();
      block->ready = true;
      back_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_;  // a block queued, or stopping
  std::condition_variable back_;  // a block looked up
  std::deque<Block*> queue_;      // sent, not yet taken by a thread
  bool stopping_ = false;
  std::deque<std::unique_ptr<Block>> out_;  // sent, not yet received: the loader's own
  DirectorySizes ownSizes_;
  bool started_ = false;
  std::vector<std::thread> threads_;  // last: they stop before the rest goes
};

ListLoader::ListLoader(SoundList& list, size_t lines, bool utf8, QString listDirectory)
    : batch_(list, lines),
      utf8_(utf8),
      listDirectory_(std::move(listDirectory)),
      workers_(std::make_unique<Workers>()),
      filling_(std::make_unique<Block>()) {}

ListLoader::~ListLoader() = default;

void ListLoader::Add(QByteArrayView line) {
  const void* slash = line.isEmpty() ? nullptr : ::memrchr(line.data(), '/', size_t(line.size()));
  const qsizetype cut = slash ? static_cast<const char*>(slash) - line.data() : -1;
  if (utf8_ && line.startsWith('/') && cut + 1 < line.size()) {
    Block& block = *filling_;
    const qsizetype start = block.bytes.size();
    block.bytes.append(line);
    block.lines.push_back({start, start + cut, start + line.size()});
    if (block.lines.size() == kBlockLines) Send(true);
    return;
  }
  Drain();
  const QString path = PathOfLine(line.toByteArray(), utf8_, listDirectory_);
  const qint64 size = Files::Size(path);
  if (size < 0) return;
  const qsizetype split = path.lastIndexOf(kPathSeparator);
  const QString directory = split < 0 ? QString() : path.left(split);
  hasLastDirectory_ = false;
  batch_.Add(path.mid(split + 1), batch_.Directory(directory), size);
}

void ListLoader::Send(bool more) {
  workers_->Send(std::move(filling_), more);
  if (spare_.empty()) {
    filling_ = std::make_unique<Block>();
  } else {
    filling_ = std::move(spare_.back());
    spare_.pop_back();
  }
  TakeBack(workers_->Enough());
}

void ListLoader::TakeBack(size_t stillOut) {
  while (workers_->Out() > 0) {
    std::unique_ptr<Block> block = workers_->Receive(workers_->Out() > stillOut);
    if (!block) return;
    MakeRows(*block);
    block->Clear();
    spare_.push_back(std::move(block));
  }
}

void ListLoader::Drain() {
  if (!filling_->lines.empty()) Send(false);
  TakeBack(0);
}

void ListLoader::MakeRows(const Block& block) {
  for (size_t i = 0; i < block.lines.size(); ++i) {
    if (block.sizes[i] < 0) continue;
    const QByteArrayView directory = block.Directory(block.lines[i]);
    if (!hasLastDirectory_ || directory != lastDirectory_) {
      lastDirectory_ = directory.toByteArray();
      lastDirectoryId_ = batch_.Directory(FromBytes(directory));
      hasLastDirectory_ = true;
    }
    batch_.Add(FromBytes(block.Name(block.lines[i])), lastDirectoryId_, block.sizes[i]);
  }
}

int ListLoader::Commit() {
  Drain();
  return batch_.Commit();
}
