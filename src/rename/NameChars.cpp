// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/NameChars.h"

#include <QList>

#include "platform/Encoding.h"
#include "platform/NativePath.h"

namespace {

int Utf8Length(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

// Bytes of the GB18030 character starting at s[i]: one, two, or four (second byte a digit).
qsizetype Gb18030Length(const QByteArray& s, qsizetype i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= s.size()) return 1;
  const auto second = static_cast<unsigned char>(s[i + 1]);
  return second >= 0x30 && second <= 0x39 && i + 3 < s.size() ? 4 : 2;
}

}  // namespace

NameChars::NameChars(const QString& text) : bytes_(ToNativePath(text)) {
  if (!HasEscapedBytes(text) || !CutAsGb18030()) CutAsUtf8(text);
}

bool NameChars::CutAsGb18030() {
  const std::optional<QString> decoded = DecodeGb18030Exactly(bytes_);
  if (!decoded) return false;
  const QList<uint> codes = decoded->toUcs4();
  for (qsizetype i = 0; i < bytes_.size();) {
    i += Gb18030Length(bytes_, i);
    ends_.push_back(i);
  }
  // Each GB18030 character decodes to one code point; anything else is cut as UTF-8.
  if (qsizetype(ends_.size()) != codes.size()) {
    ends_.clear();
    return false;
  }
  shown_.assign(codes.begin(), codes.end());
  return true;
}

void NameChars::CutAsUtf8(const QString& text) {
  const qsizetype n = text.size();
  ends_.reserve(size_t(n));
  shown_.reserve(size_t(n));
  qsizetype end = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = text[i].unicode();
    char32_t cp = u;
    int length;
    if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(u, text[++i].unicode());
      length = 4;
    } else if (u >= 0xDC80 && u <= 0xDCFF) {
      length = 1;  // an escaped byte
    } else {
      // A lone surrogate that no file name produced becomes U+FFFD, three bytes.
      length = QChar::isSurrogate(u) ? 3 : Utf8Length(cp);
    }
    end += length;
    ends_.push_back(end);
    shown_.push_back(cp);
  }
}

QByteArrayView NameChars::Left(qint64 k) const {
  if (k <= 0) return {};
  return QByteArrayView(bytes_).first(k >= Count() ? bytes_.size() : ends_[size_t(k - 1)]);
}

QByteArrayView NameChars::Right(qint64 k) const {
  if (k <= 0) return {};
  return QByteArrayView(bytes_).sliced(k >= Count() ? 0 : Start(Count() - k));
}

QByteArrayView NameChars::At(qint64 i) const {
  return QByteArrayView(bytes_).sliced(Start(i), ends_[size_t(i)] - Start(i));
}
