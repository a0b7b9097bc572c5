// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>

#include <cerrno>
#include <utility>

#include "platform/NativePath.h"

// A regular file open for reading; closed with the object. Reads never block on a FIFO or a
// device, which are refused at open.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const QString& path) {
    if (path.isEmpty()) return;
    fd_ = ::open(ToNativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    missing_ = fd_ < 0 && (errno == ENOENT || errno == ENOTDIR);
    struct stat st;
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
      size_ = st.st_size;
    } else if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ReadOnlyFile(ReadOnlyFile&& other) noexcept
      : fd_(std::exchange(other.fd_, -1)), size_(other.size_), missing_(other.missing_) {}
  ReadOnlyFile& operator=(ReadOnlyFile&&) = delete;
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }

  bool IsOpen() const { return fd_ >= 0; }
  // Not open because nothing is there (an empty path included).
  bool Missing() const { return fd_ < 0 && missing_; }
  int Descriptor() const { return fd_; }
  qint64 Size() const { return size_; }

  // Bytes read at offset, fewer at the end of the file, -1 on an error.
  qint64 ReadSome(qint64 offset, char* into, qint64 length) const {
    qint64 got = 0;
    while (got < length) {
      const ssize_t n = ::pread(fd_, into + got, size_t(length - got), off_t(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      if (n == 0) break;
      got += n;
    }
    return got;
  }

  bool ReadAt(qint64 offset, char* into, qint64 length) const {
    return ReadSome(offset, into, length) == length;
  }

 private:
  int fd_ = -1;
  qint64 size_ = 0;
  bool missing_ = true;
};
