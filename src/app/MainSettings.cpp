// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings: one list of bindings, loaded when the window is created and saved
// when it closes, section by section in the list's order.
#include <QAction>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "list/ListFile.h"
#include "settings/ConfigDir.h"
#include "settings/gui/OptionBinder.h"

std::vector<OptionBinding> MainWindow::BindSettings() {
  MainOptions& o = app_.Options();
  // A check item is stored under its caption.
  const auto item = [this](Option<bool>& option) { return Bind(option, MenuItem(option.Key())); };
  const std::function<QAction*(const QString&)> itemOf = [this](const QString& caption) {
    return MenuItem(caption);
  };
  const QString& import = ImportOptions::kSection;
  // The list loads last, once the icon setting has given the rows their height: a change of
  // height afterwards would resize a million rows one by one.
  const auto loadListFile = [this](const SettingsStore&) {
    if (!app_.Options().import.loadListAtStart.Value()) return;
    LoadListFile(app_.List(), ListFilePath(app_.ConfigDir()), false);
    UpdateCountPart(app_.Status(), app_.List().Selection());
  };
  const auto saveListFile = [this](const SettingsStore&) {
    if (app_.Options().import.loadListAtStart.Value())
      SaveListFile(app_.List(), ListFilePath(app_.ConfigDir()));
  };

  return {
      item(o.play.once),
      item(o.play.onSelect),
      item(o.play.onDoubleClick),
      item(o.play.onHover),
      item(o.import.loadListAtStart),
      Step(import, {}, saveListFile),
      Bind(o.import.lastFile),
      Bind(o.icons.size, itemOf),
      Step(o.icons.size.Section(), [this](const SettingsStore&) { ApplyListIcons(); }, {}),
      Bind(o.move.lastDirectory),
      item(o.move.removeAfterMove),
      item(o.move.smartRename),
      BindPlacement(QStringLiteral("主窗口尺寸"), this),
      Bind(o.find.text),
      Bind(o.find.regex),
      Bind(o.find.fuzzy),
      Bind(o.find.ignoreCase),
      Bind(o.find.playWhenFound),
      Bind(o.find.findPoint),
      Step(import, loadListFile, {}),
  };
}

void MainWindow::LoadMainSettings() { LoadSettings(app_.Settings(), settingsBindings_); }

void MainWindow::SaveMainSettings() { SaveSettings(app_.Settings(), settingsBindings_); }
