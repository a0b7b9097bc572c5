// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NativePath.h"

#include <QUrl>
#include <algorithm>

#include "platform/Encoding.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscape(QChar c) {
  return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

// Joins what part() makes of each "/"-separated part of path with "/". No GB18030 code holds the
// byte "/", so a part is decoded or compared on its own.
template <typename Result, typename PartFunction>
Result JoinParts(QStringView path, PartFunction part) {
  Result joined;
  for (qsizetype start = 0;;) {
    const qsizetype slash = path.indexOf(u'/', start);
    const qsizetype end = slash < 0 ? path.size() : slash;
    joined += part(path.sliced(start, end - start));
    if (slash < 0) return joined;
    joined += '/';
    start = slash + 1;
  }
}

QString DisplayPart(QStringView part) {
  if (!HasEscapedBytes(part)) return part.toString();
  // The whole part is decoded: a GBK pair may also be valid UTF-8 and carry no escape.
  if (std::optional<QString> decoded = DecodeGb18030Exactly(ToNativePath(part.toString())))
    return *decoded;
  QString shown = part.toString();
  std::replace_if(shown.begin(), shown.end(), IsEscape, QChar(QChar::ReplacementCharacter));
  return shown;
}

QByteArray SortPart(QStringView part) {
  return HasEscapedBytes(part) ? ToNativePath(part.toString()) : EncodeGb18030(part);
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at bytes[i], 0 when the byte there does not start one.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
int ValidSequenceLength(const unsigned char* s, qsizetype left) {
  const unsigned char c = s[0];
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return left >= 2 && IsContinuation(s[1]) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (left < 3 || !IsContinuation(s[1]) || !IsContinuation(s[2])) return 0;
    if (c == 0xE0 && s[1] < 0xA0) return 0;
    if (c == 0xED && s[1] > 0x9F) return 0;
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (left < 4 || !IsContinuation(s[1]) || !IsContinuation(s[2]) || !IsContinuation(s[3]))
      return 0;
    if (c == 0xF0 && s[1] < 0x90) return 0;
    if (c == 0xF4 && s[1] > 0x8F) return 0;
    return 4;
  }
  return 0;
}

// Writes the code point's UTF-8 at p; the end of what was written.
char* PutUtf8(char* p, char32_t cp) {
  if (cp < 0x80) {
    *p++ = char(cp);
  } else if (cp < 0x800) {
    *p++ = char(0xC0 | (cp >> 6));
    *p++ = char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *p++ = char(0xE0 | (cp >> 12));
    *p++ = char(0x80 | ((cp >> 6) & 0x3F));
    *p++ = char(0x80 | (cp & 0x3F));
  } else {
    *p++ = char(0xF0 | (cp >> 18));
    *p++ = char(0x80 | ((cp >> 12) & 0x3F));
    *p++ = char(0x80 | ((cp >> 6) & 0x3F));
    *p++ = char(0x80 | (cp & 0x3F));
  }
  return p;
}

}  // namespace

QByteArray ToNativePath(const QString& path) {
  const char16_t* s = reinterpret_cast<const char16_t*>(path.constData());
  const qsizetype n = path.size();
  bool plain = true;
  for (qsizetype i = 0; i < n && plain; ++i) plain = !QChar::isSurrogate(s[i]);
  if (plain) return path.toUtf8();
  QByteArray out;
  AppendNativePath(out, path);
  return out;
}

void AppendNativePath(QByteArray& out, QStringView path) {
  const char16_t* s = path.utf16();
  const qsizetype n = path.size();
  const qsizetype at = out.size();
  out.resize(at + n * 3);  // no UTF-16 unit takes more than 3 bytes
  char* p = out.data() + at;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = s[i];
    if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
      p = PutUtf8(p, QChar::surrogateToUcs4(u, s[i + 1]));
      ++i;
    } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
      *p++ = char(u - kEscapeBase);
    } else if (QChar::isSurrogate(u)) {
      // A lone surrogate that no file name produced: it has no bytes of its own.
      p = PutUtf8(p, QChar::ReplacementCharacter);
    } else {
      p = PutUtf8(p, u);
    }
  }
  out.resize(p - out.constData());
}

QString FromNativePath(const QByteArray& bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n && s[i] < 0x80) ++i;
  if (i == n) return QString::fromLatin1(bytes);

  QString out;
  out.reserve(n);
  out.append(QLatin1StringView(bytes.constData(), i));
  while (i < n) {
    const int len = ValidSequenceLength(s + i, n - i);
    if (len == 0) {
      out.append(QChar(char16_t(kEscapeBase + s[i])));
      ++i;
      continue;
    }
    char32_t cp;
    switch (len) {
      case 1:
        cp = s[i];
        break;
      case 2:
        cp = (char32_t(s[i] & 0x1F) << 6) | (s[i + 1] & 0x3F);
        break;
      case 3:
        cp = (char32_t(s[i] & 0x0F) << 12) | (char32_t(s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
        break;
      default:
        cp = (char32_t(s[i] & 0x07) << 18) | (char32_t(s[i + 1] & 0x3F) << 12) |
             (char32_t(s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
        break;
    }
    if (cp >= 0x10000) {
      out.append(QChar(QChar::highSurrogate(cp)));
      out.append(QChar(QChar::lowSurrogate(cp)));
    } else {
      out.append(QChar(char16_t(cp)));
    }
    i += len;
  }
  return out;
}

bool HasEscapedBytes(QStringView text) { return std::any_of(text.begin(), text.end(), IsEscape); }

QString DisplayName(const QString& name) {
  return HasEscapedBytes(name) ? JoinParts<QString>(name, DisplayPart) : name;
}

QByteArray NameSortBytes(const QString& name) { return JoinParts<QByteArray>(name, SortPart); }

QByteArray FileUrlBytes(const QString& path) {
  return "file://" + ToNativePath(path).toPercentEncoding("/");
}

QString PathFromFileUrl(const QUrl& url) {
  if (!url.isLocalFile()) return QString();
  const QString host = url.host(QUrl::FullyEncoded);
  const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  // As QUrl::toLocalFile: a host names a network share.
  return host.isEmpty() ? FromNativePath(path) : QStringLiteral("//") + host + FromNativePath(path);
}
