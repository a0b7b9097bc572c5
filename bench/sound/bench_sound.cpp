// Play latency: from the play request to the first buffer with a non-silent sample that the mixer
// hands to the device, seen through the output tap. Each play starts at a random moment within
// the device's buffer period, as a user's request would.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
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

enum class Player { Wave, Mp3 };

void BM_PlayLatency(benchmark::State& state, const char* file, Player player) {
  const QString path = g_dir->filePath(QString::fromLatin1(file));
  const double periodMs = 512 * 1000.0 / g_sound->DeviceFrequency();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> phase(0.0, periodMs);
  std::vector<double> latencies;
  for (auto _ : state) {
    g_sound->Stop();
    if (!WaitBuffers(2)) {
      state.SkipWithError("the device delivers no buffers");
      return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(phase(random)));
    g_firstLoud = 0;
    g_armed = true;
    const auto start = Clock::now();
    const bool started = player == Player::Wave ? g_sound->PlayWaveOrMidi(path, false)
                                                : g_sound->PlayMp3(path, 1);
    const auto deadline = start + std::chrono::seconds(2);
    while (started && g_firstLoud == 0 && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    g_armed = false;
    if (!started || g_firstLoud == 0) {
      state.SkipWithError("no sound came out");
      return;
    }
    const std::chrono::duration<double> latency =
        Clock::time_point(Clock::duration(g_firstLoud.load())) - start;
    state.SetIterationTime(latency.count());
    latencies.push_back(latency.count() * 1000.0);
  }
  g_sound->Stop();
  std::sort(latencies.begin(), latencies.end());
  const auto n = latencies.size();
  const double median = n % 2 ? latencies[n / 2] : (latencies[n / 2 - 1] + latencies[n / 2]) / 2;
  const double p95 = latencies[size_t(std::ceil(0.95 * double(n))) - 1];
  state.counters["median_ms"] = median;
  state.counters["p95_ms"] = p95;
  state.counters["max_ms"] = latencies.back();
}

BENCHMARK_CAPTURE(BM_PlayLatency, wav_44k, "tone44100.wav", Player::Wave)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, wav_48k, "tone48000.wav", Player::Wave)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, mp3, "tone.mp3", Player::Mp3)
    ->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayLatency, midi, "tune.mid", Player::Wave)
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
