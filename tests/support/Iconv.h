// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iconv.h>
#include <QByteArray>
#include <QString>

// The text in another encoding ("GBK", "GB18030"), done by iconv as a reference independent of
// the program's own conversions.
inline QByteArray EncodeAs(const char* encoding, const QString& text) {
  iconv_t cd = iconv_open(encoding, "UTF-16LE");
  QByteArray in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  QByteArray out(text.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = static_cast<size_t>(in.size());
  char* outPtr = out.data();
  size_t outLeft = static_cast<size_t>(out.size());
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.truncate(out.size() - static_cast<qsizetype>(outLeft));
  return out;
}
