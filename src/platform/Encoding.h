// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Text of a file that may be UTF-8 (with or without BOM) or, when it is not valid UTF-8, GBK.
QString DecodeTextFile(const QByteArray& bytes);
bool IsValidUtf8(QByteArrayView bytes);
// The text of GB18030 bytes (GBK is a part of it); none when some byte starts no valid sequence.
std::optional<QString> DecodeGb18030Exactly(const QByteArray& bytes);

// Compares two texts in the byte order of their GB18030 encoding (digits < capitals < small
// letters < Chinese characters in GBK order): <0, 0 or >0.
int CompareGb18030(QStringView a, QStringView b);
// The GB18030 bytes of a text; a character that GB18030 cannot encode (lone surrogates, a few
// private-use code points) gives 4 bytes starting with 0xFF, which no GB18030 code starts with.
QByteArray EncodeGb18030(QStringView text);
// Writes the bytes EncodeGb18030 gives at out, which has room for 4 bytes per UTF-16 unit of
// text, and returns the end of what it wrote: for a buffer that many texts share.
char* WriteGb18030(QStringView text, char* out);
// The text's GB18030 bytes (as EncodeGb18030) against bytes: <0, 0 or >0.
int CompareGb18030(QStringView text, QByteArrayView bytes);
