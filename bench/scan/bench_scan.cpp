// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the directory scan, each paired run by run with the Unix tool that does the same
// work: find over a tree of 50,000 files (quiet, showing names, and with 1,000,000 rows already in
// a shown list), classifying 10,000 files by moving (beside mv) and by copying (beside cp). The
// counter "ratio" is scan time / tool time of the same repetition; ask for repetitions
// (--benchmark_repetitions=5) to get its median and spread. BM_Responsiveness500k scans 500,000
// files and reports how long a 1 ms timer waits, the time from a stop request to the end of the
// scan, and the memory grown per row added.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <map>
#include <memory>

#include "ListContext.h"
#include "match/RegexMatcher.h"
#include "platform/ScriptedDialogs.h"
#include "scan/DirectoryScan.h"
#include "scan/gui/SearchDirWindow.h"
#include "settings/SettingsStore.h"
#include "ui/TooltipHelper.h"

namespace {

const QString kFilter = QStringLiteral("*.wav|*.mid");

// The list in a shown view as the main window sets it up, with the scan and its window on it.
struct Bench : ListContext {
  QTemporaryDir config;
  SettingsStore settings;
  TooltipHelper tooltips;
  QTableView view;
  RegexMatcher matcher;
  DirectoryScan scan{list, status, matcher};
  std::unique_ptr<SearchDirWindow> window;
  Bench() {
    view.setModel(&list);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.resize(800, 600);
    view.show();
    settings.Open(config.filePath(QStringLiteral("Plinkbox.ini")));
    tooltips.Create(true, true);
    window = std::make_unique<SearchDirWindow>(settings, scan, tooltips, nullptr);
    window->show();
    InstallDialogs(std::make_unique<ScriptedDialogs>());
  }
  // The window's controls set to scan directory alone with options.
  void SetUp(const QString& directory, const ScanOptions& o) {
    auto* directories = window->findChild<QListWidget*>(QStringLiteral("列表框目录"));
    directories->clear();
    auto* item = new QListWidgetItem(directory, directories);
    item->setData(Qt::UserRole, 0);
    item->setCheckState(Qt::Checked);
    const auto check = [this](const char* name, bool on) {
      window->findChild<QCheckBox*>(QString::fromUtf8(name))->setChecked(on);
    };
    check("选择框遍历", o.recurse);
    check("选择框过滤", !o.filter.isEmpty());
    window->findChild<QComboBox*>(QStringLiteral("组合框过滤"))->setEditText(o.filter);
    check("选择框归类", !o.expression.isEmpty());
    window->findChild<QPlainTextEdit*>(QStringLiteral("编辑框归类"))->setPlainText(o.expression);
    check("选择框拷贝", o.copy);
    check("选择框改名", o.smartRename);
    check("选择框不提示", o.quiet);
    check("选择框载入列表", o.load);
    check("选择框载入前清空", false);
  }
  double Scan(const QString& directory, const ScanOptions& options) {
    SetUp(directory, options);
    QElapsedTimer timer;
    timer.start();
    scan.RunScan(*window);
    QApplication::processEvents();  // the repaint after the run belongs to its cost
    return double(timer.nsecsElapsed()) / 1e6;
  }
  // Leaves the first keep rows.
  void Trim(int keep) {
    std::vector<int> rows;
    for (int r = keep; r < list.RowCount(); ++r) rows.push_back(r);
    list.RemoveRows(std::move(rows));
  }
};
std::unique_ptr<Bench> theBench;

double RunTool(const QString& program, const QStringList& arguments) {
  QElapsedTimer timer;
  timer.start();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  process.waitForFinished(-1);
  if (process.exitCode() != 0) qFatal("%s failed", qPrintable(program));
  return double(timer.nsecsElapsed()) / 1e6;
}

// files files of 64 bytes in files / perDirectory directories, a third of them .wav or .mid.
// With sevenTenths, seven in ten are taken and the files are empty (a million pages of a tmpfs
// would cost 4 GB).
void MakeTree(const QString& root, int files, int perDirectory, bool sevenTenths = false) {
  const QByteArray content = sevenTenths ? QByteArray() : QByteArray(64, 'x');
  const char* third[] = {".wav", ".mid", ".txt", ".mp3", ".png", ".ogg"};
  const char* most[] = {".wav", ".mid", ".wav", ".mid", ".wav",
                        ".mid", ".wav", ".txt", ".mp3", ".png"};
  for (int i = 0; i < files; ++i) {
    const QString dir = root + QStringLiteral("/组%1").arg(i / perDirectory);
    if (i % perDirectory == 0) QDir().mkpath(dir);
    const char* extension = sevenTenths ? most[i % 10] : third[i % 6];
    QFile f(dir + QStringLiteral("/短音%1").arg(i) + QLatin1String(extension));
    if (f.open(QIODevice::WriteOnly)) f.write(content);
  }
}

// A temporary directory in memory (/dev/shm) where there is one.
QString InMemory() {
  const QString shm = QStringLiteral("/dev/shm");
  return QFileInfo(shm).isWritable() ? shm + QStringLiteral("/bench_scan-XXXXXX") : QString();
}

struct Tree {
  QTemporaryDir dir;
  Tree() { MakeTree(dir.path(), 50000, 20); }
};
Tree& TheTree() {
  static Tree tree;
  return tree;
}

ScanOptions LoadOptions(bool quiet) {
  ScanOptions o;
  o.recurse = true;
  o.filter = kFilter;
  o.quiet = quiet;
  o.load = true;
  return o;
}

void Report(benchmark::State& state, double mine, double tool) {
  state.SetIterationTime(mine / 1000);
  state.counters["tool_ms"] = tool;
  state.counters["ratio"] = mine / tool;
}

// Scan beside find, warm cache; rows are the list's before plus the ones the scan added.
void ScanBesideFind(benchmark::State& state, bool quiet, int rowsBefore) {
  Bench& b = *theBench;
  const QString root = TheTree().dir.path();
  b.list.RemoveAllRows();
  if (rowsBefore > 0) {
    std::vector<SoundRow> rows(static_cast<size_t>(rowsBefore));
    for (int i = 0; i < rowsBefore; ++i)
      rows[size_t(i)] = {QStringLiteral("行%1.wav").arg(i),
                         QStringLiteral("/音频/目录%1").arg(i % 100), 1000, QString()};
    b.list.AppendRows(std::move(rows));
  }
  const QStringList findArgs{root,    "-type", "f",      "(",     "-iname",
                             "*.wav", "-o",    "-iname", "*.mid", ")"};
  RunTool(QStringLiteral("find"), findArgs);  // warm the cache
  for (auto _ : state) {
    const double mine = b.Scan(root, LoadOptions(quiet));
    const double tool = RunTool(QStringLiteral("find"), findArgs);
    Report(state, mine, tool);
    b.Trim(rowsBefore);
  }
  b.list.RemoveAllRows();
}

void BM_Scan50k_Quiet(benchmark::State& s) { ScanBesideFind(s, true, 0); }
void BM_Scan50k_ShowingNames(benchmark::State& s) { ScanBesideFind(s, false, 0); }
void BM_Scan50k_Quiet_1MRowsShown(benchmark::State& s) { ScanBesideFind(s, true, 1000000); }
void BM_Scan50k_ShowingNames_1MRowsShown(benchmark::State& s) { ScanBesideFind(s, false, 1000000); }

// 10,000 files classified by "#扩展名" into one directory of the same file system, beside the
// tool moving or copying the same files in one call; sync before each.
void ClassifyBesideTool(benchmark::State& state, bool copy) {
  Bench& b = *theBench;
  for (auto _ : state) {
    QTemporaryDir mine, theirs;
    for (QTemporaryDir* d : {&mine, &theirs}) {
      QDir().mkpath(d->path() + QStringLiteral("/源"));
      const QByteArray content(1024, 'x');
      for (int i = 0; i < 10000; ++i) {
        QFile f(d->path() + QStringLiteral("/源/短音%1.wav").arg(i));
        if (f.open(QIODevice::WriteOnly)) f.write(content);
      }
    }
    QStringList toolFiles;
    for (int i = 0; i < 10000; ++i)
      toolFiles << theirs.path() + QStringLiteral("/源/短音%1.wav").arg(i);
    QDir().mkpath(theirs.path() + QStringLiteral("/wav"));
    RunTool(QStringLiteral("sync"), {});

    ScanOptions o;
    o.expression = mine.path() + QStringLiteral("/#扩展名");
    o.copy = copy;
    o.smartRename = true;
    o.quiet = true;
    const double scanMs = b.Scan(mine.path() + QStringLiteral("/源"), o);
    RunTool(QStringLiteral("sync"), {});
    const double toolMs =
        RunTool(copy ? QStringLiteral("cp") : QStringLiteral("mv"),
                QStringList{"-t", theirs.path() + QStringLiteral("/wav")} + toolFiles);
    Report(state, scanMs, toolMs);
  }
}

void BM_Classify10k_Move(benchmark::State& s) { ClassifyBesideTool(s, false); }
void BM_Classify10k_Copy(benchmark::State& s) { ClassifyBesideTool(s, true); }

long VmRssKb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return 0;
}

