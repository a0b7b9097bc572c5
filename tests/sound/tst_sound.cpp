// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <malloc.h>

#include <atomic>

#include "SoundFiles.h"
#include "platform/Sound.h"

using Kind = SdlSound::Kind;
Q_DECLARE_METATYPE(SdlSound::Kind)

namespace {

constexpr qint64 kMiB = 1 << 20;

qint64 ProcValue(const char* file, const QByteArray& key) {
  QFile proc(QString::fromLatin1(file));
  if (!proc.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : proc.readAll().split('\n'))
    if (line.startsWith(key + ':'))
      return line.mid(key.size() + 1).simplified().split(' ')[0].toLongLong();
  return -1;
}

// The bytes the process read and how far its peak resident memory grew, since it was made.
struct Footprint {
  bool reset = [] {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1 && clear.flush();
  }();
  qint64 read = ProcValue("/proc/self/io", "rchar");
  qint64 resident = ProcValue("/proc/self/status", "VmRSS");

  QByteArray Text() const {
    return "read " + QByteArray::number(ProcValue("/proc/self/io", "rchar") - read) +
           " B, peak grew " +
           QByteArray::number(ProcValue("/proc/self/status", "VmHWM") - resident) + " KiB";
  }
  bool Within(qint64 readLimit, qint64 growthLimit) const {
    return reset && read >= 0 && ProcValue("/proc/self/io", "rchar") - read < readLimit &&
           (ProcValue("/proc/self/status", "VmHWM") - resident) * 1024 < growthLimit;
  }
};

}  // namespace

class SoundTest : public QObject {
  Q_OBJECT

 private:
  QString P(const QString& name) const { return dir_.filePath(name); }
  int OpenDescriptors() const { return int(QDir(QStringLiteral("/proc/self/fd")).count()); }
  // Waits for n more buffers of output.
  void PassBuffers(int n) {
    const int until = buffers_ + n;
    QTRY_VERIFY_WITH_TIMEOUT(buffers_ >= until, 5000);
  }

  // Contents that neither player may take, each written to <name>.wav.
  static QList<std::pair<const char*, QByteArray>> BadContents() {
    const QByteArray midi = SoundFiles::Midi();
    QByteArray lyingLength = midi;
    lyingLength[21] = char(0x7F);  // track length far beyond the end of the file
    QByteArray badEvent = midi;
    badEvent[26] = char(0xF3);  // a system message inside a track
    return {{"empty", QByteArray()},
            {"truncated WAV header", SoundFiles::Wave(44100, 0.1).left(20)},
            {"WAV header without data", SoundFiles::Wave(44100, 0.1).left(44)},
            {"RIFF of another kind", QByteArray("RIFF\x10\0\0\0AVI LIST\0\0\0\0", 20)},
            {"text", QByteArray("this is not a sound\n")},
            {"MIDI header only", midi.left(14)},
            {"MIDI header, garbage tracks", midi.left(14) + QByteArray(64, '\xA5')},
            {"MIDI track longer than the file", lyingLength},
            {"MIDI track with a bad event", badEvent},
            {"MIDI without tracks", QByteArray::fromHex("4d546864000000060000000001e0")}};
  }

  // The head of a 100 MiB RIFF/WAVE file holding the given chunks.
  static QByteArray WaveHead(const QByteArray& chunks) {
    return "RIFF" + SoundFiles::LittleEndian(quint32(100 * kMiB - 8), 4) + "WAVE" + chunks;
  }

