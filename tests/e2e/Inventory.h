// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What lies under a directory, entry by entry, to compare before and after a command.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Relative path (as the program holds paths) -> "dir", "link", "special" (FIFO, device) or
// "size:checksum" for a file. Walked by file descriptors, so depth beyond PATH_MAX and names
// that are not UTF-8 are taken in; a FIFO is never opened.
using Inventory = QMap<QString, QString>;
Inventory TakeInventory(const QString& root);

// A file's checksum as the inventory gives it (for content written by a test).
QString ContentValue(const QByteArray& content);

// before with the changes applied: "-x" x is gone, "x>y" x moved to y, "x+y" x copied to y,
// "x=text" x holds text (new or changed). Paths relative to the root.
Inventory ApplyChanges(Inventory before, const QStringList& changes);
// Where the first ">", "+" or "=" of a change stands, -1 when none.
qsizetype ChangeOperator(const QString& change);

// The entries that differ, one line each ("- x", "+ x", "~ x"), long paths shortened: a readable
// failure instead of two maps.
QStringList Differences(const Inventory& expected, const Inventory& actual);
