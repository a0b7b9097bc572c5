// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <vector>

#include "SoundFiles.h"
#include "platform/SdlSound.h"

// Each case opens the device afresh, with the audio driver chosen for it.
class SoundDeviceTest : public QObject {
  Q_OBJECT

 private:
  struct Segment {
    int frames = 0;
    double frequency = 0;
  };

  // Stretches of sound in interleaved stereo output, split at 2,000 or more silent frames;
  // each with its length and the frequency seen in its rising zero crossings. A crossing counts
  // once the wave has passed a few steps beyond zero, so a resampler's rounding at zero does not
  // count as a crossing of its own.
  static std::vector<Segment> Segments(const QByteArray& raw, int rate) {
    constexpr int kRounding = 64;
    const auto* s = reinterpret_cast<const qint16*>(raw.constData());
    const int frames = int(raw.size() / 4);
    std::vector<Segment> out;
    int start = -1, last = -1, crossings = 0;
    bool below = false;
    auto close = [&] {
      const int length = last - start + 1;
      out.push_back({length, crossings * double(rate) / length});
    };
    for (int i = 0; i < frames; ++i) {
      const qint16 left = s[2 * i];
      if (left == 0) continue;
      if (start >= 0 && i - last >= 2000) {
        close();
        start = -1;
      }
      if (start < 0) {
        start = i;
        crossings = 0;
        below = left < 0;
      } else if (left < -kRounding) {
        below = true;
      } else if (below && left > kRounding) {
        ++crossings;
        below = false;
      }
      last = i;
    }
    if (start >= 0) close();
    return out;
  }

 private Q_SLOTS:
  // Played on a 44.1 kHz device, 0.5 s of a 441 Hz tone lasts 22,050 frames and keeps its pitch
  // whatever the file's own rate; nothing sounds after it (8-bit silence is 128).
  void eachRateKeepsItsPitch() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", out.toLocal8Bit());
    const QByteArray format8 = SoundFiles::Format(1, 1, 22050, 1, 8);
    const QByteArray tone16 = SoundFiles::Tone(22050, 0.5);
    QByteArray tone8;
    for (int i = 0; i + 1 < tone16.size(); i += 2)
      tone8 += char(qFromLittleEndian<qint16>(tone16.constData() + i) / 256 + 128);
    const QList<std::pair<QByteArray, QByteArray>> files = {
        {"48000 Hz stereo", SoundFiles::Wave(48000, 0.5, 441.0, 2)},
        {"44100 Hz", SoundFiles::Wave(44100, 0.5)},
        {"22050 Hz", SoundFiles::Wave(22050, 0.5)},
        {"22050 Hz 8-bit",
         SoundFiles::Riff(SoundFiles::Chunk("fmt ", format8) + SoundFiles::Chunk("data", tone8))}};
    {
      SdlSound sound;
      QVERIFY(sound.Open());
      QCOMPARE(sound.DeviceFrequency(), 44100);
      std::atomic<int> buffers{0};
      sound.SetOutputTap([&](const qint16*, int) { ++buffers; });
      for (const auto& [name, bytes] : files) {
        const QString wav = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".wav"));
        QVERIFY(SoundFiles::Write(wav, bytes));
        QCOMPARE(sound.Play(wav, false), PlayResult::Started);
        QTRY_COMPARE_WITH_TIMEOUT(sound.Playing(), SdlSound::Kind::Nothing, 5000);
        const int until = buffers + 10;  // a gap of silence between the tones
        QTRY_VERIFY_WITH_TIMEOUT(buffers >= until, 5000);
      }
    }
    const std::vector<Segment> segments = Segments(SoundFiles::Read(out), 44100);
    QCOMPARE(int(segments.size()), int(files.size()));
    for (int i = 0; i < files.size(); ++i) {
      const QByteArray what = files[i].first + " file: " + QByteArray::number(segments[i].frames) +
                              " frames, " + QByteArray::number(segments[i].frequency) + " Hz";
      QVERIFY2(std::abs(segments[i].frames - 22050) <= 50, what.constData());
      QVERIFY2(std::abs(segments[i].frequency - 441.0) <= 3.0, what.constData());
    }
  }

  void withoutDeviceEveryPlayFails() {
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(SoundFiles::Write(wav, SoundFiles::Wave(44100, 0.1)));
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlSound sound;
    QVERIFY(!sound.Open());
    QVERIFY(!sound.IsOpen());
    QCOMPARE(sound.Play(wav, false), PlayResult::NoDevice);
    QCOMPARE(sound.Play(QStringLiteral(PLINKBOX_SOUND_DATA "/tone.mp3"), true),
             PlayResult::NoDevice);
    sound.Stop();
    QCOMPARE(sound.Playing(), SdlSound::Kind::Nothing);
  }
};

QTEST_GUILESS_MAIN(SoundDeviceTest)
#include "tst_sound_device.moc"
