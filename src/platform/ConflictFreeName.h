// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>

// The caller protocol of a move or copy into directory: the source name when smart renaming is
// off or the name is free; otherwise the first of _1, _2, _3 ... that is free. sourcePath names
// the file being moved: a target that is that file itself is no clash (the move changes nothing).
// Any entry takes a name, a dangling symbolic link too.
QString ConflictFreeTargetName(const QString& directory, const QString& fileName, bool smartRename,
                               const QString& sourcePath = QString());

// A smart move or copy into directory: take(targetPath, &taken) is tried on
// ConflictFreeTargetName's name. take never replaces a file; when it fails because the name was
// taken meanwhile (it sets taken), the next free name is tried. With a sourcePath (a move) the
// file's own name is tried first, and take must succeed when the target is the source itself.
// Returns the name taken, empty when take failed otherwise.
using TakeName = std::function<bool(const QString& targetPath, bool* taken)>;
QString TakeConflictFreeName(const QString& directory, const QString& fileName,
                             const QString& sourcePath, const TakeName& take);
