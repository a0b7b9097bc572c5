// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Request to mixer: from the play request to the first buffer with a non-silent sample that the
// mixer hands to the device, seen through the output tap; and the time the request blocks its
// caller (the GUI thread). The device plays that buffer within one output period (the frames of
// the device's callback over its rate, in the context), so request-to-mixer + one period is the
// time to sound. Each play starts at a random moment within the period, as a user's request
// would, and is paired with SDL2_mixer's own Mix_LoadMUS + Mix_PlayMusic of the same file at the
// same moment, measured through the same tap (Mix_LoadWAV + Mix_PlayChannel for IMA ADPCM, which
// its music player does not decode).
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "SoundFiles.h"
#include "platform/NativePath.h"
#include "platform/SdlSound.h"

namespace {

using Clock = std::chrono::steady_clock;

SdlSound* g_sound = nullptr;
QTemporaryDir* g_dir = nullptr;
std::atomic<int> g_buffers{0};
std::atomic<int> g_bufferSamples{0};
std::atomic<bool> g_armed{false};
std::atomic<Clock::rep> g_firstLoud{0};

void Tap(const qint16* samples, int count) {
  g_bufferSamples = count;
  ++g_buffers;
  if (!g_armed) return;
  if (std::any_of(samples, samples + count, [](qint16 s) { return s != 0; })) {
    g_firstLoud = Clock::now().time_since_epoch().count();
    g_armed = false;
  }
}

bool WaitBuffers(int n) {
  const int until = g_buffers + n;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (g_buffers < until) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// A 16-bit PCM WAV of whole seconds: one second of tone, written again and again.
bool WriteRepeatedWave(const QString& path, int sampleRate, int channels, int seconds) {
  const QByteArray second = SoundFiles::Tone(sampleRate, 1.0, 441.0, channels);
  QByteArray head = SoundFiles::Wave(sampleRate, 0, 441.0, channels);
  const auto dataBytes = quint32(second.size()) * quint32(seconds);
  head.replace(4, 4, SoundFiles::LittleEndian(36 + dataBytes, 4));
  head.replace(40, 4, SoundFiles::LittleEndian(dataBytes, 4));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size()) return false;
  for (int i = 0; i < seconds; ++i)
    if (file.write(second) != second.size()) return false;
  return true;
}

// One second of a stereo tone written again and again by libsndfile, so a long file costs one
// second of memory.
bool WriteRepeatedTone(const QString& path, int format, int sampleRate, int seconds) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = format;
  SNDFILE* file = sf_open(ToNativePath(path).constData(), SFM_WRITE, &info);
  if (!file) return false;
  std::vector<float> second(size_t(2 * sampleRate));
  for (int i = 0; i < sampleRate; ++i)
    second[size_t(2 * i)] = second[size_t(2 * i + 1)] =
        SoundFiles::Cosine(i, sampleRate) / 32768.0f;
  bool written = true;
  for (int i = 0; i < seconds && written; ++i)
    written = sf_writef_float(file, second.data(), sampleRate) == sampleRate;
  return sf_close(file) == 0 && written;
}

// Ours: SdlSound::Play; SDL2_mixer's own: Mix_LoadMUS of the path and Mix_PlayMusic, as a
// program without a player of its own would do, or for what its music player does not decode
// (ADPCM) Mix_LoadWAV and Mix_PlayChannel.
enum class Player { Ours, MixerOwn, MixerChunk };

