// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the file operations with the list shown in a view: move, copy and delete of
// 10,000 small files, each paired run by run with the same work done by mv, cp or rm in one
// call on files synced to disk, and copying the names of 100,000 selected rows.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "ListContext.h"
#include "core/StatusTexts.h"
#include "fileops/FileOperations.h"
#include "list/SoundList.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedDialogs.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kNameRows = 100000;

// The main list in a shown view, the move options as designed (both checked) and scripted
// dialogs that answer OK and name the target folder.
struct Window : ListContext {
  Window() {
    view.setModel(&list);
    view.setSelectionModel(list.Selection().SelectionModel());
    QObject::connect(&list.Selection(), &RowSelection::scrollToRowRequested, &view,
                     [this](int row) { view.scrollTo(list.index(row, 0)); });
    view.resize(800, 600);
    view.show();
    options.move.smartRename.Set(true);
    options.move.removeAfterMove.Set(true);
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    InstallDialogs(std::move(scripted));
  }
  void Run(Command command, const QString& folder) {
    dialogs->prompts.clear();
    dialogs->messageAnswers = {Dialogs::kAnswerOk};
    dialogs->folders = {folder};
    ops.RunFileOperation(command);
    QApplication::processEvents();  // the repaint after the job belongs to its cost
  }

  FileOperations ops{list, status, options.move};
  ScriptedDialogs* dialogs = nullptr;
  QTableView view;
};

// Made in main, after the application and destroyed before it.
std::unique_ptr<Window> theWindow;
Window& TheWindow() { return *theWindow; }

// kFiles files of 1 KiB in source/ and an empty target/, both under base.
struct FileSet {
  QTemporaryDir dir;
  QString source = dir.path() + QStringLiteral("/source");
  QString target = dir.path() + QStringLiteral("/target");
  QStringList paths;
  explicit FileSet(const QString& base) : dir(base + QStringLiteral("/bench_fileops-XXXXXX")) {
    QDir(dir.path()).mkdir(QStringLiteral("source"));
    QDir(dir.path()).mkdir(QStringLiteral("target"));
    const QByteArray content(1024, 'x');
    for (int i = 0; i < kFiles; ++i) {
      paths << source + QStringLiteral("/短音%1.wav").arg(i, 5, 10, QChar(u'0'));
      QFile f(paths.back());
      if (f.open(QIODevice::WriteOnly)) f.write(content);
    }
  }
};

void LoadRows(const QStringList& paths) {
  SoundList& list = TheWindow().list;
  list.RemoveAllRows();
  list.AddPaths(paths, false);
  list.Selection().ChangeSelection(1);
  QApplication::processEvents();
}

void RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(-1);
  if (process.exitCode() != 0) qFatal("%s failed", qPrintable(program));
}

using Clock = std::chrono::steady_clock;

