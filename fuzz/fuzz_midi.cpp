// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI check on any bytes: ASan watches every read; what it accepts is itself well-formed
// and comes back unchanged, and it grows by no more than the status bytes it writes out (one per
// event of at least two bytes).
#include <cstring>

#include "FuzzInput.h"
#include "platform/MidiFile.h"

namespace {

QByteArray Check(const QByteArray& bytes) {
  return ReadWellFormedMidi(
      [&bytes](qint64 offset, char* into, qint64 length) {
        FUZZ_CHECK(offset >= 0 && length >= 0);
        if (offset > bytes.size() || length > bytes.size() - offset) return false;
        std::memcpy(into, bytes.constData() + offset, size_t(length));
        return true;
      },
      bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input, so reading past it is caught.
  const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
  const QByteArray smf = Check(file);
  if (smf.isEmpty()) return 0;
  FUZZ_CHECK(smf.size() <= file.size() + file.size() / 2);
  FUZZ_CHECK(smf.startsWith(QByteArrayLiteral("MThd\0\0\0\x06")));
  FUZZ_CHECK(Check(smf) == smf);
  return 0;
}
