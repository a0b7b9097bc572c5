// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

class QWidget;
class SettingsStore;

// 位置 0 normal, 1 centred, 2 minimised, 3 maximised; the bounds 左边, 顶边, 宽度, 高度 only
// below 2. A section that is not empty becomes the store's current section.
void SaveWindowPlacement(const SettingsStore& store, QWidget* window, const QString& section);
// Stored bounds are fitted to the screens; with none stored the window keeps its own.
void LoadWindowPlacement(const SettingsStore& store, QWidget* window, const QString& section);