struct MusicFree {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
struct ChunkFree {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
std::unique_ptr<Mix_Music, MusicFree> g_ownMusic;
std::unique_ptr<Mix_Chunk, ChunkFree> g_ownChunk;

void StopAll() {
  g_sound->Stop();
  Mix_HaltMusic();
  Mix_HaltChannel(-1);
  g_ownMusic.reset();
  g_ownChunk.reset();
}

bool Start(const QString& path, Player player) {
  switch (player) {
    case Player::Ours:
      return g_sound->Play(path, false) == PlayResult::Started;
    case Player::MixerOwn:
      g_ownMusic.reset(Mix_LoadMUS(ToNativePath(path).constData()));
      return g_ownMusic && Mix_PlayMusic(g_ownMusic.get(), 1) == 0;
    case Player::MixerChunk:
      g_ownChunk.reset(Mix_LoadWAV(ToNativePath(path).constData()));
      return g_ownChunk && Mix_PlayChannel(-1, g_ownChunk.get(), 0) >= 0;
  }
  return false;
}

struct Play {
  double blockedMs;  // the play request itself
  double toMixerMs;  // request to the first loud buffer out of the mixer
};

// Plays path once after the device's last buffer plus phaseMs; nothing when no sound came out.
std::optional<Play> PlayOnce(const QString& path, Player player, double phaseMs) {
  StopAll();
  if (!WaitBuffers(2)) return {};
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(phaseMs));
  g_firstLoud = 0;
  g_armed = true;
  const auto start = Clock::now();
  const bool started = Start(path, player);
  const auto returned = Clock::now();
  const auto deadline = start + std::chrono::seconds(10);
  while (started && g_firstLoud == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  g_armed = false;
  if (!started || g_firstLoud == 0) return {};
  const auto loud = Clock::time_point(Clock::duration(g_firstLoud.load()));
  return Play{std::chrono::duration<double, std::milli>(returned - start).count(),
              std::chrono::duration<double, std::milli>(loud - start).count()};
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[size_t(std::ceil(p * double(values.size()))) - 1];
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(benchmark::State& state, const std::string& prefix, const std::vector<double>& ms) {
  state.counters[prefix + "median_ms"] = Median(ms);
  state.counters[prefix + "p95_ms"] = Percentile(ms, 0.95);
  state.counters[prefix + "max_ms"] = Percentile(ms, 1.0);
}

// The output period of the opened device: the frames of one callback (the samples of its
// SDL_AudioSpec, as the tap sees them) over the rate Mix_QuerySpec reports.
double g_periodMs = 0;

std::uniform_real_distribution<double> Phase() {
  return std::uniform_real_distribution<double>(0.0, g_periodMs);
}

// Ours and SDL2_mixer's own path on the same file, at the same moment of the period, the one
// going first alternating from pair to pair. The iteration time is ours, request to mixer.
void BM_RequestToMixer(benchmark::State& state, const char* file, Player anchor) {
  const QString path = g_dir->filePath(QString::fromLatin1(file));
  std::mt19937 random(7);
  auto phase = Phase();
  std::vector<double> toMixer[2], blocked[2], ratios;
  for (auto _ : state) {
    const double phaseMs = phase(random);
    double pair[2];
    for (int i = 0; i < 2; ++i) {
      const int which = (i + int(state.iterations())) % 2;  // 0 ours, 1 SDL2_mixer's own
      const std::optional<Play> play = PlayOnce(path, which == 0 ? Player::Ours : anchor, phaseMs);
      if (!play) {
        state.SkipWithError(which == 0 ? "no sound came out" : "no sound from Mix_LoadMUS");
        StopAll();
        return;
      }
      pair[which] = play->toMixerMs;
      toMixer[which].push_back(play->toMixerMs);
      blocked[which].push_back(play->blockedMs);
    }
    state.SetIterationTime(pair[0] / 1000.0);
    ratios.push_back((pair[0] + g_periodMs) / (pair[1] + g_periodMs));
  }
  StopAll();
  Report(state, "to_mixer_", toMixer[0]);
  Report(state, "blocked_", blocked[0]);
  Report(state, "own_to_mixer_", toMixer[1]);
  Report(state, "own_blocked_", blocked[1]);
  state.counters["period_ms"] = g_periodMs;
  state.counters["to_sound_median_ms"] = Median(toMixer[0]) + g_periodMs;
  state.counters["own_to_sound_median_ms"] = Median(toMixer[1]) + g_periodMs;
  // Within each pair: (ours + period) / (own + period), time to sound against time to sound.
  state.counters["to_sound_ratio_median"] = Median(ratios);
  state.counters["to_sound_ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
  state.counters["to_sound_ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
}

// A 10-minute and a 1-second 48 kHz file of a kind hovered in turn, so that both meet the same
// load; the 1-second file is the anchor of the ratios.
void BM_HoverLongAndShort(benchmark::State& state, const char* kind) {
  const QString paths[] = {
      g_dir->filePath(QStringLiteral("tone48000_1s.") + QLatin1String(kind)),
      g_dir->filePath(QStringLiteral("tone48000_10min.") + QLatin1String(kind))};
  std::mt19937 random(7);
  auto phase = Phase();
  std::vector<double> sound[2], blocked[2];
  for (auto _ : state) {
    const double phaseMs = phase(random);  // the same moment for both, so only the file differs
    for (int i = 0; i < 2; ++i) {
      const int which = (i + int(state.iterations())) % 2;  // alternate which goes first
      const std::optional<Play> play = PlayOnce(paths[which], Player::Ours, phaseMs);
      if (!play) {
        state.SkipWithError("no sound came out");
        return;
      }
      sound[which].push_back(play->toMixerMs);
      blocked[which].push_back(play->blockedMs);
      if (which == 1) state.SetIterationTime(play->toMixerMs / 1000.0);
    }
  }
  g_sound->Stop();
  Report(state, "short_to_mixer_", sound[0]);
  Report(state, "long_to_mixer_", sound[1]);
  Report(state, "short_blocked_", blocked[0]);
  Report(state, "long_blocked_", blocked[1]);
  state.counters["long_to_short_to_mixer_median"] = Median(sound[1]) / Median(sound[0]);
  state.counters["long_to_short_blocked_median"] = Median(blocked[1]) / Median(blocked[0]);
}

// What a hover costs for a large file that is no sound.
void BM_RefuseLarge(benchmark::State& state, const char* file) {
  const QString path = g_dir->filePath(QString::fromLatin1(file));
  std::vector<double> blocked;
  for (auto _ : state) {
    const auto start = Clock::now();
    const bool played = g_sound->Play(path, false) == PlayResult::Started;
    const std::chrono::duration<double> spent = Clock::now() - start;
    if (played) {
      state.SkipWithError("a file that is no sound was played");
      return;
    }
    state.SetIterationTime(spent.count());
    blocked.push_back(spent.count() * 1000.0);
  }
  Report(state, "blocked_", blocked);
}

#define PLINKBOX_REQUEST(name, file, anchor)               \
  BENCHMARK_CAPTURE(BM_RequestToMixer, name, file, anchor) \
      ->Iterations(50)                                     \
      ->UseManualTime()                                    \
      ->Unit(benchmark::kMillisecond)
PLINKBOX_REQUEST(wav_44k, "tone44100.wav", Player::MixerOwn);
PLINKBOX_REQUEST(wav_48k, "tone48000.wav", Player::MixerOwn);
PLINKBOX_REQUEST(wav_ima_adpcm, "adpcm.wav", Player::MixerChunk);
PLINKBOX_REQUEST(flac, "tone.flac", Player::MixerOwn);
PLINKBOX_REQUEST(ogg_vorbis, "tone.ogg", Player::MixerOwn);
PLINKBOX_REQUEST(mp3, "tone.mp3", Player::MixerOwn);
PLINKBOX_REQUEST(midi, "tune.mid", Player::MixerOwn);
BENCHMARK_CAPTURE(BM_HoverLongAndShort, wav, "wav")
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HoverLongAndShort, flac, "flac")
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HoverLongAndShort, mp3, "mp3")
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseLarge, riff_absurd_chunk_100MB, "absurd.wav")
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseLarge, zeros_100MB, "zeros.wav")
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QTemporaryDir dir;
  SdlSound sound;
  QElapsedTimer opening;
  opening.start();
  if (!dir.isValid() || !sound.Open()) return 1;
  const qint64 openMs = opening.elapsed();
  benchmark::AddCustomContext("sound_open_ms", std::to_string(openMs));
  benchmark::AddCustomContext("soundfont", sound.SoundFontPath().toStdString());
  benchmark::AddCustomContext("soundfont_load_ms",
                              std::to_string(sound.SoundFontLoadMilliseconds()));
  // The driver actually opened, which SDL_AUDIODRIVER only asks for.
  const char* driver = SDL_GetCurrentAudioDriver();
  benchmark::AddCustomContext("audio_driver", driver ? driver : "none");
  const bool written =
      SoundFiles::Write(dir.filePath(QStringLiteral("tone44100.wav")),
                        SoundFiles::Wave(44100, 0.5)) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tone48000.wav")),
                        SoundFiles::Wave(48000, 0.5, 441.0, 2)) &&
      SoundFiles::WriteTone(dir.filePath(QStringLiteral("adpcm.wav")),
                            SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 44100, 0.5) &&
      SoundFiles::WriteTone(dir.filePath(QStringLiteral("tone.flac")),
                            SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 0.5) &&
      SoundFiles::WriteTone(dir.filePath(QStringLiteral("tone.ogg")),
                            SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 0.5) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tone48000_1s.wav")),
                        SoundFiles::Wave(48000, 1.0, 441.0, 2)) &&
      WriteRepeatedWave(dir.filePath(QStringLiteral("tone48000_10min.wav")), 48000, 2, 600) &&
      WriteRepeatedTone(dir.filePath(QStringLiteral("tone48000_1s.flac")),
                        SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 1) &&
      WriteRepeatedTone(dir.filePath(QStringLiteral("tone48000_10min.flac")),
                        SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 600) &&
      WriteRepeatedTone(dir.filePath(QStringLiteral("tone48000_1s.mp3")),
                        SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 48000, 1) &&
      WriteRepeatedTone(dir.filePath(QStringLiteral("tone48000_10min.mp3")),
                        SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 48000, 600) &&
      SoundFiles::WriteSparse(dir.filePath(QStringLiteral("absurd.wav")),
                              SoundFiles::Riff(SoundFiles::Chunk("LIST", "INFO", 0xFFFFFFF0)),
                              qint64(100) << 20) &&
      SoundFiles::WriteSparse(dir.filePath(QStringLiteral("zeros.wav")), {}, qint64(100) << 20) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tune.mid")), SoundFiles::Midi()) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tone.mp3")),
                        SoundFiles::Read(QStringLiteral(PLINKBOX_SOUND_DATA "/tone.mp3")));
  if (!written) return 1;
  g_sound = &sound;
  g_dir = &dir;
  sound.SetOutputTap(Tap);
  const auto before = Clock::now();
  const int first = g_buffers;
  if (!WaitBuffers(40)) return 1;
  const std::chrono::duration<double, std::milli> spent = Clock::now() - before;
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (!Mix_QuerySpec(&frequency, &format, &channels) || channels <= 0) return 1;
  const int frames = g_bufferSamples / channels;
  g_periodMs = frames * 1000.0 / frequency;
  benchmark::AddCustomContext("device_frequency", std::to_string(frequency));
  benchmark::AddCustomContext("device_period_frames", std::to_string(frames));
  benchmark::AddCustomContext("device_period_ms", std::to_string(g_periodMs));
  // How often the driver asks for a buffer; the dummy driver mixes one, then sleeps a period.
  benchmark::AddCustomContext("device_period_measured_ms",
                              std::to_string(spent.count() / (g_buffers - first)));
  benchmark::RunSpecifiedBenchmarks();
  sound.SetOutputTap(nullptr);
  benchmark::Shutdown();
  return 0;
}
