// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/HandOverReceiver.h"
#include "app/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/ProcessArguments.h"
#include "platform/QuitSignals.h"
#include "platform/SdlSound.h"
#include "platform/SettingsLock.h"
#include "platform/SingleInstance.h"
#include "platform/gui/QtDialogs.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

namespace {

// --help and --version on standard output, errors on standard error, as command-line tools do.
int Answer(const CommandLine& commandLine) {
  if (commandLine.help) {
    std::fputs(commandLine.helpText.toLocal8Bit().constData(), stdout);
  } else if (commandLine.version) {
    std::fputs("plinkbox " PLINKBOX_VERSION "\n", stdout);
  } else {
    std::fprintf(stderr, "plinkbox: %s\nTry 'plinkbox --help' for more information.\n",
                 commandLine.error.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

// What Qt says while it opens the display is held back: without a display it would end the
// process with its own messages and an abort; the user gets one line and status 1 instead.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char* argv[]) {
  static QList<std::pair<QtMsgType, QString>> held;
  static QtMessageHandler previous = nullptr;
  previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtFatalMsg) {
          held.append({type, text});
          return;
        }
        std::fputs("plinkbox: 需要图形界面会话（未能打开显示）\n", stderr);
        std::_Exit(1);
      });
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const auto& [type, text] : held) previous(type, QMessageLogContext(), text);
  held.clear();
  return app;
}

// A second start on the same settings that could not hand over: it writes nothing and says how
// to run a separate one.
int RefuseSecondStart(const QString& configDir) {
  const QString text = QStringLiteral(
                           "设置目录 %1 正由另一个 Plinkbox 使用，本次启动不会写入任何文件。\n"
                           "要同时运行另一个 Plinkbox，请用别的设置目录启动："
                           "plinkbox --config-dir 目录")
                           .arg(configDir);
  std::fprintf(stderr, "plinkbox: %s\n", text.toLocal8Bit().constData());
  // A box only where someone can see it (not on the offscreen platform of scripts and tests).
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) ShowMessage(text);
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const QString workingDirectory = CurrentDirectory();
  // Help and version answer before the display is opened, so they need none.
  if (const CommandLine early = ParseCommandLine(NativeArguments(argc, argv), workingDirectory);
      early.help || early.version)
    return Answer(early);

  // Takes Qt's own options (-platform, -style ...) out of argv.
  const std::unique_ptr<QApplication> app = OpenDisplay(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plinkbox"));
  // No display name: Qt would append it to every window title, and the titles are designed.
  QApplication::setApplicationVersion(QStringLiteral(PLINKBOX_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("plinkbox"));
  const QStringList arguments = NativeArguments(argc, argv);
  const CommandLine commandLine = ParseCommandLine(arguments, workingDirectory);
  if (!commandLine.error.isEmpty()) return Answer(commandLine);
  const QString configDir = ResolveConfigDir(arguments, QApplication::applicationDirPath());

  // A later start with the same settings hands its files to the running one and ends.
  SingleInstance instance(configDir);
  if (instance.ClaimName() == SingleInstance::Claim::kTaken && instance.HandOver(commandLine.files))
    return 0;

  // The interface is Chinese: Qt's own dialogs and buttons speak it too.
  QTranslator qtTranslator;
  if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);
  InitArtwork();
  InstallDialogs(std::make_unique<QtDialogs>());

  // Before the settings and the list file are read.
  SettingsLock lock(configDir);
  if (lock.Take() == SettingsLock::Result::kHeld) return RefuseSecondStart(configDir);

  // Before the sound device opens, so that SDL leaves these signals to us.
  QuitSignals quitSignals;
  auto sound = std::make_unique<SdlSound>();
  sound->Open();  // without a device the program runs on and stays silent

  // The program-wide objects outlive every window.
  Application program(configDir, std::move(sound));
  MainWindow window(program);
  // After the list of the last session, which the window has loaded.
  if (!commandLine.files.isEmpty()) program.FileOps().AddDroppedFiles(commandLine.files);
  new HandOverReceiver(instance, program.FileOps(), window);
  // A termination signal and the end of the desktop session close the window as its close box
  // does; the window, once closed, is hidden, so the quit that follows does not close it again.
  const auto closeWindow = [&window] { window.close(); };
  quitSignals.SetCloseHandler(closeWindow);
  QObject::connect(app.get(), &QGuiApplication::commitDataRequest, &window, closeWindow);
  window.show();
  return QApplication::exec();
}
