// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConfigDir.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Files.h"
#include "text/PathParts.h"

namespace {

const QString& SettingsFileName() {
  static const QString name = QStringLiteral("Plinkbox.ini");
  return name;
}

QString ConfigDirFromArguments(const QStringList& arguments) {
  const QString option = QStringLiteral("--config-dir");
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == option && i + 1 < arguments.size()) return arguments[i + 1];
    if (arguments[i].startsWith(option + u'=')) return arguments[i].mid(option.size() + 1);
  }
  return QString();
}

QString UserConfigDir() {
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  // Relative values are invalid for XDG and ignored.
  const QString base = !xdg.isEmpty() && QDir::isAbsolutePath(xdg)
                           ? xdg
                           : JoinPath(QDir::homePath(), QStringLiteral(".config"));
  return JoinPath(base, QStringLiteral("plinkbox"));
}

// Creates the directory and every missing parent, one level at a time.
void CreateDirectories(const QString& path) {
  if (path.isEmpty() || Files::IsDirectory(path)) return;
  const QString parent = DirectoryPathOf(path);
  if (!parent.isEmpty() && parent != path) CreateDirectories(parent);
  Files::CreateDirectory(path);
}

}  // namespace

QString ResolveConfigDir(const QStringList& arguments, const QString& executableDir) {
  QString dir = ConfigDirFromArguments(arguments);
  if (dir.isEmpty()) dir = qEnvironmentVariable("PLINKBOX_CONFIG_DIR");
  if (dir.isEmpty() && !executableDir.isEmpty() &&
      Files::Exists(JoinPath(executableDir, SettingsFileName())))
    dir = executableDir;
  if (dir.isEmpty()) dir = UserConfigDir();
  dir = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  CreateDirectories(dir);
  return dir;
}

QString SettingsFilePath(const QString& configDir) {
  return JoinPath(configDir, SettingsFileName());
}

QString ListFilePath(const QString& configDir) {
  return JoinPath(configDir, QStringLiteral("Plinkbox·音频列表.ini"));
}
