// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings: one table, loaded when the window is created and saved when it
// closes, section by section in the table's order.
#include <QAction>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "core/CheckStates.h"
#include "list/ListFile.h"
#include "settings/ConfigDir.h"
#include "settings/gui/SettingsTable.h"

std::vector<SettingRow> MainWindow::SettingsTable() {
  const QString play = QStringLiteral("播放");
  const QString import = QStringLiteral("导入");
  const QString icons = QStringLiteral("列表图标");
  const QString move = QStringLiteral("移动选项");
  const QString find = QStringLiteral("查找参数");
  AppContext& c = app_.Context();
  FindParameters& f = app_.Find();
  QAction* loadAtStart = MenuItem(Caption::kLoadListAtStart);
  // The list loads last, once the icon setting has given the rows their height: a change of
  // height afterwards would resize a million rows one by one.
  const CustomTarget loadListFile{
      [this, loadAtStart](const SettingsStore&) {
        if (!loadAtStart->isChecked()) return;
        LoadListFile(app_.List(), ListFilePath(app_.Context().configDir), false);
        UpdateCountPart(app_.Context());
      },
      {}};
  const CustomTarget saveListFile{
      {},
      [this, loadAtStart](const SettingsStore&) {
        if (loadAtStart->isChecked())
          SaveListFile(app_.List(), ListFilePath(app_.Context().configDir));
      }};
  const CustomTarget applyIcons{[this](const SettingsStore&) { ApplyListIcons(); }, {}};

  return {
      {play, {}, MenuItem(Caption::kPlayOnce)},
      {play, {}, MenuItem(Caption::kPlayOnSelect)},
      {play, {}, MenuItem(Caption::kPlayOnDoubleClick)},
      {play, {}, MenuItem(Caption::kPlayOnHover)},
      {import, {}, loadAtStart},
      {import, {}, saveListFile},
      {import, QStringLiteral("上次文件名"), &c.lastImportFile},
      {icons, {}, MenuItem(QStringLiteral("无"))},
      {icons, {}, MenuItem(QStringLiteral("16x16"))},
      {icons, {}, MenuItem(QStringLiteral("32x32"))},
      {icons, {}, MenuItem(QStringLiteral("48x48"))},
      {icons, {}, applyIcons},
      {move, QStringLiteral("上次目录"), &c.lastTargetDirectory},
      {move, {}, MenuItem(Caption::kRemoveAfterMove)},
      {move, {}, MenuItem(Caption::kSmartRename)},
      {QStringLiteral("主窗口尺寸"), {}, PlacementTarget{this}},
      {find, QStringLiteral("欲查找"), &f.text},
      {find, QStringLiteral("启用正则"), &f.regex, false},
      {find, QStringLiteral("模糊匹配"), &f.fuzzy, true},
      {find, QStringLiteral("忽略大小写"), &f.ignoreCase, true},
      {find, QStringLiteral("找到时播放"), &f.playWhenFound, true},
      {find, QStringLiteral("当前位置"), &f.findPoint, -1},
      {import, {}, loadListFile},
  };
}

void MainWindow::LoadMainSettings() { LoadSettings(app_.Settings(), SettingsTable()); }

void MainWindow::SaveMainSettings() { SaveSettings(app_.Settings(), SettingsTable()); }
