// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the sound list: list file load and save with 100,000 existing files, sorts of
// 100,000 and 1,000,000 rows in a shown view (by name beside `LC_ALL=C sort` of the same names,
// by size beside the name sort, paired run by run: ask for --benchmark_repetitions=5 to get the
// median and spread of "ratio"), removal of scattered rows under a view, and the memory one row
// costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <numeric>
#include <random>

#include "list/ListFile.h"
#include "list/ListRowSorter.h"
#include "list/SoundList.h"

namespace {

constexpr int kRows = 100000;
constexpr int kDirectories = 100;

// A 20-character name: letters, digits and some Chinese characters.
QString RandomName(QRandomGenerator& random) {
  static const QString chars = QStringLiteral(
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_ 鼓声钢琴啊吧中音效");
  QString name;
  for (int i = 0; i < 16; ++i) name += chars[random.bounded(static_cast<int>(chars.size()))];
  return name + QStringLiteral(".wav");
}

QStringList RandomPaths(const QString& root, int count) {
  QRandomGenerator random(7);
  QStringList paths;
  paths.reserve(count);
  for (int i = 0; i < count; ++i) {
    paths << root + QStringLiteral("/目录%1/").arg(i % kDirectories) + RandomName(random);
  }
  return paths;
}

// 100,000 files in 100 directories and a list file naming them, made once. The files hold no
// data: each is sparse, of a random length below 1 MiB, so that the sizes differ.
struct FileSet {
  QTemporaryDir dir;
  QString listPath;
  QStringList paths;
  FileSet() {
    for (int d = 0; d < kDirectories; ++d) QDir(dir.path()).mkdir(QStringLiteral("目录%1").arg(d));
    paths = RandomPaths(dir.path(), kRows);
    QRandomGenerator sizes(5);
    QByteArray text;
    for (QString& p : paths) {
      QFile f(p);
      if (!f.open(QIODevice::WriteOnly)) {  // the same random name twice
        p += QStringLiteral(".2");
        f.setFileName(p);
        f.open(QIODevice::WriteOnly);
      }
      f.resize(sizes.bounded(1 << 20));
      text += p.toUtf8() + '\n';
    }
    listPath = dir.path() + QStringLiteral("/list.ini");
    QFile list(listPath);
    list.open(QIODevice::WriteOnly);
    list.write(text);
  }
};

FileSet& TheFiles() {
  static FileSet set;
  return set;
}

qint64 PeakRssKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  return -1;
}

// Peak RSS growth while 100,000 rows (20-character names, 100 directories) are added.
void BM_MemoryPerRow(benchmark::State& state) {
  const QStringList paths = RandomPaths(QStringLiteral("/nonexistent/声音"), kRows);
  for (auto _ : state) {
    QFile reset(QStringLiteral("/proc/self/clear_refs"));  // "5" restarts the peak count
    if (reset.open(QIODevice::WriteOnly)) reset.write("5");
    reset.close();
    const qint64 before = PeakRssKb();
    auto list = std::make_unique<SoundList>();
    list->AddPaths(paths, false);
    const qint64 after = PeakRssKb();
    state.counters["bytes_per_row"] = static_cast<double>(after - before) * 1024.0 / kRows;
    state.counters["rows"] = list->RowCount();
  }
}
BENCHMARK(BM_MemoryPerRow)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadListFile(benchmark::State& state) {
  FileSet& files = TheFiles();
  for (auto _ : state) {
    SoundList list;
    const int added = LoadListFile(list, files.listPath, false);
    benchmark::DoNotOptimize(added);
    state.counters["rows"] = added;
  }
}
BENCHMARK(BM_LoadListFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveListFile(benchmark::State& state) {
  FileSet& files = TheFiles();
  SoundList list;
  list.AddPaths(files.paths, false);
  const QString out = files.dir.path() + QStringLiteral("/saved.ini");
  for (auto _ : state) benchmark::DoNotOptimize(SaveListFile(list, out));
  state.counters["rows"] = list.RowCount();
}
BENCHMARK(BM_SaveListFile)->Unit(benchmark::kMillisecond)->Iterations(10);

std::vector<int> EveryThirdRow(int count) {
  std::vector<int> rows;
  for (int r = 0; r < count; r += 3) rows.push_back(r);
  return rows;
}

// A list of count rows (20-character names in 100 directories, random sizes below 1 GiB) in a
// shown table view, made once per row count, with its names written once to a file, one a line,
// for sort(1). A third of the rows are selected when asked.
struct SortSet {
  SoundList list;
  QTableView view;
  QTemporaryDir dir;
  QString namesPath;
  std::mt19937 random{11};
  explicit SortSet(int count) {
    QRandomGenerator names(7);
    QRandomGenerator sizes(5);
    std::vector<SoundRow> rows;
    rows.reserve(static_cast<size_t>(count));
    QByteArray text;
    for (int i = 0; i < count; ++i) {
      const QString directory = QStringLiteral("/nonexistent/声音/目录%1").arg(i % kDirectories);
      rows.push_back({RandomName(names), directory, qint64(sizes.bounded(1 << 30)), QString()});
      text += rows.back().fileName.toUtf8() + '\n';
    }
    list.AppendRows(std::move(rows));
    namesPath = dir.path() + QStringLiteral("/names.txt");
    QFile file(namesPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) qFatal("names file");
    view.setModel(&list);
    view.setSelectionModel(list.Selection().SelectionModel());
    view.resize(800, 600);
    view.show();
  }
  void Select(bool third) {
    list.Selection().ChangeSelection(-1);
    if (third) list.Selection().SelectRows(EveryThirdRow(list.RowCount()));
  }
  void Shuffle() {
    std::vector<int> order(static_cast<size_t>(list.RowCount()));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    list.ApplyOrder(order);
    QCoreApplication::processEvents();
  }
  // A shuffle, then the sort as the user waits for it: the rows in order and the view repainted.
  double ShuffledSortMs(ListRowSorter::KeyKind kind, int column) {
    Shuffle();
    QElapsedTimer timer;
    timer.start();
    ListRowSorter().SortRows(list, kind, column, true);
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
  }
};

std::unique_ptr<SortSet> theSortSet;  // ended before the application

SortSet& TheSortSet(int count) {
  if (!theSortSet || theSortSet->list.RowCount() != count) {
    theSortSet.reset();
    theSortSet = std::make_unique<SortSet>(count);
  }
  return *theSortSet;
}

double SortToolMs(const QString& path) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  QElapsedTimer timer;
  timer.start();
  process.start(QStringLiteral("sort"), {path});
  process.waitForFinished(-1);
  if (process.exitCode() != 0) qFatal("sort failed");
  return double(timer.nsecsElapsed()) / 1e6;
}

// The name sort of range(0) shuffled rows beside `LC_ALL=C sort` of the same names, run by run:
// "ratio" is sort time / tool time. range(1): a third of the rows selected.
void BM_SortByName(benchmark::State& state) {
  SortSet& set = TheSortSet(static_cast<int>(state.range(0)));
  set.Select(state.range(1) != 0);
  for (auto _ : state) {
    const double mine = set.ShuffledSortMs(ListRowSorter::kByText, SoundList::kNameColumn);
    const double tool = SortToolMs(set.namesPath);
    state.SetIterationTime(mine / 1000);
    state.counters["tool_ms"] = tool;
    state.counters["ratio"] = mine / tool;
  }
}
BENCHMARK(BM_SortByName)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// The size sort beside the name sort of the same rows, run by run: "ratio" is size / name.
void BM_SortBySize(benchmark::State& state) {
  SortSet& set = TheSortSet(static_cast<int>(state.range(0)));
  set.Select(state.range(1) != 0);
  for (auto _ : state) {
    const double byName = set.ShuffledSortMs(ListRowSorter::kByText, SoundList::kNameColumn);
    const double bySize = set.ShuffledSortMs(ListRowSorter::kByValue, SoundList::kSizeColumn);
    state.SetIterationTime(bySize / 1000);
    state.counters["name_ms"] = byName;
    state.counters["ratio"] = bySize / byName;
  }
}
BENCHMARK(BM_SortBySize)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// RemoveRows under a table view: range(0) runs of one row spread over 100,000 rows; with
// range(1) every other row is selected (50,000 selection ranges to carry over).
void BM_RemoveScattered(benchmark::State& state) {
  const QStringList paths = RandomPaths(QStringLiteral("/nonexistent/声音"), kRows);
  const int runs = static_cast<int>(state.range(0));
  const bool selectHalf = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    SoundList list;
    list.AddPaths(paths, false);
    QTableView view;
    view.setModel(&list);
    view.setSelectionModel(list.Selection().SelectionModel());
    view.resize(600, 400);
    view.show();
    std::vector<int> half;
    for (int r = 0; r < kRows && selectHalf; r += 2) half.push_back(r);
    list.Selection().SelectRows(half);
    std::vector<int> rows;
    for (int i = 0; i < runs; ++i) rows.push_back(static_cast<int>(qint64(i) * kRows / runs));
    QCoreApplication::processEvents();
    state.ResumeTiming();
    list.RemoveRows(rows);
    QCoreApplication::processEvents();
    state.PauseTiming();
    view.setModel(nullptr);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RemoveScattered)
    ->ArgsProduct({{1, 4, 16, 17, 1000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  theSortSet.reset();
  return 0;
}
