// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessArguments.h"

#include <unistd.h>

#include <QByteArray>
#include <cerrno>

#include "platform/NativePath.h"

QStringList NativeArguments(int argc, const char* const* argv) {
  QStringList arguments;
  arguments.reserve(argc);
  for (int i = 0; i < argc; ++i) arguments << FromNativePath(QByteArray(argv[i]));
  return arguments;
}

QString CurrentDirectory() {
  QByteArray buffer(4096, Qt::Uninitialized);
  while (!::getcwd(buffer.data(), static_cast<size_t>(buffer.size()))) {
    if (errno != ERANGE) return QString();
    buffer.resize(buffer.size() * 2);
  }
  return FromNativePath(QByteArray(buffer.constData()));
}
