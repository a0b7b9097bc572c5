// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

class SoundList;

// The list file: one full path per line, UTF-8, written whole and atomically. A path that cannot
// stand on one line (it holds a line break or ends in CR) is written as a file:// URL with its
// bytes percent-encoded; no absolute path starts with "file:". Reading accepts "\r\n" and "\n"
// and GBK files, resolves relative lines against the list file's own directory, and skips lines
// naming no existing file. Saving takes the long-job guard and writes nothing (false) while
// another job runs.
bool SaveListFile(const SoundList& list, const QString& filePath);
// Appends the files named in the file (clearing the list first when asked); returns rows added.
int LoadListFile(SoundList& list, const QString& filePath, bool clearFirst);
