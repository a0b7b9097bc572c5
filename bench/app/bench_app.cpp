// Start-up: from creating the sound output and the main window to the window shown and painted,
// with a list file of 10,000 existing files.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "list/SoundList.h"
#include "platform/Sound.h"
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

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                    : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  InitArtwork();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
