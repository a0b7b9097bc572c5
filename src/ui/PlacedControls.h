// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>

// Controls placed at their designed rectangle in client coordinates, named by their designed
// names, for the tool windows laid out without layouts.

inline QLabel* AddLabel(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& bounds) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  return label;
}

// A horizontal separator line.
inline void AddLine(QWidget* parent, const QString& name, const QRect& bounds) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(bounds);
}

// Never the default button: Enter in an edit box presses nothing.
inline QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption,
                              const QRect& bounds) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(bounds);
  return button;
}

// A check box or radio button; its check mark comes from the option bound to it.
template <typename Box>
Box* AddCheck(QWidget* parent, const QString& name, const QString& caption, const QRect& bounds) {
  auto* box = new Box(caption, parent);
  box->setObjectName(name);
  box->setGeometry(bounds);
  return box;
}
