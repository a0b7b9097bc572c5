// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Encoding.h"

#include <iconv.h>

#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Decodes GB18030 (a superset of GBK, identical for every GBK byte pair). A byte that starts no
// valid sequence becomes U+FFFD and decoding goes on after it; with exact set, it ends decoding
// with no text instead.
std::optional<QString> DecodeGb18030(const QByteArray& bytes, bool exact) {
  iconv_t cd = iconv_open("UTF-16LE", "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (exact) return std::nullopt;
    return QString::fromLatin1(bytes);
  }
  QString text;
  text.reserve(bytes.size());
  std::vector<char> out(4096);
  char* in = const_cast<char*>(bytes.constData());
  size_t inLeft = static_cast<size_t>(bytes.size());
  while (inLeft > 0) {
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    text.append(reinterpret_cast<const QChar*>(out.data()),
                static_cast<qsizetype>((out.size() - outLeft) / 2));
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (exact) {
        iconv_close(cd);
        return std::nullopt;
      }
      // EILSEQ or EINVAL (a truncated sequence at the end): skip one byte.
      text.append(QChar(QChar::ReplacementCharacter));
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return text;
}

// GB18030 never starts with 0xFF: the few private-use code points that iconv cannot encode sort
// after every encoded character, and lone surrogates after those.
constexpr uint32_t kUnencodableKeyBase = 0xFF000000u;
constexpr uint32_t kSurrogateKeyBase = 0xFF010000u;

// Key of every BMP code point: its GB18030 bytes left-aligned in 32 bits, so comparing keys
// compares the bytes.
std::unique_ptr<std::array<uint32_t, 65536>> BuildBmpKeys() {
  auto keys = std::make_unique<std::array<uint32_t, 65536>>();
  for (uint32_t cp = 0; cp < 65536; ++cp)
    (*keys)[cp] = (cp >= 0xD800 && cp <= 0xDFFF ? kSurrogateKeyBase : kUnencodableKeyBase) | cp;
  iconv_t cd = iconv_open("GB18030", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return keys;
  for (uint32_t cp = 0; cp < 65536; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    char in[2] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    unsigned char out[8];
    char* inPtr = in;
    size_t inLeft = 2;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      continue;
    }
    const size_t length = sizeof out - outLeft;
    uint32_t key = 0;
    for (size_t i = 0; i < length && i < 4; ++i) key |= uint32_t(out[i]) << (24 - 8 * i);
    (*keys)[cp] = key;
  }
  iconv_close(cd);
  return keys;
}

const std::array<uint32_t, 65536>& BmpKeys() {
  static const std::unique_ptr<std::array<uint32_t, 65536>> keys = BuildBmpKeys();
  return *keys;
}

// GB18030 maps the supplementary planes linearly onto the four-byte codes from 0x90308130.
uint32_t SupplementaryKey(uint32_t cp) {
  const uint32_t i = cp - 0x10000;
  const uint32_t b4 = 0x30 + i % 10;
  const uint32_t b3 = 0x81 + (i / 10) % 126;
  const uint32_t b2 = 0x30 + (i / 1260) % 10;
  const uint32_t b1 = 0x90 + i / 12600;
  return b1 << 24 | b2 << 16 | b3 << 8 | b4;
}

// Key of the character at position i; advances i past it (two units for a surrogate pair).
uint32_t NextKey(QStringView text, qsizetype& i, const std::array<uint32_t, 65536>& keys) {
  const char16_t unit = text[i].unicode();
  ++i;
  if (QChar::isHighSurrogate(unit) && i < text.size() && QChar::isLowSurrogate(text[i].unicode())) {
    const char32_t cp = QChar::surrogateToUcs4(unit, text[i].unicode());
    ++i;
    return SupplementaryKey(cp);
  }
  return keys[unit];
}

// Bytes in a key: GB18030 codes are 1, 2 or 4 bytes long, and a 4-byte code has a digit as its
// second byte, which a 2-byte code never has. The keys of unencodable characters are 4 bytes.
int KeyLength(uint32_t key) {
  const uint32_t first = key >> 24;
  const uint32_t second = (key >> 16) & 0xFF;
  if (first < 0x80) return 1;
  return first == 0xFF || (second >= 0x30 && second <= 0x39) ? 4 : 2;
}

}  // namespace

bool IsValidUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    // Paths are mostly ASCII: eight bytes at a time while no byte has its high bit set.
    uint64_t word;
    while (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0)) p += 8;
    if (p == end) break;
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (end - p < length) return false;
    for (int k = 1; k < length; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      cp = cp << 6 | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and code points above U+10FFFF are not UTF-8.
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    p += length;
  }
  return true;
}

QString DecodeTextFile(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
  return *DecodeGb18030(bytes, false);
}

std::optional<QString> DecodeGb18030Exactly(const QByteArray& bytes) {
  return DecodeGb18030(bytes, true);
}

int CompareGb18030(QStringView a, QStringView b) {
  const auto& keys = BmpKeys();
  qsizetype i = 0;
  qsizetype j = 0;
  while (i < a.size() && j < b.size()) {
    const uint32_t ka = NextKey(a, i, keys);
    const uint32_t kb = NextKey(b, j, keys);
    if (ka != kb) return ka < kb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

QByteArray EncodeGb18030(QStringView text) {
  QByteArray bytes(text.size() * 4, Qt::Uninitialized);
  bytes.truncate(WriteGb18030(text, bytes.data()) - bytes.data());
  return bytes;
}

char* WriteGb18030(QStringView text, char* out) {
  const auto& keys = BmpKeys();
  for (qsizetype i = 0; i < text.size();) {
    if (text[i].unicode() < 0x80) {  // ASCII is its own code
      *out++ = static_cast<char>(text[i++].unicode());
      continue;
    }
    const uint32_t key = NextKey(text, i, keys);
    // All four bytes at once: a shorter code leaves the rest to be overwritten by the next.
    const uint32_t bigEndian = qToBigEndian(key);
    std::memcpy(out, &bigEndian, sizeof bigEndian);
    out += KeyLength(key);
  }
  return out;
}

int CompareGb18030(QStringView text, QByteArrayView bytes) {
  const auto& keys = BmpKeys();
  qsizetype j = 0;
  for (qsizetype i = 0; i < text.size();) {
    uint32_t key = NextKey(text, i, keys);
    for (int n = KeyLength(key); n > 0; --n, key <<= 8) {
      if (j == bytes.size()) return 1;
      const auto x = static_cast<unsigned char>(key >> 24);
      const auto y = static_cast<unsigned char>(bytes[j++]);
      if (x != y) return x < y ? -1 : 1;
    }
  }
  return j < bytes.size() ? -1 : 0;
}
