// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <vector>

#include "core/Commands.h"
#include "player/ListKeys.h"

class MainWindow;

// The pop-up menus of the main window (shown at the mouse, not as a menu bar).
enum class MenuId { kNone, kPlay, kImport, kIcons, kMove };

// What a menu entry is. A check item toggles its own mark and does nothing else; a radio item
// checks itself alone in its submenu.
enum class ItemKind { kCommand, kCheck, kRadio, kSubmenu };

struct MenuPlace {
  MenuId menu = MenuId::kNone;
  bool separatorBefore = false;
};

// The toolbar entry a command sits on: its click, or the drop-down arrow beside it. The
// caption, image and tooltip are the entry's and stand on its click row.
struct ToolbarPlace {
  int index = -1;
  bool arrow = false;
  QString caption;
  int image = -1;
  QString tooltip;
};

// How a command shows in the help text: text after the keys. shownKeys replaces the bound keys
// where the key belongs to the list view (↑) or to the window manager (Alt+F4).
struct HelpLine {
  QString text;
  QString shownKeys;
};

// Everything about one command, described once: the menus, the toolbar, the list's keys and
// the help text are built from these rows. Rows of one menu stand in the menu's order.
struct CommandRow {
  Command command = Command::kNone;
  QString caption;  // the menu item's caption
  MenuPlace menu;
  ItemKind kind = ItemKind::kCommand;
  bool checked = false;  // designed state of a check or radio item
  ToolbarPlace toolbar;
  std::vector<KeyChord> keys;
  HelpLine help;
  bool changesFiles = false;  // changes rows or files, or is a long job: refused during a job
  void (*run)(MainWindow& window, const CommandRow& row) = nullptr;
};

inline constexpr int kToolbarEntryCount = 23;

const std::vector<CommandRow>& CommandTable();
// The row of a command; nullptr for kNone.
const CommandRow* FindCommandRow(Command command);
// The row of a toolbar entry's click or arrow; nullptr where the entry has none.
const CommandRow* ToolbarRow(int index, bool arrow);
// The key table of the list, from every row's keys.
const std::vector<KeyBinding>& ListKeyBindings();
// One line per command that has help: its keys, a wide space, its text.
QStringList HelpKeyLines();
