// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QHash>
#include <QString>

// The check marks of the menu items, known by their captions ("仅播放一次", "重名时智能改名").
// Logic reads a check mark at the moment it needs it; the main window answers from its menus.
class CheckStates {
 public:
  virtual ~CheckStates() = default;
  virtual bool IsChecked(const QString& caption) const = 0;
};

// A plain table of check marks, for tests and for logic run without the main window.
class CheckTable : public CheckStates {
 public:
  bool IsChecked(const QString& caption) const override { return states.value(caption, false); }
  QHash<QString, bool> states;
};

namespace Caption {
inline const QString kPlayOnce = QStringLiteral("仅播放一次");
inline const QString kPlayOnSelect = QStringLiteral("选择时发音");
inline const QString kPlayOnDoubleClick = QStringLiteral("双击时发音");
inline const QString kPlayOnHover = QStringLiteral("移过时发音");
inline const QString kLoadListAtStart = QStringLiteral("启动时载入上次列表");
inline const QString kRemoveAfterMove = QStringLiteral("移动后移除列表");
inline const QString kSmartRename = QStringLiteral("重名时智能改名");
}  // namespace Caption