// A scan of 500,000 files: the waits of a 1 ms timer during it (median, 99th percentile, longest:
// how long the window waits for its events), and the time from a stop
// request (after 2 s) to the end of the scan. The tree is made in memory (/dev/shm) where there is
// one: creating half a million files on disk takes longer than the figure is worth.
void BM_Responsiveness500k(benchmark::State& state) {
  Bench& b = *theBench;
  QTemporaryDir dir(InMemory());
  MakeTree(dir.path(), 500000, 200);
  for (auto _ : state) {
    b.list.RemoveAllRows();
    const long rssBefore = VmRssKb();
    QElapsedTimer sinceTick, sinceStop;
    std::vector<double> waits;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      if (sinceTick.isValid()) waits.push_back(double(sinceTick.nsecsElapsed()) / 1e6);
      sinceTick.start();
    });
    ticker.start();
    QTimer::singleShot(2000, [&] {
      sinceStop.start();
      RequestScanStop();
    });
    ScanOptions o = LoadOptions(false);
    o.filter.clear();
    const double ms = b.Scan(dir.path(), o);
    const double stopMs = sinceStop.isValid() ? double(sinceStop.nsecsElapsed()) / 1e6 : -1;
    state.SetIterationTime(ms / 1000);
    std::sort(waits.begin(), waits.end());
    const auto at = [&waits](double q) {
      return waits.empty() ? 0 : waits[size_t(q * (waits.size() - 1))];
    };
    state.counters["event_wait_p50_ms"] = at(0.5);
    state.counters["event_wait_p99_ms"] = at(0.99);
    state.counters["event_wait_max_ms"] = at(1);
    state.counters["stop_to_end_ms"] = stopMs;
    state.counters["rows"] = b.list.RowCount();
    state.counters["rss_bytes_per_row"] =
        b.list.RowCount() ? double(VmRssKb() - rssBefore) * 1024 / b.list.RowCount() : 0;
  }
  b.list.RemoveAllRows();
}

