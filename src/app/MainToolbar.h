// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QToolBar>
#include <QToolButton>
#include <vector>

// A toolbar button whose drop-down arrow is a separate event, not a menu of its own.
class ArrowToolButton : public QToolButton {
  Q_OBJECT
 public:
  ArrowToolButton(bool hasArrow, QWidget* parent);
  // Where the arrow part is, in the button's coordinates (empty without an arrow).
  QRect ArrowRect() const;

 Q_SIGNALS:
  void arrowClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool hasArrow_;
};

// `工具条`: images of 32x32 with captions under them, one entry per index of the command table
// (an index without a click row is a separator); reports clicks and arrows by index.
class MainToolbar : public QToolBar {
  Q_OBJECT
 public:
  explicit MainToolbar(QWidget* parent);
  // The button of an entry, nullptr for a separator.
  ArrowToolButton* Button(int index) const;
  // A pop-up menu takes the mouse away without a leave event: the buttons the pointer has left
  // meanwhile are drawn plain again.
  void ClearStaleHover();

 Q_SIGNALS:
  void entryClicked(int index);
  void arrowClicked(int index);

 private:
  std::vector<ArrowToolButton*> buttons_;
};
