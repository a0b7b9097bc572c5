// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <vector>

#include "core/Commands.h"
#include "player/ListKeys.h"
#include "ui/Artwork.h"

class MainWindow;

// The pop-up menus of the main window (shown at the mouse, not as a menu bar).
enum class MenuId { kNone, kPlay, kImport, kIcons, kMove };

// What a menu entry is. A check item toggles its own mark and does nothing else; a radio item
// checks itself alone in its submenu.
enum class ItemKind { kCommand, kCheck, kRadio, kSubmenu };

struct MenuPlace {
  MenuId id = MenuId::kNone;
  bool separatorBefore = false;
};

// The entries of the toolbar by their place from the left; the places between are separators.
namespace ToolbarSlot {
inline constexpr int kImport = 0, kPrevious = 2, kPlay = 3, kNext = 4, kStop = 5, kSelectAll = 7,
                     kSelectNone = 8, kInvert = 9, kDelete = 11, kMove = 12, kCopy = 13,
                     kRename = 14, kLocate = 15, kRemove = 17, kNames = 18, kPaths = 19,
                     kAbout = 21, kExit = 22;
}  // namespace ToolbarSlot
inline constexpr int kToolbarEntryCount = 23;
// The toolbar entry a command sits on: its click, or the drop-down arrow beside it. The
// caption, image and tooltip are the entry's and stand on its click row.
struct ToolbarPlace {
  int index = -1;  // a ToolbarSlot
  bool arrow = false;
  QString caption;
  ToolbarPicture image = ToolbarPicture::kNone;
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
  ToolbarPlace toolbar;
  std::vector<KeyChord> keys;
  HelpLine help;
  bool changesFiles = false;  // changes rows or files, or is a long job: refused during a job
  void (*run)(MainWindow& window, const CommandRow& row) = nullptr;
};

const std::vector<CommandRow>& CommandTable();
// The row of a command; nullptr for kNone.
const CommandRow* FindCommandRow(Command command);
// The row of a toolbar entry's click or arrow; nullptr where the entry has none.
const CommandRow* ToolbarRow(int index, bool arrow);
// The key table of the list, from every row's keys.
const std::vector<KeyBinding>& ListKeyBindings();
// One line per command that has help: its keys, a wide space, its text.
QStringList HelpKeyLines();
