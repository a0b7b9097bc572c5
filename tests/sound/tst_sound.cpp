// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <tuple>

#include "Listening.h"
#include "SoundFiles.h"
#include "TestFiles.h"
#include "platform/SdlSound.h"

using Kind = SdlSound::Kind;
Q_DECLARE_METATYPE(SdlSound::Kind)
Q_DECLARE_METATYPE(PlayResult)

// A tone in one channel of a file: its level in each output channel, each sample's error allowed
// (-1: lossy or resampled; -2: a speech codec, which keeps neither a pure tone's pitch nor its
// length, so only that it sounds), how Describe begins, its length, the share of bytes kept.
struct ToneFile {
  int format, rate = 44100, channels = 1, toneChannel = 0;
  double gain[2] = {1, 1};
  int tolerance = 0;
  QString facts;
  double seconds = 0.2, kept = 1;
};
Q_DECLARE_METATYPE(ToneFile)

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
  // Waits for n more buffers of output.
  void PassBuffers(int n) {
    const int until = buffers_ + n;
    QTRY_VERIFY_WITH_TIMEOUT(buffers_ >= until, 5000);
  }

  // Contents that no decoder may take, each written to <name>.wav, and the reason given.
  static QList<std::tuple<const char*, QByteArray, PlayResult>> BadContents() {
    const QByteArray midi = SoundFiles::Midi();
    QByteArray lyingLength = midi;
    lyingLength[21] = char(0x7F);  // track length far beyond the end of the file
    QByteArray badEvent = midi;
    badEvent[26] = char(0xF3);           // a system message inside a track
    QByteArray falseFrames(4096, '\0');  // MPEG frame headers by chance, as in a FLAC frame
    falseFrames.replace(0, 4, QByteArray::fromHex("fffb9064"));
    const QByteArray unknownCodec = SoundFiles::Wave(44100, 0.01).replace(20, 2, "\x77\x77");
    using R = PlayResult;
    return {
        {"empty", QByteArray(), R::NotSound},
        {"truncated WAV header", SoundFiles::Wave(44100, 0.1).left(20), R::Damaged},
        {"WAV header without data", SoundFiles::Wave(44100, 0.1).left(44), R::Damaged},
        {"WAV of an unknown codec", unknownCodec, R::Unsupported},
        {"RIFF of another kind", QByteArray("RIFF\x10\0\0\0AVI LIST\0\0\0\0", 20), R::NotSound},
        {"text", QByteArray("this is not a sound\n"), R::NotSound},
        {"one MPEG frame header by chance", falseFrames, R::NotSound},
        {"MIDI header only", midi.left(14), R::Damaged},
        {"MIDI header, garbage tracks", midi.left(14) + QByteArray(64, '\xA5'), R::Damaged},
        {"MIDI track longer than the file", lyingLength, R::Damaged},
        {"MIDI track with a bad event", badEvent, R::Damaged},
        {"MIDI without tracks", QByteArray::fromHex("4d546864000000060000000001e0"), R::Damaged}};
  }

  // The head of a 100 MiB RIFF/WAVE file holding the given chunks.
  static QByteArray WaveHead(const QByteArray& chunks) {
    return "RIFF" + SoundFiles::LittleEndian(quint32(100 * kMiB - 8), 4) + "WAVE" + chunks;
  }

  // Plays path and keeps the output in recorded_ until it has sounded (20 buffers of a loop).
  void Record(const QString& path, bool loop = false) {
    if (std::lock_guard guard(recordLock_); !recording_) recorded_.clear(), recording_ = true;
    if (sound_.Play(path, loop) == PlayResult::Started && !loop)
      QTRY_COMPARE_WITH_TIMEOUT(sound_.Playing(), Kind::Nothing, 5000);
    PassBuffers(loop ? 20 : 2);
    sound_.Stop();
    std::lock_guard guard(recordLock_);
    recording_ = false;
  }

  QTemporaryDir dir_;
  SdlSound sound_;
  std::atomic<int> buffers_{0};
  std::atomic<int> loudBuffers_{0};
  QStringList badFiles_;
  std::mutex recordLock_;
  bool recording_ = false;
  std::vector<qint16> recorded_;

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(sound_.Open());
    QCOMPARE(sound_.DeviceFrequency(), 44100);
    QVERIFY(!sound_.SoundFontPath().isEmpty());
    QVERIFY(sound_.SoundFontLoadMilliseconds() >= 0);
    sound_.SetOutputTap([this](const qint16* samples, int count) {
      ++buffers_;
      if (std::lock_guard guard(recordLock_); recording_)
        recorded_.insert(recorded_.end(), samples, samples + count);
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
    // Running status after a meta event: the note ends by a note on of velocity 0.
    QByteArray running = midi.chopped(7) + QByteArray::fromHex("ff010178004500") + midi.right(4);
    running.replace(18, 4, SoundFiles::BigEndian(quint32(running.size() - 22), 4));
    for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"tone.wav", wave},
             {"wave-named.mp3", wave},
             {"wave-named.mid", wave},
             {"tune.mid", SoundFiles::Midi()},
             {"midi-named.wav", SoundFiles::Midi()},
             {"tone.mp3", mp3},
             {"mp3-named.wav", mp3},
             {"long.wav", SoundFiles::Wave(44100, 2.0)},
             {"odd-chunks.wav",
              SoundFiles::Riff(Chunk("LIST", "INFOx") + format + Chunk("pad ", "a") +
                               Chunk("data", tone) + Chunk("LIST", "", ~0u))},
             {"unpadded-chunk.wav",
              SoundFiles::Riff(format + "abc " + SoundFiles::LittleEndian(3, 4) + "xyz" +
                               Chunk("data", tone))},
             {"zero-block-align.wav",
              SoundFiles::Riff(Chunk("fmt ", SoundFiles::Format(1, 1, 8000, 0, 8)) +
                               Chunk("data", QByteArray(4000, '\x10')))},
             {"trailing-garbage.wav", wave + QByteArray(999, '\xA7')},
             {"cut-short.wav", SoundFiles::Riff(format + Chunk("data", tone, ~0u))},
             {"adpcm.wav", SoundFiles::ImaAdpcmWave(0.3)},
             {"odd-chunks.mid", "MThd" + SoundFiles::BigEndian(8, 4) + midi.mid(8, 6) + "xyXFIH" +
                                    SoundFiles::BigEndian(3, 4) + "abc" + midi.mid(14)},
             {"long-track.mid", SoundFiles::Midi(240, texts)},
             {"running-status.mid", running},
             {"riff.rmi", SoundFiles::Riff(Chunk("data", midi)).replace(8, 4, "RMID")}})
      QVERIFY(SoundFiles::Write(P(QString::fromLatin1(name)), bytes));
    for (const auto& [name, bytes, result] : BadContents()) {
      badFiles_ << P(QString::fromLatin1(name) + QStringLiteral(".wav"));
      QVERIFY(SoundFiles::Write(badFiles_.back(), bytes));
    }
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.wav")));
    QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {P(QStringLiteral("pipe.wav"))}), 0);
    badFiles_ << P(QStringLiteral("folder.wav")) << P(QStringLiteral("pipe.wav"))
              << P(QStringLiteral("gone.wav")) << QString();
  }

  void cleanup() { sound_.Stop(); }

  // Each kind and encoding, written by libsndfile, plays as the tone it holds: its samples
  // where nothing lossy or resampled stands between, its length, pitch and place in stereo.
  // A file cut short plays what it holds: some of the tone, not all (an Ogg page holds a second
  // or more of a tone, and a page cut short holds nothing).
  void playsEveryKind_data() {
    QTest::addColumn<ToneFile>("tone");
    const auto row = [](const char* name, int format, int error, const char* facts,
                        int rate = 44100, int channels = 1, int tone = 0, double left = 1,
                        double right = 1) {
      QTest::newRow(name) << ToneFile{
          format, rate, channels, tone, {left, right}, error, QString::fromUtf8(facts)};
    };
    const auto cut = [](const char* name, int format, double s = 1, double kept = 0.8,
                        int rate = 44100) {
      QTest::newRow(name) << ToneFile{format, rate, 1, 0, {1, 1}, -1, {}, s, kept};
    };
    constexpr double kHalf = 0.7071;
    row("WAV 16-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, "WAV PCM · 44.1 kHz · 16 位 · 单声道");
    row("WAV 8-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 256, "WAV PCM · 44.1 kHz · 8 位");
    row("WAV 24-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 0, "WAV PCM · 44.1 kHz · 24 位");
    row("WAV 32-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 0, "WAV PCM · 44.1 kHz · 32 位");
    row("WAV float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, "WAV 浮点 · 44.1 kHz · 32 位");
    row("WAV double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 0, "WAV 浮点 · 44.1 kHz · 64 位");
    row("WAV mu-law", SF_FORMAT_WAV | SF_FORMAT_ULAW, 600, "WAV μ-law · 44.1 kHz · 8 位");
    row("WAV A-law", SF_FORMAT_WAV | SF_FORMAT_ALAW, 600, "WAV A-law · 44.1 kHz · 8 位");
    row("WAV IMA ADPCM", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, -1,
        "WAV IMA ADPCM · 44.1 kHz · 4 位");
    row("WAV MS ADPCM", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, -1, "WAV MS ADPCM · 44.1 kHz · 4 位");
    row("WAV GSM 6.10", SF_FORMAT_WAV | SF_FORMAT_GSM610, -2, "WAV GSM 6.10 · 8 kHz · 单声道",
        8000);
    row("WAV 22.05 kHz", SF_FORMAT_WAV | SF_FORMAT_PCM_16, -1, "WAV PCM · 22.05 kHz", 22050);
    row("WAV stereo, left", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0,
        "WAV PCM · 44.1 kHz · 16 位 · 立体声", 44100, 2, 0, 1, 0);
    row("WAVE_FORMAT_EXTENSIBLE quad, rear right", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 1,
        "WAV PCM · 44.1 kHz · 16 位 · 4 声道", 44100, 4, 3, 0, kHalf);
    row("WAVE_FORMAT_EXTENSIBLE 5.1, centre", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 1,
        "WAV PCM · 44.1 kHz · 24 位 · 6 声道", 44100, 6, 2, kHalf, kHalf);
    row("WAVE_FORMAT_EXTENSIBLE 7.1, front right", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 0,
        "WAV PCM · 44.1 kHz · 16 位 · 8 声道", 44100, 8, 1, 0, 1);
    row("RF64", SF_FORMAT_RF64 | SF_FORMAT_PCM_24, 0, "RF64 PCM · 44.1 kHz · 24 位");
    row("RIFX", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG, 0, "RIFX PCM · 44.1 kHz");
    row("Wave64", SF_FORMAT_W64 | SF_FORMAT_PCM_16, 0, "Wave64 PCM · 44.1 kHz");
    row("AIFF", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 0, "AIFF PCM · 44.1 kHz · 16 位");
    row("AIFF-C A-law", SF_FORMAT_AIFF | SF_FORMAT_ALAW, 600, "AIFF-C A-law · 44.1 kHz");
    row("AU", SF_FORMAT_AU | SF_FORMAT_PCM_16, 0, "AU PCM · 44.1 kHz · 16 位");
    row("FLAC stereo, right", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0,
        "FLAC · 44.1 kHz · 16 位 · 立体声", 44100, 2, 1, 0, 1);
    row("FLAC 96 kHz 24-bit", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, -1, "FLAC · 96 kHz · 24 位",
        96000);
    row("Ogg Vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, -1, "Ogg Vorbis · 44.1 kHz · 单声道");
    row("Ogg Opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, -1, "Ogg Opus · 48 kHz · 单声道", 48000);
    row("MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, -1, "MP3 · 44.1 kHz · 单声道");
    cut("WAV cut", SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    cut("WAV IMA ADPCM cut", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);
    cut("AIFF cut", SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
    cut("AU cut", SF_FORMAT_AU | SF_FORMAT_PCM_16);
    cut("FLAC cut", SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    cut("Ogg Vorbis cut", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 3, 0.95);
    cut("Ogg Opus cut", SF_FORMAT_OGG | SF_FORMAT_OPUS, 1, 0.8, 48000);
    cut("MP3 cut", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
  }

  void playsEveryKind() {
    QFETCH(ToneFile, tone);
    const QString path = P(QStringLiteral("kind"));
    QVERIFY(SoundFiles::WriteTone(path, tone.format, tone.rate, tone.seconds, tone.channels,
                                  tone.toneChannel));
    QVERIFY(QFile::resize(path, qint64(double(QFile(path).size()) * tone.kept)));
    QVERIFY2(sound_.Describe(path).startsWith(tone.facts), qPrintable(sound_.Describe(path)));
    Record(path);
    const Heard heard = Listen(recorded_, tone.tolerance < 0 ? 0 : 44100, tone.gain);
    const QString what = QStringLiteral("%1 frames, %2 Hz, levels %3 %4, error %5")
                             .arg(heard.frames)
                             .arg(heard.frequency)
                             .arg(heard.level[0])
                             .arg(heard.level[1])
                             .arg(heard.error);
    if (tone.tolerance == -2) QVERIFY2(heard.frames > 8820, qPrintable(what));
    if (tone.tolerance == -2) return;
    // Lossy codecs round lengths and start softly; ADPCM cut in a block replays part of another.
    const int frames = int(44100 * tone.seconds);
    QVERIFY2(tone.kept < 1 ? heard.frames > 4410 && heard.frames < frames * 0.97
                           : std::abs(heard.frames - frames) <= (tone.tolerance < 0 ? 1323 : 0),
             qPrintable(what));
    QVERIFY2(std::abs(heard.frequency - 441.0) <= (tone.kept < 1 ? 15 : 3), qPrintable(what));
    for (int c = 0; c < 2; ++c)
      QVERIFY2(std::abs(heard.level[c] - tone.gain[c]) < 0.1, qPrintable(what));
    if (tone.tolerance >= 0) QVERIFY2(heard.error <= tone.tolerance, qPrintable(what));
  }

  void refusesBadInput_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<PlayResult>("result");
    for (const auto& [name, content, result] : BadContents())
      QTest::newRow(name) << P(QString::fromLatin1(name) + QStringLiteral(".wav")) << result;
    QTest::newRow("directory") << P(QStringLiteral("folder.wav")) << PlayResult::Unreadable;
    QTest::newRow("named pipe") << P(QStringLiteral("pipe.wav")) << PlayResult::Unreadable;
    QTest::newRow("missing file") << P(QStringLiteral("gone.wav")) << PlayResult::Missing;
    QTest::newRow("empty path") << QString() << PlayResult::Missing;
  }

  void refusesBadInput() {
    QFETCH(QString, path);
    QFETCH(PlayResult, result);
    QCOMPARE(sound_.Play(path, false), result);
    QCOMPARE(sound_.Play(path, true), result);
    QCOMPARE(sound_.Playing(), Kind::Nothing);
    QVERIFY(sound_.Describe(path).isEmpty());
  }

  void badRequestsLeaveNothingBehind() {
    QVERIFY(badFiles_.size() > 10);
    auto requestAll = [this](int total) {
      for (int i = 0; i < total; ++i)
        QVERIFY(sound_.Play(badFiles_[i % badFiles_.size()], i % 2 == 0) != PlayResult::Started);
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
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("LIST claiming 4 GiB") << WaveHead(Chunk("LIST", "INFO", ~0u) + format);
    QTest::newRow("LIST filling the file") << WaveHead(Chunk("LIST", "INFO", 100 * kMiB - 40));
    QTest::newRow("empty chunks to the end") << WaveHead(format);
    QTest::newRow("MIDI track of zeros filling the file")
        << SoundFiles::Midi().left(18) + SoundFiles::BigEndian(quint32(100 * kMiB - 22), 4);
    QTest::newRow("nothing") << QByteArray();
  }

  void refusesLargeGarbageFromItsHead() {
    QFETCH(QByteArray, head);
    const QString path = P(QStringLiteral("large garbage.wav"));
    QVERIFY(SoundFiles::WriteSparse(path, head, 100 * kMiB));
    const Footprint footprint;
    QVERIFY(sound_.Play(path, false) != PlayResult::Started);
    QVERIFY(sound_.Play(path, true) != PlayResult::Started);
    QVERIFY2(footprint.Within(kMiB / 2, 8 * kMiB), footprint.Text().constData());
  }

  // A 500 MiB file sounds from what its first buffers need.
  void streamsLargeFile_data() {
    QTest::addColumn<QByteArray>("head");
    const QByteArray data = SoundFiles::LittleEndian(quint32(500 * kMiB - 44), 4);
    QTest::newRow("WAV") << SoundFiles::Wave(48000, 1.0, 441.0, 2).replace(40, 4, data);
    QTest::newRow("IMA ADPCM WAV") << SoundFiles::ImaAdpcmWave(1.0).replace(56, 4, data);
    QTest::newRow("MP3") << SoundFiles::Read(QStringLiteral(PLINKBOX_SOUND_DATA "/tone.mp3"));
  }

  void streamsLargeFile() {
    QFETCH(QByteArray, head);
    const QString path = P(QStringLiteral("large.wav"));
    QVERIFY(SoundFiles::WriteSparse(path, head, 500 * kMiB));
    const Footprint footprint;
    QCOMPARE(sound_.Play(path, true), PlayResult::Started);
    QCOMPARE(sound_.Playing(), Kind::Sampled);
    const int loud = loudBuffers_;
    QTRY_VERIFY_WITH_TIMEOUT(loudBuffers_ > loud + 10, 5000);
    QVERIFY2(footprint.Within(4 * kMiB, 32 * kMiB), footprint.Text().constData());
  }

  void choosesByContent_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("WAV") << "tone.wav" << Kind::Sampled;
    QTest::newRow("WAV named .mp3") << "wave-named.mp3" << Kind::Sampled;
    QTest::newRow("WAV named .mid") << "wave-named.mid" << Kind::Sampled;
    QTest::newRow("MIDI") << "tune.mid" << Kind::Midi;
    QTest::newRow("MIDI named .wav") << "midi-named.wav" << Kind::Midi;
    QTest::newRow("MP3") << "tone.mp3" << Kind::Sampled;
    QTest::newRow("MP3 named .wav") << "mp3-named.wav" << Kind::Sampled;
    QTest::newRow("WAV with odd-sized chunks around its sound")
        << "odd-chunks.wav" << Kind::Sampled;
    QTest::newRow("WAV with an odd chunk and no pad byte") << "unpadded-chunk.wav" << Kind::Sampled;
    QTest::newRow("WAV with block align 0") << "zero-block-align.wav" << Kind::Sampled;
    QTest::newRow("WAV with trailing garbage") << "trailing-garbage.wav" << Kind::Sampled;
    QTest::newRow("WAV cut short") << "cut-short.wav" << Kind::Sampled;
    QTest::newRow("IMA ADPCM WAV without fact chunk") << "adpcm.wav" << Kind::Sampled;
    QTest::newRow("MIDI with a long header and a foreign chunk") << "odd-chunks.mid" << Kind::Midi;
    QTest::newRow("MIDI track of 150 KB") << "long-track.mid" << Kind::Midi;
    QTest::newRow("MIDI with running status after a meta event")
        << "running-status.mid" << Kind::Midi;
    QTest::newRow("RIFF-wrapped MIDI") << "riff.rmi" << Kind::Midi;
  }

  void choosesByContent() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QCOMPARE(sound_.Play(P(name), true), PlayResult::Started);
    QCOMPARE(sound_.Playing(), kind);
    const int loud = loudBuffers_;
    QTRY_VERIFY_WITH_TIMEOUT(loudBuffers_ > loud + 2, 5000);
  }

  void stopSilencesAtOnce_data() { choosesByContent_data(); }

  void stopSilencesAtOnce() {
    QFETCH(QString, name);
    QCOMPARE(sound_.Play(P(name), true), PlayResult::Started);
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
    QTest::newRow("WAV") << "tone.wav" << Kind::Sampled;
    QTest::newRow("MIDI") << "tune.mid" << Kind::Midi;
    QTest::newRow("MP3") << "tone.mp3" << Kind::Sampled;
  }

  void onceEndsLoopGoesOn() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QCOMPARE(sound_.Play(P(name), false), PlayResult::Started);
    QTRY_COMPARE_WITH_TIMEOUT(sound_.Playing(), Kind::Nothing, 5000);
    QCOMPARE(sound_.Play(P(name), true), PlayResult::Started);
    PassBuffers(100);  // 1.1 s, several times each file's length
    QCOMPARE(sound_.Playing(), kind);
  }

  // A loop has no seam, however short: 400 frames (four periods of 441 Hz) make one tone.
  void loopIsSeamless() {
    const QString path = P(QStringLiteral("loop.wav"));
    QVERIFY(SoundFiles::WriteTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 400 / 44100.0));
    Record(path, true);
    const auto start = std::find_if(recorded_.begin(), recorded_.end(), [](qint16 s) { return s; });
    const int first = int(start - recorded_.begin()) / 2;
    QVERIFY(recorded_.size() / 2 > size_t(first + 4000));
    for (int i = 0; i < 4000; ++i)
      QCOMPARE(int(recorded_[size_t(2 * (first + i))]), int(SoundFiles::Cosine(i, 44100)));
  }

  // A new sound replaces the old one of any kind; a refused request leaves it playing.
  void newSoundReplacesOld() {
    QCOMPARE(sound_.Play(P(QStringLiteral("long.wav")), true), PlayResult::Started);
    QCOMPARE(sound_.Play(P(QStringLiteral("tune.mid")), true), PlayResult::Started);
    QCOMPARE(sound_.Playing(), Kind::Midi);
    QCOMPARE(sound_.Play(P(QStringLiteral("tone.mp3")), true), PlayResult::Started);
    QCOMPARE(sound_.Playing(), Kind::Sampled);
    QCOMPARE(sound_.Play(P(QStringLiteral("tune.mid")), true), PlayResult::Started);
    QCOMPARE(sound_.Play(P(QStringLiteral("text.wav")), true), PlayResult::NotSound);
    QCOMPARE(sound_.Playing(), Kind::Midi);
    QCOMPARE(sound_.Play(P(QStringLiteral("long.wav")), false), PlayResult::Started);
    QCOMPARE(sound_.Playing(), Kind::Sampled);
    sound_.Stop();
    QCOMPARE(sound_.Play(P(QStringLiteral("tune.mid")), true), PlayResult::Started);
    QCOMPARE(sound_.Play(P(QStringLiteral("long.wav")), true), PlayResult::Started);
    QCOMPARE(sound_.Playing(), Kind::Sampled);
  }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_sound.moc"
