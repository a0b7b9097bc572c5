// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainToolbar.h"

#include <QAction>
#include <QCursor>
#include <QMouseEvent>
#include <QStyleOptionToolButton>

#include "app/CommandTable.h"
#include "ui/Artwork.h"

ArrowToolButton::ArrowToolButton(bool hasArrow, QWidget* parent)
    : QToolButton(parent), hasArrow_(hasArrow) {
  if (hasArrow_) {
    // The style draws the arrow part only for a button that has a menu or actions of its own.
    setPopupMode(QToolButton::MenuButtonPopup);
    addAction(new QAction(this));
  }
}

QRect ArrowToolButton::ArrowRect() const {
  if (!hasArrow_) return {};
  QStyleOptionToolButton option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
}

void ArrowToolButton::mousePressEvent(QMouseEvent* event) {
  if (hasArrow_ && event->button() == Qt::LeftButton &&
      ArrowRect().contains(event->position().toPoint())) {
    event->accept();
    Q_EMIT arrowClicked();
    return;
  }
  QToolButton::mousePressEvent(event);
}

MainToolbar::MainToolbar(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("工具条"));
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(32, 32));
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  // Compact buttons and a narrow arrow part, so all 23 entries fit the designed width.
  setStyleSheet(QStringLiteral(
      "QToolBar { spacing: 0px; padding: 1px; }"
      "QToolBar::separator { width: 5px; }"
      "QToolButton { padding: 1px 1px; border: 1px solid transparent; border-radius: 3px; }"
      "QToolButton:hover { border-color: #9ab; background: #e8f0fa; }"
      "QToolButton:pressed { background: #cddcef; }"
      "QToolButton[popupMode=\"1\"] { padding-right: 10px; }"
      "QToolButton::menu-button { width: 9px; border: none; }"
      "QToolButton::menu-arrow { width: 7px; height: 7px; }"));
  for (int index = 0; index < kToolbarEntryCount; ++index) {
    const CommandRow* click = ToolbarRow(index, false);
    if (!click) {
      addSeparator();
      buttons_.push_back(nullptr);
      continue;
    }
    const ToolbarPlace& entry = click->toolbar;
    auto* button = new ArrowToolButton(ToolbarRow(index, true) != nullptr, this);
    button->setObjectName(entry.caption);
    button->setText(entry.caption);
    button->setToolTip(entry.tooltip);
    button->setIcon(ToolbarImage(static_cast<int>(entry.image)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, index] { Q_EMIT entryClicked(index); });
    connect(button, &ArrowToolButton::arrowClicked, this,
            [this, index] { Q_EMIT arrowClicked(index); });
    addWidget(button);
    buttons_.push_back(button);
  }
}

ArrowToolButton* MainToolbar::Button(int index) const {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
  return buttons_[static_cast<size_t>(index)];
}

void MainToolbar::ClearStaleHover() {
  for (ArrowToolButton* button : buttons_) {
    if (!button || button->rect().contains(button->mapFromGlobal(QCursor::pos()))) continue;
    button->setAttribute(Qt::WA_UnderMouse, false);
    button->setDown(false);
    button->update();
  }
}
