// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The three pop-up menus of the main window, built from the command table, and the list icons
// that the 列表图标 submenu chooses.
#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>

#include "app/Application.h"
#include "app/MainToolbar.h"
#include "app/MainWindow.h"
#include "list/gui/SoundListView.h"
#include "ui/Artwork.h"

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
    // Its mark is the option's that the settings bind to it.
    if (row.kind != ItemKind::kCommand) item->setCheckable(true);
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
  // The items write the choice through to the option.
  for (const auto& choice : app_.Options().icons.size.Choices())
    MenuItem(choice.key)->setChecked(choice.key == caption);
  ApplyListIcons();
}

void MainWindow::ApplyListIcons() {
  const int size = static_cast<int>(app_.Options().icons.size.Value());
  app_.List().SetRowIcon(size ? QVariant(RowIcon(size)) : QVariant());
  view_->setIconSize(QSize(size, size));
  view_->verticalHeader()->setDefaultSectionSize(
      std::max(view_->fontMetrics().height() + 6, size + 4));
}
