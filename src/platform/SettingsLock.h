// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLockFile>
#include <QString>

// Keeps a second process off one settings directory's files while this one runs, also where no
// session bus hands a later start over. A lock left by a process that has gone is taken over.
class SettingsLock {
 public:
  enum class Result {
    kLocked,      // this process holds the lock until it ends
    kHeld,        // a running process holds it
    kUnwritable,  // the directory takes no files: nothing can be written there by anyone
  };

  explicit SettingsLock(const QString& configDir);
  Result Take();

 private:
  QLockFile file_;
};
