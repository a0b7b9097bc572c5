#include "platform/MidiFile.h"

#include <cstring>

namespace {

quint32 ReadBig(const unsigned char* p, int bytes) {
  quint32 value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

// Walks the events of one track chunk.
class TrackReader {
 public:
  TrackReader(const unsigned char* data, quint32 length) : p_(data), end_(data + length) {}

  bool WellFormed() {
    int runningStatus = 0;
    while (p_ < end_) {
      quint32 delta;
      if (!ReadVarLength(delta) || p_ >= end_) return false;
      int status = *p_;
      if (status >= 0x80) {
        ++p_;
      } else if (runningStatus == 0) {
        return false;
      } else {
        status = runningStatus;
      }
      if (status == 0xFF) {
        if (p_ >= end_) return false;
        const int type = *p_++;
        if (!SkipLengthAndData()) return false;
        if (type == 0x2F) return true;  // end of track
      } else if (status == 0xF0 || status == 0xF7) {
        if (!SkipLengthAndData()) return false;
        runningStatus = 0;
      } else if (status > 0xF0) {
        return false;  // system common and real-time messages have no place in a file
      } else {
        runningStatus = status;
        const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        for (int i = 0; i < dataBytes; ++i) {
          if (p_ >= end_ || *p_ >= 0x80) return false;
          ++p_;
        }
      }
    }
    return true;
  }

 private:
  bool ReadVarLength(quint32& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (p_ >= end_) return false;
      const unsigned char byte = *p_++;
      value = (value << 7) | (byte & 0x7F);
      if (!(byte & 0x80)) return true;
    }
    return false;
  }

  bool SkipLengthAndData() {
    quint32 length;
    if (!ReadVarLength(length) || length > quint32(end_ - p_)) return false;
    p_ += length;
    return true;
  }

  const unsigned char* p_;
  const unsigned char* end_;
};

bool PrintableChunkId(const unsigned char* id) {
  for (int i = 0; i < 4; ++i)
    if (id[i] < 0x20 || id[i] > 0x7E) return false;
  return true;
}

}  // namespace

bool IsWellFormedMidi(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const quint64 size = quint64(bytes.size());
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
  const quint32 headerLength = ReadBig(data + 4, 4);
  const quint32 format = ReadBig(data + 8, 2);
  const quint32 tracks = ReadBig(data + 10, 2);
  const quint32 division = ReadBig(data + 12, 2);
  if (headerLength < 6 || format > 2 || tracks == 0 || division == 0) return false;
  quint64 pos = 8 + quint64(headerLength);
  quint32 found = 0;
  while (found < tracks) {
    if (pos + 8 > size) return false;
    const unsigned char* chunk = data + pos;
    const quint64 length = ReadBig(chunk + 4, 4);
    if (pos + 8 + length > size) return false;
    if (std::memcmp(chunk, "MTrk", 4) == 0) {
      if (!TrackReader(chunk + 8, quint32(length)).WellFormed()) return false;
      ++found;
    } else if (!PrintableChunkId(chunk)) {
      return false;
    }
    pos += 8 + length;
  }
  return true;
}