// One side of a pair: fresh files, synced to disk (not timed), then the timed work. Both sides
// meet the same state of the file system: the other side's files just removed, theirs just
// written and synced.
template <typename Work>
double TimeOneSide(const QString& base, bool loadRows, Work work) {
  auto files = std::make_unique<FileSet>(base);
  if (loadRows) LoadRows(files->paths);
  ::sync();
  const auto start = Clock::now();
  work(*files);
  const std::chrono::duration<double, std::milli> spent = Clock::now() - start;
  files.reset();
  return spent.count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

enum class Op { kMove, kCopy, kDelete };

// The tool doing the same work in one call: mv -t, cp -t or rm.
void RunToolFor(Op op, FileSet& f) {
  const QString tool = op == Op::kMove   ? QStringLiteral("mv")
                       : op == Op::kCopy ? QStringLiteral("cp")
                                         : QStringLiteral("rm");
  const QStringList into = op == Op::kDelete ? QStringList() : QStringList{"-t", f.target};
  RunTool(tool, into + f.paths);
}

void RunOursFor(Op op, FileSet& f) {
  if (op == Op::kDelete) return TheWindow().Run(Command::kDelete, QString());
  TheWindow().Run(op == Op::kMove ? Command::kMove : Command::kCopy, f.target);
}

// Each iteration is a pair: RunFileOperation beside the tool, the one going first alternating
// from pair to pair; the ratio is taken within each pair. The iteration time is ours.
void BM_Paired(benchmark::State& state, Op op, const char* base) {
  const QString dir = QString::fromLocal8Bit(base);
  std::vector<double> ours, tool, ratios;
  double load[1] = {0};
  ::getloadavg(load, 1);
  for (auto _ : state) {
    double times[2];  // ours, tool
    for (int i = 0; i < 2; ++i) {
      const bool oursNow = (i + int(state.iterations())) % 2 == 0;
      times[oursNow ? 0 : 1] =
          oursNow ? TimeOneSide(dir, true, [op](FileSet& f) { RunOursFor(op, f); })
                  : TimeOneSide(dir, false, [op](FileSet& f) { RunToolFor(op, f); });
    }
    state.SetIterationTime(times[0] / 1000.0);
    ours.push_back(times[0]);
    tool.push_back(times[1]);
    ratios.push_back(times[0] / times[1]);
  }
  TheWindow().list.RemoveAllRows();
  state.counters["ours_median_ms"] = Median(ours);
  state.counters["tool_median_ms"] = Median(tool);
  // A tool whose own times scatter widely tells that the file system was erratic in this run.
  state.counters["tool_min_ms"] = *std::min_element(tool.begin(), tool.end());
  state.counters["tool_max_ms"] = *std::max_element(tool.begin(), tool.end());
  state.counters["ratio_median"] = Median(ratios);
  state.counters["ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
  state.counters["ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
  state.counters["load_at_start"] = load[0];
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// Names only: the rows need no files.
void BM_CopyNames_100k(benchmark::State& state) {
  QStringList paths;
  for (int i = 0; i < kNameRows; ++i)
    paths << QStringLiteral("/音频/目录%1/短音%2.wav").arg(i % 100).arg(i);
  LoadRows(paths);
  for (auto _ : state) TheWindow().Run(Command::kCopyNames, QString());
  state.SetItemsProcessed(state.iterations() * kNameRows);
}

// On disk (/tmp, ext4 on this machine) and in memory (/dev/shm, tmpfs), or the places that
// PLINKBOX_FILEOPS_PLACES names as "name=directory;..." (such as an ext4 file system on a loop
// device in memory, which has ext4's work without the disk's stalls).
constexpr int kPairs = 6;
const bool kPairedRegistered = [] {
  static std::vector<std::pair<std::string, std::string>> places{{"disk", "/tmp"},
                                                                 {"shm", "/dev/shm"}};
  if (const char* named = std::getenv("PLINKBOX_FILEOPS_PLACES")) {
    places.clear();
    for (const QString& item : QString::fromLocal8Bit(named).split(u';', Qt::SkipEmptyParts)) {
      const QStringList parts = item.split(u'=');
      if (parts.size() == 2) places.emplace_back(parts[0].toStdString(), parts[1].toStdString());
    }
  }
  const std::pair<const char*, Op> ops[] = {
      {"copy", Op::kCopy}, {"move", Op::kMove}, {"delete", Op::kDelete}};
  for (const auto& [place, base] : places) {
    for (const auto& [name, op] : ops) {
      benchmark::RegisterBenchmark(("BM_Paired/" + std::string(name) + "_" + place).c_str(),
                                   BM_Paired, op, base.c_str())
          ->Unit(benchmark::kMillisecond)
          ->UseManualTime()
          ->Iterations(kPairs);
    }
  }
  return true;
}();
BENCHMARK(BM_CopyNames_100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  theWindow = std::make_unique<Window>();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  theWindow.reset();
  return 0;
}
