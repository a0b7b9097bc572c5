// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

// The settings directory: --config-dir DIR among the arguments, else $PLINKBOX_CONFIG_DIR, else
// the executable's directory when a Plinkbox.ini is there (portable use), else
// $XDG_CONFIG_HOME/plinkbox (~/.config/plinkbox). Created when missing.
QString ResolveConfigDir(const QStringList& arguments, const QString& executableDir);
QString SettingsFilePath(const QString& configDir);  // configDir/Plinkbox.ini
QString ListFilePath(const QString& configDir);      // configDir/Plinkbox·音频列表.ini
