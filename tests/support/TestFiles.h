// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

// Writes a test file whole; a file that cannot be written fails the test.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  file.write(bytes);
}

// This process's open descriptors, to see that an operation leaves none behind.
inline int OpenDescriptors() { return int(QDir(QStringLiteral("/proc/self/fd")).count()); }

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Written and read by the raw bytes of the name, so names that are not UTF-8 exist on disk
// exactly as given.
inline bool WriteNative(const QByteArray& path, const QByteArray& data, mode_t mode = 0644) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  const bool ok = ::write(fd, data.constData(), size_t(data.size())) == data.size();
  return ::close(fd) == 0 && ok;
}

// The whole file, or "<missing>" when it cannot be opened.
inline QByteArray ReadNative(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "<missing>";
  QByteArray all;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) all.append(buf, n);
  ::close(fd);
  return all;
}