// The scan as the user starts it: a click on 执行 to the closing message (and the repaint
// after it), the list cleared and loaded, names shown, filter "*.wav|*.mid", no classification.
// Beside find doing the same walk and filter; scan and find alternate, one pair per
// repetition, both over the same tree in memory (tmpfs), whose pages stay cached throughout.
void ClickBesideFind(benchmark::State& state, int files, int perDirectory) {
  Bench& b = *theBench;
  // Made once for all repetitions.
  static std::map<int, std::unique_ptr<QTemporaryDir>> trees;
  std::unique_ptr<QTemporaryDir>& tree = trees[files];
  if (!tree) {
    tree = std::make_unique<QTemporaryDir>(InMemory());
    MakeTree(tree->path(), files, perDirectory, true);
  }
  const QTemporaryDir& dir = *tree;
  ScanOptions o = LoadOptions(false);
  b.SetUp(dir.path(), o);
  b.window->findChild<QCheckBox*>(QStringLiteral("选择框载入前清空"))->setChecked(true);
  auto* run = b.window->findChild<QPushButton*>(QStringLiteral("按钮执行"));
  const QStringList findArgs{dir.path(), "-type", "f",      "(",     "-iname",
                             "*.wav",    "-o",    "-iname", "*.mid", ")"};
  RunTool(QStringLiteral("find"), findArgs);
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    run->click();
    QApplication::processEvents();
    const double mine = double(timer.nsecsElapsed()) / 1e6;
    Report(state, mine, RunTool(QStringLiteral("find"), findArgs));
    state.counters["rows"] = b.list.RowCount();
  }
  b.list.RemoveAllRows();
}

void BM_Click50k_2500Dirs(benchmark::State& s) { ClickBesideFind(s, 50000, 20); }
void BM_Click1M_100Dirs(benchmark::State& s) { ClickBesideFind(s, 1000000, 10000); }

BENCHMARK(BM_Click50k_2500Dirs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Click1M_100Dirs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Scan50k_Quiet)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Scan50k_ShowingNames)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Scan50k_Quiet_1MRowsShown)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_Scan50k_ShowingNames_1MRowsShown)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_Classify10k_Move)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Classify10k_Copy)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Responsiveness500k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  theBench = std::make_unique<Bench>();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  theBench.reset();
  return 0;
}
