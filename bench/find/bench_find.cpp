// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <map>
#include <memory>

#include "ListContext.h"
#include "core/StatusTexts.h"
#include "find/Finder.h"
#include "list/SoundList.h"
#include "platform/ScriptedDialogs.h"
#include "player/Player.h"
#include "settings/MainOptions.h"

namespace {

// Rows cycling through .wav, .mid and .mp3, so two rows in three match "*.wav|*.mid"
// in runs of two.
struct Fixture : ListContext {
  explicit Fixture(int rows) {
    static const char* const kExtensions[] = {".wav", ".mid", ".mp3"};
    QStringList paths;
    paths.reserve(rows);
    for (int i = 0; i < rows; ++i) {
      paths << QStringLiteral("/nonexistent/短音/sound_%1%2")
                   .arg(i, 7, 10, QChar(u'0'))
                   .arg(QLatin1String(kExtensions[i % 3]));
    }
    list.AddPaths(paths, false);
    InstallDialogs(std::make_unique<ScriptedDialogs>());
  }
  FindOptions& find = options.find;
  Finder finder{list, status, find, player};
};

// One fixture per row count, made on first use.
Fixture& Shared(int rows = 100000) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  std::unique_ptr<Fixture>& fixture = fixtures[rows];
  if (!fixture) fixture = std::make_unique<Fixture>(rows);
  return *fixture;
}

void BM_FindAllWavMid(benchmark::State& state) {
  Fixture& f = Shared(static_cast<int>(state.range(0)));
  f.find.text.Set(QStringLiteral("*.wav|*.mid"));
  for (auto _ : state) f.finder.FindAll();
  state.counters["selected"] = f.list.Selection().SelectedCount();
}

void BM_FindStepMissWithWrap(benchmark::State& state) {
  Fixture& f = Shared();
  f.find.text.Set(QStringLiteral("*.ogg"));
  for (auto _ : state) benchmark::DoNotOptimize(f.finder.FindStep(false));
  state.counters["messages"] =
      static_cast<double>(static_cast<ScriptedDialogs&>(CurrentDialogs()).prompts.size());
}

// The same with a shown table view on the list, set up as the main window's list view.
void BM_FindAllWavMidShown(benchmark::State& state) {
  Fixture& f = Shared(static_cast<int>(state.range(0)));
  QTableView view;
  view.setModel(&f.list);
  view.setSelectionModel(f.list.Selection().SelectionModel());
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.verticalHeader()->hide();
  view.horizontalHeader()->setHighlightSections(false);
  view.resize(800, 600);
  view.show();
  f.find.text.Set(QStringLiteral("*.wav|*.mid"));
  for (auto _ : state) {
    f.finder.FindAll();
    QCoreApplication::processEvents();
  }
  state.counters["selected"] = f.list.Selection().SelectedCount();
}

// Find all with a pattern that backtracks without end on names with a long run of word
// characters that do not end in ".wav": nine rows in ten, the tenth matches. The match limit
// decides how long each of those rows takes.
void BM_FindAllBacktracking(benchmark::State& state) {
  ListContext context;
  QStringList paths;
  for (int i = 0; i < 10000; ++i) {
    paths << (i % 10 == 0 ? QStringLiteral("/nonexistent/短音/kick_%1.wav")
                          : QStringLiteral("/nonexistent/短音/vocal_take_v2_%1_final.mp3"))
                 .arg(i);
  }
  context.list.AddPaths(paths, false);
  FindOptions& find = context.options.find;
  find.text.Set(QStringLiteral("(\\w+_?)+\\.wav"));
  find.regex.Set(true);
  Finder finder{context.list, context.status, find, context.player};
  for (auto _ : state) finder.FindAll();
  state.counters["selected"] = context.list.Selection().SelectedCount();
}

BENCHMARK(BM_FindAllWavMid)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllBacktracking)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllWavMidShown)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStepMissWithWrap)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
