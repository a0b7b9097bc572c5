#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/Sound.h"
#include "platform/gui/QtDialogs.h"
#include "settings/ConfigDir.h"
#include "ui/Artwork.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("plinkbox"));
  QApplication::setApplicationDisplayName(QStringLiteral("Plinkbox"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  QApplication::setDesktopFileName(QStringLiteral("plinkbox"));
  // The interface is Chinese: Qt's own dialogs and buttons speak it too.
  QTranslator qtTranslator;
  if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);
  InitArtwork();
  InstallDialogs(std::make_unique<QtDialogs>());

  const QString configDir =
      ResolveConfigDir(QApplication::arguments(), QApplication::applicationDirPath());
  auto sound = std::make_unique<SdlSound>();
  sound->Open();  // without a device the program runs on and stays silent

  // The program-wide objects outlive every window.
  Application program(configDir, std::move(sound));
  MainWindow window(program);
  window.show();
  return app.exec();
}
