// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the batch rename. Executions and undos of 10,000 files on disk are paired run by
// run with a plain C loop of rename(2) doing the same renames in a working order (sync before
// each side, the side that goes first alternating); the counter "ratio" is ours / the loop's,
// ask for repetitions to get its median and spread. A run with a cycle is timed with and
// without its journal. The preview of 10,000 rows for each rule, and one keystroke in a rule field
// of the window over 1,000,000 rows to the updated preview, are timed as they are.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <functional>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "list/SoundList.h"
#include "match/RegexMatcher.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "rename/BatchRenamer.h"
#include "rename/gui/BatchRenameWindow.h"
#include "settings/SettingsStore.h"

namespace {

constexpr int kFiles = 10000;

QString Name(int i) { return QStringLiteral("%1.wav").arg(i); }

// kFiles files 1.wav ... in a directory of their own, rows in that order.
struct Files {
  QTemporaryDir dir;
  Files() {
    for (int i = 1; i <= kFiles; ++i) {
      QFile f(dir.filePath(Name(i)));
      if (f.open(QIODevice::WriteOnly)) f.write("x");
    }
  }
};

double RenameLoop(const QString& dir, const std::vector<std::pair<QString, QString>>& steps) {
  std::vector<std::pair<QByteArray, QByteArray>> native;
  for (const auto& [from, to] : steps)
    native.emplace_back(ToNativePath(dir + u'/' + from), ToNativePath(dir + u'/' + to));
  ::sync();
  QElapsedTimer timer;
  timer.start();
  for (const auto& [from, to] : native) ::rename(from.constData(), to.constData());
  return double(timer.nsecsElapsed()) / 1e6;
}

struct Run {
  SoundList list;
  RegexMatcher matcher;
  UndoList undo;
  BatchRenamer renamer{list, matcher, undo};
  explicit Run(const QString& dir) {
    std::vector<SoundRow> rows;
    for (int i = 1; i <= kFiles; ++i) rows.push_back({Name(i), dir, 1, QString()});
    list.AppendRows(std::move(rows));
  }
};

RenameRule NumberRule(int start) {
  RenameRule rule;
  rule.start = start;
  rule.format.zeroFill = false;
  return rule;
}

// start 10001: every name new (1.wav -> 10001.wav ...); start 2: the shift-by-one chain, which
// the loop does from the free end.
void ExecuteAndUndo(benchmark::State& state, int start, bool undo) {
  for (auto _ : state) {
    state.PauseTiming();
    Files mine, theirs;
    Run run(mine.dir.path());
    std::vector<std::pair<QString, QString>> steps;
    for (int i = 1; i <= kFiles; ++i) steps.emplace_back(Name(i), Name(i + start - 1));
    if (start <= kFiles) std::reverse(steps.begin(), steps.end());
    static bool loopFirst = false;
    loopFirst = !loopFirst;
    double ours = 0;
    double loop = 0;
    QElapsedTimer timer;
    const auto timeOurs = [&](const std::function<void()>& job) {
      ::sync();
      timer.start();
      job();
      ours = double(timer.nsecsElapsed()) / 1e6;
    };
    const auto pair = [&](const std::function<void()>& job) {
      if (loopFirst) loop = RenameLoop(theirs.dir.path(), steps);
      timeOurs(job);
      if (!loopFirst) loop = RenameLoop(theirs.dir.path(), steps);
    };
    const auto execute = [&] {
      run.renamer.RenameRun(NumberRule(start), RunRows(run.list, false), RunMode::ExecuteMode);
    };
    if (undo) {
      timeOurs(execute);
      RenameLoop(theirs.dir.path(), steps);
      for (auto& step : steps) std::swap(step.first, step.second);
      std::reverse(steps.begin(), steps.end());
      pair([&] { run.renamer.UndoLast(); });
    } else {
      pair(execute);
    }
    state.SetIterationTime(ours / 1000);
    state.counters["loop_ms"] = loop;
    state.counters["ratio"] = ours / loop;
    state.ResumeTiming();
  }
}

void BM_Execute10k_Numbers(benchmark::State& s) { ExecuteAndUndo(s, kFiles + 1, false); }
void BM_Execute10k_Chain(benchmark::State& s) { ExecuteAndUndo(s, 2, false); }
void BM_Undo10k_Numbers(benchmark::State& s) { ExecuteAndUndo(s, kFiles + 1, true); }
void BM_Undo10k_Chain(benchmark::State& s) { ExecuteAndUndo(s, 2, true); }

// Runs of range(0) swaps of two files, each a cycle, without (0) and with (1) the run's journal
// in a settings directory on the same disk; the difference is what the journal costs.
void BM_SwapCycle(benchmark::State& state) {
  QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench_rename-XXXXXX"));
  const int cycles = int(state.range(0));
  SoundList list;
  std::vector<SoundRow> rows;
  std::vector<int> order;
  for (int i = 1; i <= 2 * cycles; ++i) {
    QFile(dir.filePath(Name(i))).open(QIODevice::WriteOnly);
    // Rows 2.wav, 1.wav, 4.wav, 3.wav, ... numbered from 1: each pair swaps.
    rows.push_back({Name(i % 2 ? i + 1 : i - 1), dir.path(), 0, {}});
    order.push_back(i % 2 ? i : i - 2);
  }
  list.AppendRows(std::move(rows));
  RegexMatcher matcher;
  UndoList undo;
  BatchRenamer renamer(list, matcher, undo,
                       state.range(1) ? dir.filePath(QStringLiteral("journal")) : QString());
  for (auto _ : state) {
    renamer.RenameRun(NumberRule(1), RunRows(list, false), RunMode::ExecuteMode);
    list.ApplyOrder(order);  // the rows show 2.wav, 1.wav, ... again: the next run swaps too
  }
  state.counters["cycles"] = cycles;
}

// The preview of all 10,000 rows, rule by rule (0 number ... 4 regular expression).
void BM_Preview10k(benchmark::State& state) {
  Files files;
  Run run(files.dir.path());
  RenameRule rule = NumberRule(1);
  rule.kind = static_cast<RuleKind>(state.range(0));
  rule.findText = QStringLiteral("1");
  rule.replaceWith = QStringLiteral("一");
  rule.insertText = QStringLiteral("鼓_");
  rule.pattern = QStringLiteral("(\\d+)");
  rule.regexReplacement = QStringLiteral("鼓$1");
  for (auto _ : state)
    run.renamer.RenameRun(rule, RunRows(run.list, false), RunMode::PreviewMode, kFiles);
}

// One key typed into 欲替换的 of the window over 1,000,000 rows (preview limit 20, as designed),
// until the preview shows the new names and their marks.
void BM_Keystroke1M(benchmark::State& state) {
  QTemporaryDir dir;
  SettingsStore settings;
  settings.Open(dir.filePath(QStringLiteral("Plinkbox.ini")));
  SoundList list;
  std::vector<SoundRow> rows(1000000);
  for (int i = 0; i < 1000000; ++i)
    rows[size_t(i)] = {
        QStringLiteral("短音%1.wav").arg(i), QStringLiteral("/音频/目录%1").arg(i % 100), 1, {}};
  list.AppendRows(std::move(rows));
  RegexMatcher matcher;
  UndoList undo;
  BatchRenamer renamer(list, matcher, undo);
  BatchRenameWindow window(settings, renamer, undo, list, nullptr);
  window.show();
  auto* pane = window.findChild<QPushButton*>(QStringLiteral("按钮预览"));
  if (!pane->isChecked()) pane->click();
  window.findChild<QTabWidget*>(QStringLiteral("选择夹"))->setCurrentIndex(1);
  auto* edit = window.findChild<QLineEdit*>(QStringLiteral("编辑框欲替换"));
  QApplication::processEvents();
  auto* preview = window.findChild<QTreeWidget*>(QStringLiteral("列表框预览"));
  for (auto _ : state) {
    QTest::keyClick(edit, Qt::Key_1);
    QApplication::processEvents();
    if (preview->topLevelItemCount() != 20) state.SkipWithError("no preview shown");
    state.PauseTiming();
    edit->clear();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_Execute10k_Numbers)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Execute10k_Chain)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Undo10k_Numbers)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Undo10k_Chain)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_SwapCycle)->ArgsProduct({{1, 1000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Preview10k)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke1M)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallDialogs(std::make_unique<ScriptedDialogs>());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
