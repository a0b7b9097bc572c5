// Figures of the sound list: list file load and save with 100,000 existing files, sorts of
// 100,000 rows, removal of scattered rows under a view, and the memory one row costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <numeric>

#include "list/ListFile.h"
#include "list/ListRowSorter.h"
#include "list/SoundList.h"

namespace {

constexpr int kRows = 100000;
constexpr int kDirectories = 100;

// A 20-character name: letters, digits and some Chinese characters.
QString RandomName(QRandomGenerator& random) {
  static const QString chars =
      QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_ 鼓声钢琴啊吧中音效");
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

// Sorts a shuffled list of 100,000 rows by one column; range(1) rows in three are selected.
void SortBench(benchmark::State& state, ListRowSorter::KeyKind kind) {
  const QStringList paths = RandomPaths(QStringLiteral("/nonexistent/声音"), kRows);
  SoundList list;
  list.AddPaths(paths, false);
  QRandomGenerator random(11);
  ListRowSorter sorter;
  std::vector<int> shuffle(kRows);
  std::iota(shuffle.begin(), shuffle.end(), 0);
  if (state.range(0)) list.Selection().SelectRows(EveryThirdRow(kRows));
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(shuffle.begin(), shuffle.end(), std::mt19937(random.generate()));
    list.ApplyOrder(shuffle);
    state.ResumeTiming();
    sorter.SortRows(list, kind, kind == ListRowSorter::kByValue ? 1 : 0, true);
  }
  state.counters["selected"] = list.Selection().SelectedCount();
}

void BM_SortByName(benchmark::State& state) { SortBench(state, ListRowSorter::kByText); }
BENCHMARK(BM_SortByName)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Sorts the rows of the real files by size; range(0) as above.
void BM_SortBySize(benchmark::State& state) {
  FileSet& files = TheFiles();
  SoundList list;
  list.AddPaths(files.paths, false);
  ListRowSorter sorter;
  std::vector<int> shuffle(kRows);
  std::iota(shuffle.begin(), shuffle.end(), 0);
  QRandomGenerator random(13);
  if (state.range(0)) list.Selection().SelectRows(EveryThirdRow(list.RowCount()));
  shuffle.resize(static_cast<size_t>(list.RowCount()));
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(shuffle.begin(), shuffle.end(), std::mt19937(random.generate()));
    list.ApplyOrder(shuffle);
    state.ResumeTiming();
    sorter.SortRows(list, ListRowSorter::kByValue, 1, true);
  }
}
BENCHMARK(BM_SortBySize)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
    ->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
