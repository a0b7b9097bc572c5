// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConflictFreeName.h"

#include "platform/Files.h"
#include "text/PathParts.h"

QString ConflictFreeTargetName(const QString& directory, const QString& fileName, bool smartRename,
                               const QString& sourcePath) {
  if (!smartRename) return fileName;
  const QString target = JoinPath(directory, fileName);
  // Without following links: a copy or move cannot take a name a dangling link holds.
  if (!Files::NameTaken(target)) return fileName;
  if (!sourcePath.isEmpty() && Files::SameFile(sourcePath, target)) return fileName;
  // Numbers grow until a name is free; a name too long for the file system reports "free" and
  // the move or copy then fails, so the loop always ends.
  for (int number = 1;; ++number) {
    const QString candidate = SmartRenameName(fileName, number);
    if (!Files::NameTaken(JoinPath(directory, candidate))) return candidate;
  }
}

QString TakeConflictFreeName(const QString& directory, const QString& fileName,
                             const QString& sourcePath, const TakeName& take) {
  bool taken = false;
  // A move tries the name itself without looking first: take refuses it when it is taken, and
  // succeeds when the target is the source. A copy onto its source must take a numbered name,
  // so it looks first.
  if (!sourcePath.isEmpty()) {
    if (take(JoinPath(directory, fileName), &taken)) return fileName;
    if (!taken) return QString();
  }
  // Bounded, should other programs keep taking the names as fast as they are found free.
  constexpr int kAttempts = 10;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const QString name = ConflictFreeTargetName(directory, fileName, true, sourcePath);
    taken = false;
    if (take(JoinPath(directory, name), &taken)) return name;
    // Any other failure would only repeat on the next name, or left a copy behind that must
    // not be made again.
    if (!taken) break;
  }
  return QString();
}