  QTemporaryDir dir_;
  SdlSound sound_;
  std::atomic<int> buffers_{0};
  std::atomic<int> loudBuffers_{0};
  QStringList badFiles_;

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(sound_.Open());
    QCOMPARE(sound_.DeviceFrequency(), 44100);
    QVERIFY(!sound_.SoundFontPath().isEmpty());
    QVERIFY(sound_.SoundFontLoadMilliseconds() >= 0);
    sound_.SetOutputTap([this](const qint16* samples, int count) {
      ++buffers_;
      for (int i = 0; i < count; ++i)
        if (samples[i] != 0) {
          ++loudBuffers_;
          break;
        }
    });
    using SoundFiles::Chunk;
    const QByteArray wave = SoundFiles::Wave(44100, 0.1);
    const QByteArray mp3 = SoundFiles::Read(QStringLiteral(PLINKBOX_SOUND_DATA "/tone.mp3"));
    QVERIFY(!mp3.isEmpty());
    const QByteArray format = Chunk("fmt ", SoundFiles::Format(1, 1, 44100, 2, 16));
    const QByteArray tone = SoundFiles::Tone(44100, 0.2);
    const QByteArray midi = SoundFiles::Midi();
    QByteArray texts;  // events to walk, nothing for the synthesizer
    for (int i = 0; i < 30000; ++i) texts += QByteArray::fromHex("00ff010178");
    for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"tone.wav", wave},
             {"wave-named.mp3", wave},
             {"wave-named.mid", wave},
             {"tune.mid", SoundFiles::Midi()},
             {"midi-named.wav", SoundFiles::Midi()},
             {"tone.mp3", mp3},
             {"mp3-named.wav", mp3},
             {"long.wav", SoundFiles::Wave(44100, 2.0)},
             {"odd-chunks.wav", SoundFiles::Riff(Chunk("LIST", "INFOx") + format + Chunk("pad ", "a") +
                                                 Chunk("data", tone) + Chunk("LIST", "", ~0u))},
             {"cut-short.wav", SoundFiles::Riff(format + Chunk("data", tone, ~0u))},
             {"adpcm.wav", SoundFiles::ImaAdpcmWave(0.3)},
             {"odd-chunks.mid", "MThd" + SoundFiles::BigEndian(8, 4) + midi.mid(8, 6) + "xyXFIH" +
                                    SoundFiles::BigEndian(3, 4) + "abc" + midi.mid(14)},
             {"long-track.mid", SoundFiles::Midi(240, texts)}})
      QVERIFY(SoundFiles::Write(P(QString::fromLatin1(name)), bytes));
    for (const auto& [name, bytes] : BadContents()) {
      badFiles_ << P(QString::fromLatin1(name) + QStringLiteral(".wav"));
      QVERIFY(SoundFiles::Write(badFiles_.back(), bytes));
    }
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.wav")));
    QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {P(QStringLiteral("pipe.wav"))}), 0);
    badFiles_ << P(QStringLiteral("folder.wav")) << P(QStringLiteral("pipe.wav"))
              << P(QStringLiteral("gone.wav")) << QString();
  }

  void cleanup() { sound_.Stop(); }

  void refusesBadInput_data() {
    QTest::addColumn<QString>("path");
    for (const auto& [name, content] : BadContents())
      QTest::newRow(name) << P(QString::fromLatin1(name) + QStringLiteral(".wav"));
    QTest::newRow("directory") << P(QStringLiteral("folder.wav"));
    QTest::newRow("named pipe") << P(QStringLiteral("pipe.wav"));
    QTest::newRow("missing file") << P(QStringLiteral("gone.wav"));
    QTest::newRow("empty path") << QString();
  }

  void refusesBadInput() {
    QFETCH(QString, path);
    QVERIFY(!sound_.PlayWaveOrMidi(path, false));
    QVERIFY(!sound_.PlayWaveOrMidi(path, true));
    QVERIFY(!sound_.PlayMp3(path, 1));
    QCOMPARE(sound_.Playing(), Kind::Nothing);
  }

  void refusesPlayCount() { QVERIFY(!sound_.PlayMp3(P(QStringLiteral("tone.mp3")), 0)); }

  void badRequestsLeaveNothingBehind() {
    QVERIFY(badFiles_.size() > 10);
    auto requestAll = [this](int total) {
      for (int i = 0; i < total; ++i) {
        const QString& path = badFiles_[i % badFiles_.size()];
        QVERIFY(!sound_.PlayWaveOrMidi(path, i % 2 == 0));
        QVERIFY(!sound_.PlayMp3(path, 1));
      }
    };
    requestAll(badFiles_.size());
    const int descriptors = OpenDescriptors();
    const size_t heap = mallinfo2().uordblks;
    requestAll(1000);
    QCOMPARE(OpenDescriptors(), descriptors);
    QVERIFY2(mallinfo2().uordblks < heap + 64 * 1024,
             qPrintable(QStringLiteral("heap grew by %1 bytes")
                            .arg(qint64(mallinfo2().uordblks) - qint64(heap))));
  }

  // A large file that is no sound costs a read of its head, whatever its chunks claim.
  void refusesLargeGarbageFromItsHead_data() {
    using SoundFiles::Chunk;
    const QByteArray format = Chunk("fmt ", SoundFiles::Format(1, 1, 44100, 2, 16));
    const QByteArray data = Chunk("data", SoundFiles::Tone(44100, 0.1), 100 * kMiB);
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("LIST claiming 4 GiB") << WaveHead(Chunk("LIST", "INFO", ~0u) + format + data);
    QTest::newRow("LIST filling the file") << WaveHead(Chunk("LIST", "INFO", 100 * kMiB - 40));
    QTest::newRow("empty chunks to the end") << WaveHead(format);
    QTest::newRow("ADPCM too long to decode whole")
        << WaveHead(SoundFiles::ImaAdpcmWave(0.1).mid(12, 28) + data);
    QTest::newRow("MIDI track of zeros filling the file")
        << SoundFiles::Midi().left(18) + SoundFiles::BigEndian(quint32(100 * kMiB - 22), 4);
    QTest::newRow("nothing") << QByteArray();
  }

  void refusesLargeGarbageFromItsHead() {
    QFETCH(QByteArray, head);
    const QString path = P(QStringLiteral("large garbage.wav"));
    QVERIFY(SoundFiles::WriteSparse(path, head, 100 * kMiB));
    const Footprint footprint;
    QVERIFY(!sound_.PlayWaveOrMidi(path, false));
    QVERIFY(!sound_.PlayWaveOrMidi(path, true));
    QVERIFY(!sound_.PlayMp3(path, 1));
    QVERIFY2(footprint.Within(kMiB / 2, 8 * kMiB), footprint.Text().constData());
  }

  // A 500 MiB file sounds from what its first buffers need.
  void streamsLargeFile_data() {
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<Kind>("kind");
    const QByteArray data = SoundFiles::LittleEndian(quint32(500 * kMiB - 44), 4);
    QTest::newRow("WAV") << SoundFiles::Wave(48000, 1.0, 441.0, 2).replace(40, 4, data)
                         << Kind::Wave;
    QTest::newRow("MP3") << SoundFiles::Read(QStringLiteral(PLINKBOX_SOUND_DATA "/tone.mp3"))
                         << Kind::Mp3;
  }

  void streamsLargeFile() {
    QFETCH(QByteArray, head);
    QFETCH(Kind, kind);
    const QString path = P(QStringLiteral("large.wav"));
    QVERIFY(SoundFiles::WriteSparse(path, head, 500 * kMiB));
    const Footprint footprint;
    QVERIFY(kind == Kind::Wave ? sound_.PlayWaveOrMidi(path, true) : sound_.PlayMp3(path, -1));
    QCOMPARE(sound_.Playing(), kind);
    const int loud = loudBuffers_;
    QTRY_VERIFY_WITH_TIMEOUT(loudBuffers_ > loud + 10, 5000);
    QVERIFY2(footprint.Within(4 * kMiB, 32 * kMiB), footprint.Text().constData());
  }

  void choosesByContent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("WAV") << "tone.wav" << Kind::Wave;
    QTest::newRow("WAV named .mp3") << "wave-named.mp3" << Kind::Wave;
    QTest::newRow("WAV named .mid") << "wave-named.mid" << Kind::Wave;
    QTest::newRow("MIDI") << "tune.mid" << Kind::Midi;
    QTest::newRow("MIDI named .wav") << "midi-named.wav" << Kind::Midi;
    QTest::newRow("MP3") << "tone.mp3" << Kind::Mp3;
    QTest::newRow("MP3 named .wav") << "mp3-named.wav" << Kind::Mp3;
    QTest::newRow("WAV with odd-sized chunks around its sound") << "odd-chunks.wav" << Kind::Wave;
    QTest::newRow("WAV cut short") << "cut-short.wav" << Kind::Wave;
    QTest::newRow("IMA ADPCM WAV") << "adpcm.wav" << Kind::Wave;
    QTest::newRow("MIDI with a long header and a foreign chunk") << "odd-chunks.mid" << Kind::Midi;
    QTest::newRow("MIDI track of 150 KB") << "long-track.mid" << Kind::Midi;
  }

  void choosesByContent() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    const bool wave = sound_.PlayWaveOrMidi(P(name), true);
    QCOMPARE(wave, kind != Kind::Mp3);
    if (!wave) QVERIFY(sound_.PlayMp3(P(name), -1));
    QCOMPARE(sound_.Playing(), kind);
    const int loud = loudBuffers_;
    QTRY_VERIFY_WITH_TIMEOUT(loudBuffers_ > loud + 2, 5000);
  }

  void stopSilencesAtOnce_data() { choosesByContent_data(); }

  void stopSilencesAtOnce() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QVERIFY(kind == Kind::Mp3 ? sound_.PlayMp3(P(name), -1) : sound_.PlayWaveOrMidi(P(name), true));
    const int loud = loudBuffers_;
    QTRY_VERIFY_WITH_TIMEOUT(loudBuffers_ > loud, 5000);
    sound_.Stop();
    QCOMPARE(sound_.Playing(), Kind::Nothing);
    const int afterStop = loudBuffers_;
    PassBuffers(3);
    QCOMPARE(int(loudBuffers_), afterStop);
  }

  // A short file played once ends by itself; looping it keeps it sounding well past its length.
  void onceEndsLoopGoesOn_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("WAV") << "tone.wav" << Kind::Wave;
    QTest::newRow("MIDI") << "tune.mid" << Kind::Midi;
    QTest::newRow("MP3") << "tone.mp3" << Kind::Mp3;
  }

  void onceEndsLoopGoesOn() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    auto play = [&](bool loop) {
      return kind == Kind::Mp3 ? sound_.PlayMp3(P(name), loop ? -1 : 1)
                               : sound_.PlayWaveOrMidi(P(name), loop);
    };
    QVERIFY(play(false));
    QTRY_COMPARE_WITH_TIMEOUT(sound_.Playing(), Kind::Nothing, 5000);
    QVERIFY(play(true));
    PassBuffers(100);  // 1.1 s, several times each file's length
    QCOMPARE(sound_.Playing(), kind);
  }

  void mp3PlayCount() {
    QList<int> loud;
    for (int count : {1, 3}) {
      const int before = loudBuffers_;
      QVERIFY(sound_.PlayMp3(P(QStringLiteral("tone.mp3")), count));
      QTRY_COMPARE_WITH_TIMEOUT(sound_.Playing(), Kind::Nothing, 10000);
      loud << loudBuffers_ - before;
    }
    QVERIFY2(loud[0] > 20 && std::abs(loud[1] - 3 * loud[0]) <= 3,
             qPrintable(QStringLiteral("once %1, thrice %2").arg(loud[0]).arg(loud[1])));
  }

  // A new sound replaces the old one of any kind; a refused request leaves it playing.
  void newSoundReplacesOld() {
    QVERIFY(sound_.PlayWaveOrMidi(P(QStringLiteral("long.wav")), true));
    QVERIFY(sound_.PlayWaveOrMidi(P(QStringLiteral("tune.mid")), true));
    QCOMPARE(sound_.Playing(), Kind::Midi);
    QVERIFY(sound_.PlayMp3(P(QStringLiteral("tone.mp3")), -1));
    QCOMPARE(sound_.Playing(), Kind::Mp3);
    QVERIFY(!sound_.PlayWaveOrMidi(P(QStringLiteral("tone.mp3")), true));
    QCOMPARE(sound_.Playing(), Kind::Mp3);
    QVERIFY(sound_.PlayWaveOrMidi(P(QStringLiteral("long.wav")), false));
    QCOMPARE(sound_.Playing(), Kind::Wave);
    sound_.Stop();
    QVERIFY(sound_.PlayWaveOrMidi(P(QStringLiteral("tune.mid")), true));
    QVERIFY(sound_.PlayWaveOrMidi(P(QStringLiteral("long.wav")), true));
    QCOMPARE(sound_.Playing(), Kind::Wave);
  }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_sound.moc"
