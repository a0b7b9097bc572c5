// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileManager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDir>
#include <QProcess>

#include "platform/NativePath.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");

QString Absolute(const QString& path) {
  if (path.startsWith(QLatin1Char('/'))) return path;
  return QDir::currentPath() + QLatin1Char('/') + path;
}

QString DirectoryOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

bool StartXdgOpen(const QString& absolutePath) {
  // An argument list and an absolute path: nothing is parsed by a shell or taken for an option.
  const QString target = HasEscapedBytes(absolutePath)
                             ? QString::fromLatin1(FileUrlBytes(absolutePath))
                             : absolutePath;
  return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

bool FileManagerReachable(const QDBusConnection& bus) {
  if (!bus.isConnected() || !bus.interface()) return false;
  QDBusConnectionInterface* iface = bus.interface();
  if (iface->isServiceRegistered(kService).value()) return true;
  const QDBusReply<QStringList> activatable = iface->activatableServiceNames();
  return activatable.isValid() && activatable.value().contains(kService);
}

}  // namespace

bool ShowInFileManager(const QString& path) {
  const QString absolute = Absolute(path);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!FileManagerReachable(bus)) return StartXdgOpen(DirectoryOf(absolute));

  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/FileManager1"),
                                     kService, QStringLiteral("ShowItems"));
  call << QStringList{QString::fromLatin1(FileUrlBytes(absolute))} << QString();
  // Asynchronous, so a file manager that is slow to start never freezes the window; when the
  // call fails the directory is opened instead.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, absolute] {
    if (watcher->isError()) StartXdgOpen(DirectoryOf(absolute));
    watcher->deleteLater();
  });
  return true;
}

bool OpenWithDesktop(const QString& path) { return StartXdgOpen(Absolute(path)); }
