// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <memory>
#include <vector>

// Sizes of many files, looked up on worker threads a block of files at a time, each thread
// relative to the files' directory (DirectorySizes): a look-up is mostly the kernel's work, and
// spreads over the cores while the caller goes on. Files go in one by one; the blocks come back
// in the order the files went in, to the function given, on the caller's thread. The threads
// start with the first block that has more behind it: a lone block, as a short list has, is
// looked up by the caller itself, as is every block when no thread can be had.
class SizeLookups {
 public:
  // Files with their sizes once looked up: directory and name as native bytes.
  class Block {
   public:
    size_t Count() const { return lines_.size(); }
    QByteArrayView Directory(size_t i) const;
    QByteArrayView Name(size_t i) const;
    qint64 Size(size_t i) const { return sizes_[i]; }  // -1: missing or not to be inspected

   private:
    friend class SizeLookups;
    struct Line {
      qsizetype start;
      qsizetype cut;  // of the "/" between directory and name
      qsizetype end;
    };
    QByteArray bytes_;
    std::vector<Line> lines_;
    std::vector<qint64> sizes_;
    bool ready_ = false;  // looked up; under the workers' lock
  };

  explicit SizeLookups(std::function<void(const Block&)> back);
  ~SizeLookups();
  SizeLookups(const SizeLookups&) = delete;
  SizeLookups& operator=(const SizeLookups&) = delete;

  // directory "" is the root.
  void Add(QByteArrayView directory, QByteArrayView name);
  // Sends the files added so far on and hands back the blocks done, without waiting.
  void Poll();
  // Hands back every file added so far, waiting for the workers where needed.
  void Drain();

 private:
  class Workers;
  // Hands the filling block, with more files behind it or not, to the workers.
  void Send(bool more);
  // Hands back the blocks done, in order, waiting while more than stillOut are out.
  void TakeBack(size_t stillOut);

  std::function<void(const Block&)> back_;
  std::unique_ptr<Workers> workers_;
  std::unique_ptr<Block> filling_;
  std::vector<std::unique_ptr<Block>> spare_;  // handed back, to be filled again
};
