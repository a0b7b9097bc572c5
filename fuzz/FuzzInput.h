// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the fuzz targets: cutting the input into fields and failing loudly.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/NativePath.h"

// A broken property is reported like a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

// Reads fixed-size numbers from the front and NUL-terminated fields after them; whatever is
// left once the input runs out reads as zero or empty.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size)
      : p_(reinterpret_cast<const char*>(data)), end_(p_ + size) {}

  template <typename T>
  T Number() {
    T value{};
    const size_t n = std::min(sizeof(T), size_t(end_ - p_));
    std::memcpy(&value, p_, n);
    p_ += n;
    return value;
  }

  // Bytes up to the next NUL (consumed) or the end.
  QByteArray Field() {
    const char* nul = static_cast<const char*>(std::memchr(p_, 0, size_t(end_ - p_)));
    const char* stop = nul ? nul : end_;
    QByteArray field(p_, stop - p_);
    p_ = nul ? nul + 1 : end_;
    return field;
  }
  // A field as a name read from the disk: bytes that are not UTF-8 become escapes.
  QString Text() { return FromNativePath(Field()); }
  QByteArray Rest() {
    QByteArray rest(p_, end_ - p_);
    p_ = end_;
    return rest;
  }
  bool AtEnd() const { return p_ == end_; }

 private:
  const char* p_;
  const char* end_;
};
