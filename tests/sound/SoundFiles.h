// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sndfile.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <vector>

// Sound files made on the spot for tests and measurements.
namespace SoundFiles {

inline QByteArray LittleEndian(quint32 value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
  return out;
}

// A RIFF chunk, padded to an even size.
inline QByteArray Chunk(const char* id, const QByteArray& body, quint32 length) {
  return id + LittleEndian(length, 4) + body + QByteArray(body.size() % 2, '\0');
}
inline QByteArray Chunk(const char* id, const QByteArray& body) {
  return Chunk(id, body, quint32(body.size()));
}

inline QByteArray Riff(const QByteArray& chunks) {
  return "RIFF" + LittleEndian(quint32(4 + chunks.size()), 4) + "WAVE" + chunks;
}

inline QByteArray Format(int code, int channels, int sampleRate, int blockAlign, int bits,
                         const QByteArray& extra = {}) {
  return LittleEndian(quint32(code), 2) + LittleEndian(quint32(channels), 2) +
         LittleEndian(quint32(sampleRate), 4) + LittleEndian(quint32(sampleRate * blockAlign), 4) +
         LittleEndian(quint32(blockAlign), 2) + LittleEndian(quint32(bits), 2) + extra;
}

// 16-bit samples of a sine of the given frequency at half amplitude.
inline QByteArray Tone(int sampleRate, double seconds, double frequency = 441.0, int channels = 1) {
  const int frames = int(std::lround(sampleRate * seconds));
  QByteArray samples;
  samples.reserve(frames * channels * 2);
  for (int i = 0; i < frames; ++i) {
    const auto value =
        qint16(std::lround(16000.0 * std::sin(2 * M_PI * frequency * i / sampleRate)));
    for (int c = 0; c < channels; ++c) samples.append(LittleEndian(quint16(value), 2));
  }
  return samples;
}

// 16-bit PCM WAV holding a sine of the given frequency at half amplitude.
inline QByteArray Wave(int sampleRate, double seconds, double frequency = 441.0, int channels = 1) {
  return Riff(Chunk("fmt ", Format(1, channels, sampleRate, channels * 2, 16)) +
              Chunk("data", Tone(sampleRate, seconds, frequency, channels)));
}

// Mono 44.1 kHz IMA ADPCM WAV of loud blocks, about the given length.
inline QByteArray ImaAdpcmWave(double seconds) {
  const int blockAlign = 256, samplesPerBlock = 505;
  QByteArray data;
  for (int i = 0; i < int(44100 * seconds) / samplesPerBlock; ++i)
    data += QByteArray::fromHex("00002800") + QByteArray(blockAlign - 4, '\x7F');
  QByteArray format =
      Format(0x11, 1, 44100, blockAlign, 4, LittleEndian(2, 2) + LittleEndian(samplesPerBlock, 2));
  return Riff(Chunk("fmt ", format) + Chunk("data", data));
}

inline QByteArray BigEndian(quint32 value, int bytes) {
  QByteArray out;
  for (int i = bytes - 1; i >= 0; --i) out.append(char((value >> (8 * i)) & 0xFF));
  return out;
}

// A standard MIDI file (format 0, 480 ticks per quarter at 120 bpm) with one piano note of the
// given length in ticks (480 = 0.5 s), after the given events.
inline QByteArray Midi(int ticks = 240, const QByteArray& before = {}) {
  QByteArray track = before;
  track += QByteArray::fromHex("00c000");    // program 0
  track += QByteArray::fromHex("00904564");  // note on A4
  if (ticks >= 128) track += char(0x80 | (ticks >> 7));
  track += char(ticks & 0x7F);
  track += QByteArray::fromHex("804540");    // note off
  track += QByteArray::fromHex("00ff2f00");  // end of track
  return "MThd" + BigEndian(6, 4) + BigEndian(0, 2) + BigEndian(1, 2) + BigEndian(480, 2) + "MTrk" +
         BigEndian(quint32(track.size()), 4) + track;
}

// Frame i of a cosine of the given frequency at half amplitude: its first frame is its loudest.
inline qint16 Cosine(int i, int sampleRate, double frequency = 441.0) {
  return qint16(std::lround(16000.0 * std::cos(2 * M_PI * frequency * i / sampleRate)));
}

// A cosine in channel toneChannel (the others silent), written by libsndfile in its format.
inline bool WriteTone(const QString& path, int format, int sampleRate, double seconds,
                      int channels = 1, int toneChannel = 0) {
  SF_INFO info{0, sampleRate, channels, format, 0, 0};
  SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
  if (!file) return false;
  const auto frames = sf_count_t(std::lround(sampleRate * seconds));
  std::vector<float> samples(size_t(frames * channels));
  for (sf_count_t i = 0; i < frames; ++i)
    samples[size_t(i * channels + toneChannel)] = Cosine(int(i), sampleRate) / 32768.0f;
  const bool written = sf_writef_float(file, samples.data(), frames) == frames;
  return sf_close(file) == 0 && written;
}

inline bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The given head, then a hole up to size bytes: a large file that costs no disk.
inline bool WriteSparse(const QString& path, const QByteArray& head, qint64 size) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(head) == head.size() && file.resize(size);
}

inline QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace SoundFiles
