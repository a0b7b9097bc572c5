// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MidiFile.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Tracks are read and checked in growing windows, so garbage is refused after one small read.
constexpr quint64 kFirstWindow = 64 * 1024;

quint32 ReadBig(const unsigned char* p, int bytes) {
  quint32 value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

enum class Walk { Bad, Short, Good };

// Walks the events of one track chunk, or of as much of it as has been read, and writes them out
// again with every status byte in place: the synthesizer's parser takes no running status after a
// meta or SysEx event, which files use.
class TrackReader {
 public:
  TrackReader(const QByteArray& read, bool whole)
      : p_(reinterpret_cast<const unsigned char*>(read.constData())),
        end_(p_ + read.size()),
        whole_(whole) {
    out_.reserve(read.size() + read.size() / 4);
  }

  // Short: well-formed so far, more of the track is needed to tell.
  Walk Check() {
    const bool formed = Events();
    if (formed && (ended_ || whole_)) return Walk::Good;
    return (formed || ranOut_) && !whole_ ? Walk::Short : Walk::Bad;
  }
  // After Good: the events as written out, the track's length in ticks and its tempo changes.
  const QByteArray& Written() const { return out_; }
  quint64 Ticks() const { return ticks_; }
  const std::vector<std::pair<quint64, quint32>>& Tempos() const { return tempos_; }

 private:
  bool Events() {
    int runningStatus = 0;
    while (p_ < end_) {
      const unsigned char* event = p_;
      quint32 delta;
      if (!ReadVarLength(delta) || !Has(1)) return false;
      ticks_ += delta;
      out_.append(reinterpret_cast<const char*>(event), p_ - event);
      int status = *p_;
      if (status >= 0x80) {
        ++p_;
      } else if (runningStatus == 0) {
        return false;
      } else {
        status = runningStatus;
      }
      out_.append(char(status));
      if (status == 0xFF) {
        if (!Has(1)) return false;
        const int type = *p_++;
        out_.append(char(type));
        const unsigned char* data = p_;
        if (!CopyLengthAndData()) return false;
        if (type == 0x51 && p_ - data == 4 && data[0] == 3)
          tempos_.emplace_back(ticks_, ReadBig(data + 1, 3));
        if (type == 0x2F) return ended_ = true;  // end of track
      } else if (status == 0xF0 || status == 0xF7) {
        if (!CopyLengthAndData()) return false;
      } else if (status > 0xF0) {
        return false;  // system common and real-time messages have no place in a file
      } else {
        runningStatus = status;
        const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        for (int i = 0; i < dataBytes; ++i) {
          if (!Has(1) || *p_ >= 0x80) return false;
          out_.append(char(*p_++));
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

  bool CopyLengthAndData() {
    const unsigned char* from = p_;
    quint32 length;
    if (!ReadVarLength(length) || !Has(length)) return false;
    p_ += length;
    out_.append(reinterpret_cast<const char*>(from), p_ - from);
    return true;
  }

  const unsigned char* p_;
  const unsigned char* end_;
  const bool whole_;
  bool ended_ = false;
  bool ranOut_ = false;
  QByteArray out_;
  quint64 ticks_ = 0;
  std::vector<std::pair<quint64, quint32>> tempos_;
};

// Seconds of ticks under the tempo changes (tick, microseconds per quarter note) of all tracks.
double Seconds(quint64 ticks, quint32 division, std::vector<std::pair<quint64, quint32>> tempos) {
  if (division & 0x8000) {  // frames per second and ticks per frame
    const int fps = -qint8(division >> 8);
    return double(ticks) / ((fps == 29 ? 29.97 : fps) * double(division & 0xFF));
  }
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  double seconds = 0;
  quint64 at = 0;
  quint32 tempo = 500000;  // 120 beats a minute until told otherwise
  for (const auto& [tick, value] : tempos) {
    if (tick >= ticks) break;
    seconds += double(tick - at) * tempo / 1e6 / division;
    at = tick;
    tempo = value;
  }
  return seconds + double(ticks - at) * tempo / 1e6 / division;
}

bool PrintableChunkId(const unsigned char* id) {
  for (int i = 0; i < 4; ++i)
    if (id[i] < 0x20 || id[i] > 0x7E) return false;
  return true;
}

// Appends the track of length bytes at offset to smf, written out again, when it is well-formed;
// a track that ends early is cut after its end. Notes the track's ticks and tempo changes.
bool AppendTrack(const ReadAt& readAt, quint64 offset, quint64 length, QByteArray& smf,
                 MidiFacts& facts, std::vector<std::pair<quint64, quint32>>& tempos) {
  QByteArray track;
  for (quint64 window = std::min(length, kFirstWindow);; window = std::min(length, window * 2)) {
    const qsizetype had = track.size();
    track.resize(qsizetype(window));
    if (!readAt(qint64(offset + had), track.data() + had, qint64(window) - had)) return false;
    TrackReader reader(track, window == length);
    const Walk walk = reader.Check();
    if (walk == Walk::Bad) return false;
    if (walk == Walk::Short) continue;
    char header[8] = {'M', 'T', 'r', 'k'};
    qToBigEndian(quint32(reader.Written().size()), header + 4);
    smf.append(header, 8).append(reader.Written());
    facts.ticks = std::max(facts.ticks, reader.Ticks());
    tempos.insert(tempos.end(), reader.Tempos().begin(), reader.Tempos().end());
    return true;
  }
}

}  // namespace

QByteArray ReadWellFormedMidi(const ReadAt& readAt, qint64 size, MidiFacts* facts) {
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
  MidiFacts found{int(tracks), 0, 0};
  std::vector<std::pair<quint64, quint32>> tempos;
  for (quint32 read = 0; read < tracks;) {
    unsigned char chunk[8];
    if (pos + 8 > end || !readAt(qint64(pos), reinterpret_cast<char*>(chunk), 8)) return {};
    const quint64 length = ReadBig(chunk + 4, 4);
    if (pos + 8 + length > end) return {};
    if (std::memcmp(chunk, "MTrk", 4) == 0) {
      if (!AppendTrack(readAt, pos + 8, length, smf, found, tempos)) return {};
      ++read;
    } else if (!PrintableChunkId(chunk)) {
      return {};
    }
    pos += 8 + length;
  }
  found.seconds = Seconds(found.ticks, division, std::move(tempos));
  if (facts) *facts = found;
  return smf;
}

bool FindRmidData(const ReadAt& readAt, qint64 size, qint64& offset, qint64& length) {
  unsigned char chunk[12];
  if (size < 20 || !readAt(0, reinterpret_cast<char*>(chunk), 12) ||
      std::memcmp(chunk, "RIFF", 4) != 0 || std::memcmp(chunk + 8, "RMID", 4) != 0)
    return false;
  for (qint64 pos = 12; pos + 8 <= size;) {
    if (!readAt(pos, reinterpret_cast<char*>(chunk), 8)) return false;
    const qint64 bytes = qFromLittleEndian<quint32>(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      offset = pos + 8;
      length = std::min(bytes, size - offset);  // a cut file keeps what it holds
      return true;
    }
    pos += 8 + bytes + (bytes & 1);
  }
  return false;
}
