// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MidiFile.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Tracks are read and checked in growing windows, so garbage is refused after one small read.
constexpr quint64 kFirstWindow = 64 * 1024;

quint32 ReadBig(const unsigned char* p, int bytes) {
  quint32 value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

enum class Walk { Bad, Short, Good };

// Walks the events of one track chunk, or of as much of it as has been read.
class TrackReader {
 public:
  TrackReader(const QByteArray& read, bool whole)
      : p_(reinterpret_cast<const unsigned char*>(read.constData())), end_(p_ + read.size()),
        whole_(whole) {}

  // Short: well-formed so far, more of the track is needed to tell.
  Walk Check() {
    const bool formed = Events();
    if (formed && (ended_ || whole_)) return Walk::Good;
    return (formed || ranOut_) && !whole_ ? Walk::Short : Walk::Bad;
  }

 private:
  bool Events() {
    int runningStatus = 0;
    while (p_ < end_) {
      quint32 delta;
      if (!ReadVarLength(delta) || !Has(1)) return false;
      int status = *p_;
      if (status >= 0x80) {
        ++p_;
      } else if (runningStatus == 0) {
        return false;
      } else {
        status = runningStatus;
      }
      if (status == 0xFF) {
        if (!Has(1)) return false;
        const int type = *p_++;
        if (!SkipLengthAndData()) return false;
        if (type == 0x2F) return ended_ = true;  // end of track
      } else if (status == 0xF0 || status == 0xF7) {
        if (!SkipLengthAndData()) return false;
        runningStatus = 0;
      } else if (status > 0xF0) {
        return false;  // system common and real-time messages have no place in a file
      } else {
        runningStatus = status;
        const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        for (int i = 0; i < dataBytes; ++i) {
          if (!Has(1) || *p_ >= 0x80) return false;
          ++p_;
        }
      }
    }
    return true;
  }

  bool Has(quint64 bytes) {
    if (quint64(end_ - p_) >= bytes) return true;
    ranOut_ = true;
    return false;
  }

  bool ReadVarLength(quint32& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (!Has(1)) return false;
      const unsigned char byte = *p_++;
      value = (value << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) return true;
    }
    return false;
  }

  bool SkipLengthAndData() {
    quint32 length;
    if (!ReadVarLength(length) || !Has(length)) return false;
    p_ += length;
    return true;
  }

  const unsigned char* p_;
  const unsigned char* end_;
  const bool whole_;
  bool ended_ = false;
  bool ranOut_ = false;
};

bool PrintableChunkId(const unsigned char* id) {
  for (int i = 0; i < 4; ++i)
    if (id[i] < 0x20 || id[i] > 0x7E) return false;
  return true;
}

// Appends the track of length bytes at offset to smf when it is well-formed. A track that ends
// early is cut after the window that holds its end.
bool AppendTrack(const ReadAt& readAt, quint64 offset, quint64 length, QByteArray& smf) {
  QByteArray track;
  for (quint64 window = std::min(length, kFirstWindow);; window = std::min(length, window * 2)) {
    const qsizetype had = track.size();
    track.resize(qsizetype(window));
    if (!readAt(qint64(offset + had), track.data() + had, qint64(window) - had)) return false;
    const Walk walk = TrackReader(track, window == length).Check();
    if (walk == Walk::Bad) return false;
    if (walk == Walk::Good) break;
  }
  char header[8] = {'M', 'T', 'r', 'k'};
  qToBigEndian(quint32(track.size()), header + 4);
  smf.append(header, 8).append(track);
  return true;
}

}  // namespace

QByteArray ReadWellFormedMidi(const ReadAt& readAt, qint64 size) {
  unsigned char head[14];
  if (size < 14 || !readAt(0, reinterpret_cast<char*>(head), 14) ||
      std::memcmp(head, "MThd", 4) != 0)
    return {};
  const quint32 headerLength = ReadBig(head + 4, 4);
  const quint32 format = ReadBig(head + 8, 2);
  const quint32 tracks = ReadBig(head + 10, 2);
  const quint32 division = ReadBig(head + 12, 2);
  if (headerLength < 6 || format > 2 || tracks == 0 || division == 0) return {};
  QByteArray smf(reinterpret_cast<const char*>(head), 14);
  qToBigEndian(quint32(6), smf.data() + 4);  // the player reads no longer header
  const quint64 end = quint64(size);
  quint64 pos = 8 + quint64(headerLength);
  for (quint32 found = 0; found < tracks;) {
    unsigned char chunk[8];
    if (pos + 8 > end || !readAt(qint64(pos), reinterpret_cast<char*>(chunk), 8)) return {};
    const quint64 length = ReadBig(chunk + 4, 4);
    if (pos + 8 + length > end) return {};
    if (std::memcmp(chunk, "MTrk", 4) == 0) {
      if (!AppendTrack(readAt, pos + 8, length, smf)) return {};
      ++found;
    } else if (!PrintableChunkId(chunk)) {
      return {};
    }
    pos += 8 + length;
  }
  return smf;
}
