// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Hover-play cost: synthetic mouse moves across 1,000 rows of small WAV files, each move onto a
// new row starting a play. Reports the median time one move spends in its handler.
#include <benchmark/benchmark.h>

#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "ListContext.h"
#include "RecordingSound.h"
#include "core/StatusTexts.h"
#include "list/SoundList.h"
#include "platform/SdlSound.h"
#include "player/HoverTracker.h"
#include "player/Player.h"

namespace {

constexpr int kRows = 1000;
constexpr int kMoves = 1000;

// 0.1 s of a 440 Hz square wave, 22,050 Hz mono 16-bit.
QByteArray SmallWave() {
  constexpr quint32 kRate = 22050, kFrames = kRate / 10;
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + kFrames * 2);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << kRate << quint32(kRate * 2) << quint16(2)
      << quint16(16);
  out.writeRawData("data", 4);
  out << quint32(kFrames * 2);
  for (quint32 i = 0; i < kFrames; ++i) out << qint16((i / 25) % 2 ? 8000 : -8000);
  return bytes;
}

// Counts the play requests that started, so the figures show that every move really played.
class CountingSound : public SoundOutput {
 public:
  explicit CountingSound(SoundOutput& inner) : inner_(inner) {}
  PlayResult Play(const QString& path, bool loop) override {
    const PlayResult result = inner_.Play(path, loop);
    started += result == PlayResult::Started;
    return result;
  }
  void Stop() override { inner_.Stop(); }
  QString Describe(const QString& path) override { return inner_.Describe(path); }
  int started = 0;

 private:
  SoundOutput& inner_;
};

struct SoundFiles {
  SoundFiles() {
    const QByteArray wave = SmallWave();
    QStringList paths;
    for (int i = 0; i < kRows; ++i) {
      const QString path = dir.path() + QStringLiteral("/短音%1.wav").arg(i, 4, 10, QChar(u'0'));
      QFile file(path);
      if (file.open(QIODevice::WriteOnly)) file.write(wave);
      paths << path;
    }
    list.AddPaths(paths, true);
  }
  QTemporaryDir dir;
  SoundList list;
};

SoundFiles& TheFiles() {
  static SoundFiles files;
  return files;
}

SdlSound& TheSdlSound() {
  static SdlSound sound;
  static const bool opened = sound.Open();
  Q_UNUSED(opened);
  return sound;
}

void HoverMoves(benchmark::State& state, SoundOutput& output) {
  SoundFiles& files = TheFiles();
  StatusTexts status;
  CountingSound sound(output);
  MainOptions options;
  SetChecksOff(options);
  options.play.onHover.Set(true);
  options.play.onSelect.Set(true);  // the window's usual options: both triggers
  Player player(files.list, status, sound, options.play);
  HoverTracker hover(files.list, options.play, player);
  QObject::connect(&files.list.Selection(), &RowSelection::currentRowChanged, &files.list,
                   [&player](int) { player.OnCurrentRowChanged(); });

  std::vector<double> ms;
  ms.reserve(kMoves);
  int row = 0;
  for (auto _ : state) {
    row = (row + 1) % kRows;  // always a new row, so every move plays
    const auto start = std::chrono::steady_clock::now();
    hover.OnRowUnderMouse(row);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  sound.Stop();
  QObject::disconnect(&files.list.Selection(), &RowSelection::currentRowChanged, nullptr, nullptr);

  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  state.counters["max_ms"] = ms.back();
  state.counters["started"] = double(sound.started) / double(ms.size());
}

void BM_HoverSdlSound(benchmark::State& state) {
  SdlSound& sound = TheSdlSound();
  if (!sound.IsOpen()) {
    state.SkipWithError("no audio device (set SDL_AUDIODRIVER=dummy)");
    return;
  }
  HoverMoves(state, sound);
}

// The same moves without an audio back end: the cost of the handler and the list alone.
void BM_HoverRecordingSound(benchmark::State& state) {
  RecordingSound sound;
  HoverMoves(state, sound);
}

BENCHMARK(BM_HoverSdlSound)->Iterations(kMoves)->Repetitions(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoverRecordingSound)
    ->Iterations(kMoves)
    ->Repetitions(5)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
