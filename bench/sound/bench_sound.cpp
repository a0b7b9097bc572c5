// Play latency: from the play request to the first buffer with a non-silent sample that the mixer
// hands to the device, seen through the output tap; and the time the request blocks its caller
// (the GUI thread). Each play starts at a random moment within the device's buffer period, as a
// user's request would.
#include <benchmark/benchmark.h>

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
#include "platform/Sound.h"

namespace {

using Clock = std::chrono::steady_clock;

SdlSound* g_sound = nullptr;
QTemporaryDir* g_dir = nullptr;
std::atomic<int> g_buffers{0};
std::atomic<bool> g_armed{false};
std::atomic<Clock::rep> g_firstLoud{0};

void Tap(const qint16* samples, int count) {
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

enum class Player { Wave, Mp3 };

struct Play {
  double blockedMs;  // the play request itself
  double soundMs;    // request to the first loud buffer
};

// Plays path once after the device's last buffer plus phaseMs; nothing when no sound came out.
std::optional<Play> PlayOnce(const QString& path, Player player, double phaseMs) {
  g_sound->Stop();
  if (!WaitBuffers(2)) return {};
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(phaseMs));
  g_firstLoud = 0;
  g_armed = true;
  const auto start = Clock::now();
  const bool started = player == Player::Wave ? g_sound->PlayWaveOrMidi(path, false)
                                              : g_sound->PlayMp3(path, 1);
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

std::uniform_real_distribution<double> Phase() {
  return std::uniform_real_distribution<double>(0.0, 512 * 1000.0 / g_sound->DeviceFrequency());
}

void BM_PlayLatency(benchmark::State& state, const char* file, Player player) {
  const QString path = g_dir->filePath(QString::fromLatin1(file));
  std::mt19937 random(7);
  auto phase = Phase();
  std::vector<double> sound, blocked;
  for (auto _ : state) {
    const std::optional<Play> play = PlayOnce(path, player, phase(random));
    if (!play) {
      state.SkipWithError("no sound came out");
      return;
    }
    state.SetIterationTime(play->soundMs / 1000.0);
    sound.push_back(play->soundMs);
    blocked.push_back(play->blockedMs);
  }
  g_sound->Stop();
  Report(state, "", sound);
  Report(state, "blocked_", blocked);
}

// A 10-minute and a 1-second 48 kHz WAV hovered in turn, so that both meet the same load; the
// 1-second file is the anchor of the ratios.
void BM_HoverLongAndShort(benchmark::State& state) {
  const QString paths[] = {g_dir->filePath(QStringLiteral("tone48000_1s.wav")),
                           g_dir->filePath(QStringLiteral("tone48000_10min.wav"))};
  std::mt19937 random(7);
  auto phase = Phase();
  std::vector<double> sound[2], blocked[2];
  for (auto _ : state) {
    const double phaseMs = phase(random);  // the same moment for both, so only the file differs
    for (int i = 0; i < 2; ++i) {
      const int which = (i + int(state.iterations())) % 2;  // alternate which goes first
      const std::optional<Play> play = PlayOnce(paths[which], Player::Wave, phaseMs);
      if (!play) {
        state.SkipWithError("no sound came out");
        return;
      }
      sound[which].push_back(play->soundMs);
      blocked[which].push_back(play->blockedMs);
      if (which == 1) state.SetIterationTime(play->soundMs / 1000.0);
    }
  }
  g_sound->Stop();
  Report(state, "short_", sound[0]);
  Report(state, "long_", sound[1]);
  Report(state, "short_blocked_", blocked[0]);
  Report(state, "long_blocked_", blocked[1]);
  state.counters["long_to_short_median"] = Median(sound[1]) / Median(sound[0]);
  state.counters["long_to_short_blocked_median"] = Median(blocked[1]) / Median(blocked[0]);
}

// What a hover costs for a large file that is no sound: refused as waveform or MIDI, then by the
// MP3 player, as the player offers it.
void BM_RefuseLarge(benchmark::State& state, const char* file) {
  const QString path = g_dir->filePath(QString::fromLatin1(file));
  std::vector<double> blocked;
  for (auto _ : state) {
    const auto start = Clock::now();
    const bool played = g_sound->PlayWaveOrMidi(path, false) || g_sound->PlayMp3(path, 1);
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

BENCHMARK_CAPTURE(BM_PlayLatency, wav_44k, "tone44100.wav", Player::Wave)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, wav_48k, "tone48000.wav", Player::Wave)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, mp3, "tone.mp3", Player::Mp3)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, midi, "tune.mid", Player::Wave)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverLongAndShort)->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseLarge, riff_absurd_chunk_100MB, "absurd.wav")
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseLarge, zeros_100MB, "zeros.wav")
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

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
  benchmark::AddCustomContext("soundfont_load_ms", std::to_string(sound.SoundFontLoadMilliseconds()));
  benchmark::AddCustomContext("audio_driver", qgetenv("SDL_AUDIODRIVER").toStdString());
  const bool written =
      SoundFiles::Write(dir.filePath(QStringLiteral("tone44100.wav")), SoundFiles::Wave(44100, 0.5)) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tone48000.wav")),
                        SoundFiles::Wave(48000, 0.5, 441.0, 2)) &&
      SoundFiles::Write(dir.filePath(QStringLiteral("tone48000_1s.wav")),
                        SoundFiles::Wave(48000, 1.0, 441.0, 2)) &&
      WriteRepeatedWave(dir.filePath(QStringLiteral("tone48000_10min.wav")), 48000, 2, 600) &&
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
  // The dummy driver mixes a buffer, then sleeps for a buffer's duration: its real period.
  const auto before = Clock::now();
  const int first = g_buffers;
  if (!WaitBuffers(40)) return 1;
  const std::chrono::duration<double, std::milli> spent = Clock::now() - before;
  benchmark::AddCustomContext("device_period_ms", std::to_string(spent.count() / (g_buffers - first)));
  benchmark::RunSpecifiedBenchmarks();
  sound.SetOutputTap(nullptr);
  benchmark::Shutdown();
  return 0;
}
