// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DirectorySizes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DirectorySizes::~DirectorySizes() {
  if (fd_ >= 0) ::close(fd_);
}

void DirectorySizes::Enter(QByteArrayView directory) {
  if (entered_ && directory == directory_) return;
  if (fd_ >= 0) ::close(fd_);
  directory_ = directory.toByteArray();
  entered_ = true;
  // O_PATH needs no read right on the directory, only the search rights that stat needs too.
  fd_ = directory_.contains('\0') ? -1
                                  : ::open(directory_.isEmpty() ? "/" : directory_.constData(),
                                           O_PATH | O_DIRECTORY | O_CLOEXEC);
}

qint64 DirectorySizes::Size(QByteArrayView name) {
  if (fd_ < 0 || name.isEmpty() || name.contains('/') || name.contains('\0')) return -1;
  name_.assign(name.data(), size_t(name.size()));
  struct stat st;
  if (::fstatat(fd_, name_.c_str(), &st, 0) != 0) return -1;
  return qint64(st.st_size);
}
