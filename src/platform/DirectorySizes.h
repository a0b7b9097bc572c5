// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <string>

// Sizes of files looked up one directory at a time. The directory is opened once and each name
// is looked up relative to it, so the kernel walks the directory's path once, not once per file:
// the list file's million rows come directory by directory.
class DirectorySizes {
 public:
  DirectorySizes() = default;
  ~DirectorySizes();
  DirectorySizes(const DirectorySizes&) = delete;
  DirectorySizes& operator=(const DirectorySizes&) = delete;

  // The directory whose files come next, as native bytes ("" is the root). Opening it again
  // costs nothing.
  void Enter(QByteArrayView directory);
  // The size of the named file (symbolic links followed) as stat gives it, -1 when it does not
  // exist, cannot be reached or the name is not a plain name.
  qint64 Size(QByteArrayView name);

 private:
  int fd_ = -1;
  QByteArray directory_;
  bool entered_ = false;
  std::string name_;  // the name with its terminating NUL
};
