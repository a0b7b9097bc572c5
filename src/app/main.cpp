#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/Signals.h"
#include "platform/Sound.h"
#include "platform/gui/QtDialogs.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plinkbox"));
  // No display name: Qt would append it to every window title, and the titles are designed.
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  QApplication::setDesktopFileName(QStringLiteral("plinkbox"));
  // The interface is Chinese: Qt's own dialogs and buttons speak it too.
  QTranslator qtTranslator;
  if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);
  InitArtwork();
  InstallDialogs(std::make_unique<QtDialogs>());

  // Before the sound device opens, so that SDL leaves these signals to us.
  QuitSignals quitSignals;
  const QString configDir =
      ResolveConfigDir(QApplication::arguments(), QApplication::applicationDirPath());
  auto sound = std::make_unique<SdlSound>();
  sound->Open();  // without a device the program runs on and stays silent

  // The program-wide objects outlive every window.
  Application program(configDir, std::move(sound));
  MainWindow window(program);
  // A termination signal and the end of the desktop session close the window as its close box
  // does; the window, once closed, is hidden, so the quit that follows does not close it again.
  const auto closeWindow = [&window] { window.close(); };
  quitSignals.SetCloseHandler(closeWindow);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, closeWindow);
  window.show();
  return app.exec();
}
