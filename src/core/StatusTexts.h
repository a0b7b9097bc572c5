// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QString>

class RowSelection;

// The two texts of the main window's status bar: the count part ("3/120") and the message part.
// Logic writes here; the window shows them.
class StatusTexts : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  const QString& Count() const { return count_; }
  const QString& Message() const { return message_; }
  void SetCount(const QString& text);
  void SetMessage(const QString& text);

 Q_SIGNALS:
  void countChanged(const QString& text);
  void messageChanged(const QString& text);

 private:
  QString count_;
  QString message_;
};

// Writes "n/m" into the count part: n the current row + 1 (0 for none), m the row count.
void UpdateCountPart(StatusTexts& status, const RowSelection& selection);
