// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch directory per run, removed by its bytes: names that are not UTF-8 must go too. It
// lives in memory where it can: the code under test syncs what it saves.
#include <ftw.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

class ScratchDir {
 public:
  ScratchDir() {
    static const QByteArray base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    QByteArray pattern = base + "/plinkbox-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~ScratchDir() {
    nftw(
        path_.constData(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); },
        16, FTW_DEPTH | FTW_PHYS);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const QByteArray& Path() const { return path_; }

 private:
  QByteArray path_;
};
