#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>

// Sound files made on the spot for tests and measurements.
namespace SoundFiles {

inline QByteArray LittleEndian(quint32 value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
  return out;
}

// 16-bit PCM WAV holding a sine of the given frequency at half amplitude.
inline QByteArray Wave(int sampleRate, double seconds, double frequency = 441.0,
                       int channels = 1) {
  const int frames = int(std::lround(sampleRate * seconds));
  QByteArray samples;
  samples.reserve(frames * channels * 2);
  for (int i = 0; i < frames; ++i) {
    const auto value = qint16(std::lround(16000.0 * std::sin(2 * M_PI * frequency * i / sampleRate)));
    for (int c = 0; c < channels; ++c) samples.append(LittleEndian(quint16(value), 2));
  }
  QByteArray out = "RIFF" + LittleEndian(quint32(36 + samples.size()), 4) + "WAVEfmt " +
                   LittleEndian(16, 4) + LittleEndian(1, 2) + LittleEndian(quint32(channels), 2) +
                   LittleEndian(quint32(sampleRate), 4) +
                   LittleEndian(quint32(sampleRate * channels * 2), 4) +
                   LittleEndian(quint32(channels * 2), 2) + LittleEndian(16, 2) + "data" +
                   LittleEndian(quint32(samples.size()), 4);
  return out + samples;
}

inline QByteArray BigEndian(quint32 value, int bytes) {
  QByteArray out;
  for (int i = bytes - 1; i >= 0; --i) out.append(char((value >> (8 * i)) & 0xFF));
  return out;
}

// A standard MIDI file (format 0, 480 ticks per quarter at 120 bpm) with one piano note of the
// given length in ticks (480 = 0.5 s).
inline QByteArray Midi(int ticks = 240) {
  QByteArray track;
  track += QByteArray::fromHex("00c000");                       // program 0
  track += QByteArray::fromHex("00904564");                     // note on A4
  if (ticks >= 128) track += char(0x80 | (ticks >> 7));
  track += char(ticks & 0x7F);
  track += QByteArray::fromHex("804540");                       // note off
  track += QByteArray::fromHex("00ff2f00");                     // end of track
  return "MThd" + BigEndian(6, 4) + BigEndian(0, 2) + BigEndian(1, 2) + BigEndian(480, 2) +
         "MTrk" + BigEndian(quint32(track.size()), 4) + track;
}

inline bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace SoundFiles
