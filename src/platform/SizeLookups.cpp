// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SizeLookups.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/DirectorySizes.h"

namespace {

constexpr size_t kBlockLines = 8192;
constexpr qsizetype kBlockBytes = 64 * kBlockLines;

// Looking up a file is mostly the kernel's work, and spreads over the cores.
unsigned WorkerCount() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

}  // namespace

QByteArrayView SizeLookups::Block::Directory(size_t i) const {
  const Line& l = lines_[i];
  return QByteArrayView(bytes_).sliced(l.start, l.cut - l.start);
}

QByteArrayView SizeLookups::Block::Name(size_t i) const {
  const Line& l = lines_[i];
  return QByteArrayView(bytes_).sliced(l.cut + 1, l.end - l.cut - 1);
}

// Looks up blocks on threads of its own, each thread with its own directory descriptor. Only
// the owner's thread sends and receives.
class SizeLookups::Workers {
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
    block->sizes_.resize(block->lines_.size());
    if (threads_.empty()) {
      LookUp(*block, ownSizes_);
      block->ready_ = true;
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
    // Rather than wait, the caller looks up the blocks no thread has taken yet, oldest first.
    while (wait && !oldest.ready_ && !queue_.empty()) LookUpNext(lock, ownSizes_);
    if (wait) {
      back_.wait(lock, [&oldest] { return oldest.ready_; });
    } else if (!oldest.ready_) {
      return nullptr;
    }
    std::unique_ptr<Block> block = std::move(out_.front());
    out_.pop_front();
    return block;
  }

 private:
  static void LookUp(Block& block, DirectorySizes& sizes) {
    for (size_t i = 0; i < block.lines_.size(); ++i) {
      sizes.Enter(block.Directory(i));
      block.sizes_[i] = sizes.Size(block.Name(i));
    }
  }
  // The oldest queued block, looked up outside the lock.
  void LookUpNext(std::unique_lock<std::mutex>& lock, DirectorySizes& sizes) {
    Block* block = queue_.front();
    queue_.pop_front();
    lock.unlock();
    LookUp(*block, sizes);
    lock.lock();
    block->ready_ = true;
  }
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
      LookUpNext(lock, sizes);
      back_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_;  // a block queued, or stopping
  std::condition_variable back_;  // a block looked up
  std::deque<Block*> queue_;      // sent, not yet taken by a thread
  bool stopping_ = false;
  std::deque<std::unique_ptr<Block>> out_;  // sent, not yet received: the owner's own
  DirectorySizes ownSizes_;
  bool started_ = false;
  std::vector<std::thread> threads_;  // last: they stop before the rest goes
};

SizeLookups::SizeLookups(std::function<void(const Block&)> back)
    : back_(std::move(back)),
      workers_(std::make_unique<Workers>()),
      filling_(std::make_unique<Block>()) {}

SizeLookups::~SizeLookups() = default;

void SizeLookups::Add(QByteArrayView directory, QByteArrayView name) {
  Block& block = *filling_;
  if (block.lines_.empty()) {
    block.bytes_.reserve(kBlockBytes);
    block.lines_.reserve(kBlockLines);
  }
  const qsizetype start = block.bytes_.size();
  block.bytes_.append(directory).append('/').append(name);
  block.lines_.push_back({start, start + directory.size(), block.bytes_.size()});
  if (block.lines_.size() == kBlockLines) Send(true);
}

void SizeLookups::Poll() {
  if (!filling_->lines_.empty()) Send(true);
  TakeBack(workers_->Out());
}

void SizeLookups::Drain() {
  if (!filling_->lines_.empty()) Send(false);
  TakeBack(0);
}

void SizeLookups::Send(bool more) {
  workers_->Send(std::move(filling_), more);
  if (spare_.empty()) {
    filling_ = std::make_unique<Block>();
  } else {
    filling_ = std::move(spare_.back());
    spare_.pop_back();
  }
  TakeBack(workers_->Enough());
}

void SizeLookups::TakeBack(size_t stillOut) {
  while (workers_->Out() > 0) {
    std::unique_ptr<Block> block = workers_->Receive(workers_->Out() > stillOut);
    if (!block) return;
    back_(*block);
    block->bytes_.resize(0);  // keeps its room for the next block
    block->lines_.clear();
    block->ready_ = false;
    spare_.push_back(std::move(block));
  }
}
