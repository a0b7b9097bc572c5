// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

class QUrl;

// File names on Linux are bytes. Valid UTF-8 decodes as usual; every byte that is not part of
// valid UTF-8 becomes the lone surrogate U+DC00 + byte, and goes back to that same byte, so a
// name that is not UTF-8 survives the round trip through QString unchanged.
QByteArray ToNativePath(const QString& path);
QString FromNativePath(const QByteArray& bytes);
// ToNativePath appended to out, which keeps its capacity from call to call.
void AppendNativePath(QByteArray& out, QStringView path);

// Whether the text holds escaped bytes, that is, came from a name that is not UTF-8.
bool HasEscapedBytes(QStringView text);
// The text a name or path shows. Without escaped bytes it is the name itself. Otherwise each
// "/"-separated part whose bytes are GB18030 (GBK names from Windows disks) shows decoded, and
// in any other part each escaped byte shows as U+FFFD. For showing and matching only: the name
// keeps its bytes.
QString DisplayName(const QString& name);
// The bytes a name or path sorts by: a "/"-separated part with escaped bytes by its own bytes
// (so a GBK name sorts among the Chinese names), any other part by its GB18030 encoding.
QByteArray NameSortBytes(const QString& name);
// "file://" and the path's bytes percent-encoded ("/" kept): a URL that names exactly the file.
QByteArray FileUrlBytes(const QString& path);
// The path of a local file URL from its percent-encoded bytes (QUrl::toLocalFile reads them as
// UTF-8 and loses any other byte); "" when the URL is not a local file.
QString PathFromFileUrl(const QUrl& url);
