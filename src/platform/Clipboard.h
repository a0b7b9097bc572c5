// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

void SetClipboardText(const QString& text);
// The text, and beside it the paths as a text/uri-list of file URLs with their exact bytes, so
// a paste into a file manager finds the files whatever their names' encoding.
void SetClipboardTextAndPaths(const QString& text, const QStringList& paths);
QString ClipboardText();
