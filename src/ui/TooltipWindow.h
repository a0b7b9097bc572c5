// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QFontMetrics>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

// The text a tip shows. With maxWidth > 0 (multi-line), CR LF, LF and CR break lines and a line
// wider than maxWidth wraps at spaces, or between characters where one word alone is wider;
// otherwise it is one line with its breaks shown as spaces.
QString TooltipLines(const QString& text, const QFontMetrics& metrics, int maxWidth);

// One tooltip "window" on Qt's tooltips: the registered controls with their texts, and the look
// and delays their tips share. It watches each control's events and answers its ToolTip event.
class TooltipWindow : public QObject {
 public:
  TooltipWindow(quintptr handle, int maxWidth, bool balloon);
  ~TooltipWindow() override;

  quintptr Handle() const { return handle_; }
  bool IsAlive() const { return alive_; }
  // Unregisters every control and hides the tip for good: a window destroyed while copies of
  // its helper still refer to it.
  void TearDown();

  bool AddTool(QWidget* control, const QString& text, bool centred);
  bool RemoveTool(QWidget* control);
  bool SetToolText(QWidget* control, const QString& text);
  std::optional<QString> ToolText(QWidget* control) const;
  std::vector<QWidget*> Controls() const;

  QColor BackColor() const;
  QColor TextColor() const;
  void SetBackColor(const QColor& colour) { back_ = colour; }
  void SetTextColor(const QColor& colour) { text_ = colour; }
  void SetDelays(int initialMs, int displayMs);
  // Returns the previous width.
  int SetMaxWidth(int pixels);
  // Hides the tip when it is one of ours, and forgets a pending one.
  void HideTip();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Tool {
    QPointer<QWidget> control;
    QString text;
    bool centred = false;
  };

  const Tool* Find(const QObject* control) const;
  Tool* Find(const QObject* control);
  void DropDestroyed();
  void ShowHovered();
  void Show(Tool tool, QPoint globalPos);
  QString StyleSheet() const;

  const quintptr handle_;
  std::vector<Tool> tools_;
  QColor back_;  // invalid: the application's tooltip palette
  QColor text_;
  int maxWidth_;
  const bool balloon_;
  int initialMs_ = 0;  // 0: the system's delay
  int displayMs_ = 0;
  bool alive_ = true;
  QTimer hover_;
  QPointer<QWidget> hovered_;
  QString shown_;  // text of our tip on screen, to tell it from other widgets' tips
};
