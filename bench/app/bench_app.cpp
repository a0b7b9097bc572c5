// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up in-process: from creating the sound output and the main window to the window shown and
// painted, with a list file of 10,000 existing files (the started program as a whole is measured
// by bench/startup/measure_startup.py). Scrolling a shown list of a million rows: each step from
// the input to the repainted list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "list/SoundList.h"
#include "platform/SdlSound.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

namespace {

struct StartupFixture {
  QTemporaryDir temp;
  QString configDir;

  explicit StartupFixture(int rows) {
    configDir = temp.filePath(QStringLiteral("config"));
    QDir().mkpath(configDir);
    QByteArray list;
    for (int d = 0; d < 100; ++d) {
      const QString dir = temp.filePath(QStringLiteral("音效%1").arg(d));
      QDir().mkpath(dir);
      for (int i = d; i < rows; i += 100) {
        const QString path = dir + QStringLiteral("/sample_%1_鼓声.wav").arg(i, 6, 10, QChar('0'));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("RIFF");
        list += path.toUtf8() + '\n';
      }
    }
    QFile listFile(ListFilePath(configDir));
    listFile.open(QIODevice::WriteOnly);
    listFile.write(list);
  }
};

void BM_StartupToShownWindow(benchmark::State& state) {
  StartupFixture fixture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto sound = std::make_unique<SdlSound>();
    sound->Open();
    Application program(fixture.configDir, std::move(sound));
    MainWindow window(program);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not exposed");
    QApplication::processEvents();
    state.PauseTiming();
    if (program.List().RowCount() != state.range(0)) state.SkipWithError("rows missing");
    QFile::remove(SettingsFilePath(fixture.configDir));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupToShownWindow)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

// A shown main window over rows that need no files: 20-character names in 100 directories.
struct ShownList {
  Application program;
  MainWindow window{program};
  QTableView* view = nullptr;
  explicit ShownList(int rows, const QString& configDir)
      : program(configDir, std::make_unique<SdlSound>()) {
    std::vector<SoundRow> made(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
      made[size_t(i)] = {QStringLiteral("snd%1_voice.wav").arg(i, 7, 10, QChar('0')),
                         QStringLiteral("/声音/目录%1").arg(i % 100), 1000, QString()};
    }
    program.List().AppendRows(std::move(made));
    window.resize(800, 600);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    view = window.findChild<QTableView*>(QStringLiteral("列表框"));
    view->setFocus();
    QApplication::processEvents();
  }
};

// Each step's time from the input to the list repainted; the slowest step is the figure.
template <typename Step>
void TimeSteps(benchmark::State& state, Step step) {
  std::vector<double> times;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    step(times.size());
    QApplication::processEvents();  // the repaint the input asked for
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count() / 1000);
    times.push_back(took.count());
  }
  std::sort(times.begin(), times.end());
  state.counters["max_ms"] = times.back();
  state.counters["median_ms"] = times[times.size() / 2];
}

void BM_ScrollHomeEndKeys(benchmark::State& state) {
  QTemporaryDir temp;
  ShownList shown(static_cast<int>(state.range(0)), temp.path());
  TimeSteps(state,
            [&](size_t i) { QTest::keyClick(shown.view, i % 2 ? Qt::Key_Home : Qt::Key_End); });
}
BENCHMARK(BM_ScrollHomeEndKeys)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(40);

// The scroll bar dragged from top to bottom in 40 steps, and back.
void BM_ScrollBarSteps(benchmark::State& state) {
  QTemporaryDir temp;
  ShownList shown(static_cast<int>(state.range(0)), temp.path());
  QScrollBar* bar = shown.view->verticalScrollBar();
  TimeSteps(state, [&](size_t i) {
    const int k = static_cast<int>(i % 80);
    const int step = k < 40 ? k + 1 : 79 - k;
    bar->setValue(static_cast<int>(static_cast<qint64>(bar->maximum()) * step / 40));
  });
}
BENCHMARK(BM_ScrollBarSteps)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(80);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  InitArtwork();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
