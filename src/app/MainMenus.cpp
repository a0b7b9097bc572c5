// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The three pop-up menus of the main window, built from the command table, and the list icons
// that the 列表图标 submenu chooses.
#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/Toolbar.h"
#include "list/gui/SoundListView.h"
#include "ui/Artwork.h"

namespace {

const QString kIconNone = QStringLiteral("无");
const QString kIcon16 = QStringLiteral("16x16");
const QString kIcon32 = QStringLiteral("32x32");
const QString kIcon48 = QStringLiteral("48x48");

}  // namespace

void MainWindow::BuildMenus() {
  const auto addMenu = [this](MenuId id, const QString& name, QMenu* parent) {
    QMenu* menu = parent ? parent->addMenu(name) : new QMenu(name, this);
    menu->setObjectName(name);
    menus_.insert(id, menu);
    return menu;
  };
  for (QMenu* menu : {addMenu(MenuId::kPlay, QStringLiteral("播放"), nullptr),
                      addMenu(MenuId::kImport, QStringLiteral("导入"), nullptr),
                      addMenu(MenuId::kMove, QStringLiteral("移动选项"), nullptr)})
    connect(menu, &QMenu::aboutToHide, toolbar_, &MainToolbar::ClearStaleHover);

  CheckTable& checks = app_.Checks();
  for (const CommandRow& row : CommandTable()) {
    QMenu* menu = menus_.value(row.menu.id);
    if (!menu) continue;
    if (row.menu.separatorBefore) menu->addSeparator();
    if (row.kind == ItemKind::kSubmenu) {
      addMenu(MenuId::kIcons, row.caption, menu);
      continue;
    }
    QAction* item = menu->addAction(row.caption);
    item->setObjectName(row.caption);
    items_.insert(&row, item);
    if (row.kind != ItemKind::kCommand) {
      item->setCheckable(true);
      item->setChecked(row.checked);
      // The logic reads the marks from the program's table, which every change reaches.
      checks.states.insert(row.caption, row.checked);
      connect(item, &QAction::toggled, this,
              [&checks, caption = row.caption](bool on) { checks.states.insert(caption, on); });
    }
    // A check item only toggles; a radio item checks itself alone instead of toggling.
    if (row.run) connect(item, &QAction::triggered, this, [this, &row] { Run(row); });
  }
}

QAction* MainWindow::MenuItem(const QString& caption) const {
  for (auto it = items_.cbegin(); it != items_.cend(); ++it)
    if (it.key()->caption == caption) return it.value();
  return nullptr;
}

void MainWindow::PopupMenu(MenuId menu) {
  if (QMenu* m = Menu(menu)) m->popup(QCursor::pos());
}

void MainWindow::ChooseListIcons(const QString& caption) {
  for (const QString& item : {kIconNone, kIcon16, kIcon32, kIcon48})
    MenuItem(item)->setChecked(item == caption);
  ApplyListIcons();
}

void MainWindow::ApplyListIcons() {
  const CheckTable& checks = app_.Checks();
  int size = 0;
  if (checks.IsChecked(kIcon16)) size = 16;
  if (checks.IsChecked(kIcon32)) size = 32;
  if (checks.IsChecked(kIcon48)) size = 48;
  app_.List().SetRowIcon(size ? QVariant(RowIcon(size)) : QVariant());
  view_->setIconSize(QSize(size, size));
  view_->verticalHeader()->setDefaultSectionSize(
      std::max(view_->fontMetrics().height() + 6, size + 4));
}
