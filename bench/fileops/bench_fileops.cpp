// Figures of the file operations with the list shown in a view: move, copy and delete of
// 10,000 small files, each beside the same work done by mv, cp or rm in one call, and copying
// the names of 100,000 selected rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include "ListContext.h"
#include "core/AppContext.h"
#include "core/CheckStates.h"
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
    checks.states[Caption::kSmartRename] = true;
    checks.states[Caption::kRemoveAfterMove] = true;
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    InstallDialogs(std::move(scripted));
  }
  void Run(int code, const QString& folder) {
    dialogs->prompts.clear();
    dialogs->messageAnswers = {Dialogs::kAnswerOk};
    dialogs->folders = {folder};
    ops.RunFileOperation(code);
    QApplication::processEvents();  // the repaint after the job belongs to its cost
  }

  FileOperations ops{context};
  ScriptedDialogs* dialogs = nullptr;
  QTableView view;
};

// Made in main, after the application and destroyed before it.
std::unique_ptr<Window> theWindow;
Window& TheWindow() { return *theWindow; }

// kFiles files of 1 KiB in source/, an empty target/, both on one file system.
struct FileSet {
  QTemporaryDir dir;
  QString source = dir.path() + QStringLiteral("/source");
  QString target = dir.path() + QStringLiteral("/target");
  QStringList paths;
  FileSet() {
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

// One iteration: fresh files (not timed), then the timed work.
template <typename Work>
void Iterate(benchmark::State& state, Work work) {
  for (auto _ : state) {
    state.PauseTiming();
    auto files = std::make_unique<FileSet>();
    LoadRows(files->paths);
    state.ResumeTiming();
    work(*files);
    state.PauseTiming();
    files.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_Move_RunFileOperation(benchmark::State& state) {
  Iterate(state, [](FileSet& f) { TheWindow().Run(kOpMove, f.target); });
}

void BM_Move_mv(benchmark::State& state) {
  Iterate(state, [](FileSet& f) {
    RunTool(QStringLiteral("mv"), QStringList{QStringLiteral("-t"), f.target} + f.paths);
  });
}

void BM_Copy_RunFileOperation(benchmark::State& state) {
  Iterate(state, [](FileSet& f) { TheWindow().Run(kOpCopy, f.target); });
}

void BM_Copy_cp(benchmark::State& state) {
  Iterate(state, [](FileSet& f) {
    RunTool(QStringLiteral("cp"), QStringList{QStringLiteral("-t"), f.target} + f.paths);
  });
}

void BM_Delete_RunFileOperation(benchmark::State& state) {
  Iterate(state, [](FileSet&) { TheWindow().Run(kOpDelete, QString()); });
}

void BM_Delete_rm(benchmark::State& state) {
  Iterate(state, [](FileSet& f) { RunTool(QStringLiteral("rm"), f.paths); });
}

// Names only: the rows need no files.
void BM_CopyNames_100k(benchmark::State& state) {
  QStringList paths;
  for (int i = 0; i < kNameRows; ++i)
    paths << QStringLiteral("/音频/目录%1/短音%2.wav").arg(i % 100).arg(i);
  LoadRows(paths);
  for (auto _ : state) TheWindow().Run(kOpCopyNames, QString());
  state.SetItemsProcessed(state.iterations() * kNameRows);
}

BENCHMARK(BM_Move_RunFileOperation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Move_mv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Copy_RunFileOperation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Copy_cp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Delete_RunFileOperation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Delete_rm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
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
