// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SettingsLock.h"

#include <QDir>

SettingsLock::SettingsLock(const QString& configDir)
    : file_(QDir(configDir).filePath(QStringLiteral("Plinkbox.lock"))) {
  // Held for the whole run: only a lock whose process is gone counts as stale, never an old one.
  file_.setStaleLockTime(0);
}

SettingsLock::Result SettingsLock::Take() {
  if (file_.tryLock(0)) return Result::kLocked;
  return file_.error() == QLockFile::LockFailedError ? Result::kHeld : Result::kUnwritable;
}
