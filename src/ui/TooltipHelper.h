// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class TooltipWindow;

// A tooltip window's handle: 0 for none. Handles are never reused within a run.
using TooltipHandle = quintptr;

// The program's tooltip helper, on Qt's tooltips: one tooltip "window" (the shared look and
// behaviour) with the controls registered to it, each with its own text. The program creates one
// at start-up (multi-line, balloon) and the search-directory window registers its controls.
// Copies refer to the same tooltip window; once one of them destroys it, it counts as none for
// all. Every operation but Create, GetHandle and Attach does nothing and returns 0 while there
// is no tooltip window.
class TooltipHelper {
 public:
  TooltipHelper();
  // The last helper referring to a tooltip window destroys it.
  ~TooltipHelper();
  TooltipHelper(const TooltipHelper& other);
  TooltipHelper& operator=(const TooltipHelper& other);

  // Multi-line: CR LF (or LF) breaks lines and lines wrap at 1,024 pixels. Balloon: rounded
  // and framed. Returns the new handle, or 0 when one exists already.
  TooltipHandle Create(bool multiline = false, bool balloon = false);
  // Registers control with text, shown centred below the control when centred. A control
  // registered again gets the new text. A destroyed control is dropped by itself, so a window
  // opened again never piles up tools. Non-zero on success.
  int AddTool(QWidget* control, const QString& text, bool centred = false);
  int RemoveTool(QWidget* control);
  QColor GetBackColor() const;
  int SetBackColor(const QColor& colour);
  QColor GetTextColor() const;
  int SetTextColor(const QColor& colour);
  int SetToolText(QWidget* control, const QString& text);
  // Each only when greater than 0; otherwise the system's default stays.
  int SetDelays(int initialMs, int displayMs);
  int Destroy();
  TooltipHandle GetHandle() const;
  int Hide();
  // Takes handle as this helper's tooltip window (0 or an unknown handle: none) without
  // destroying the old one, which stays alive while another helper refers to it. Returns the
  // old handle.
  TooltipHandle Attach(TooltipHandle handle);
  // Wraps tips at pixels wide, breaking their lines at CR LF; 0 or less: one line, no wrapping.
  // Returns the previous width.
  int SetMaxTipWidth(int pixels);
  int GetToolCount() const;
  // Empties controls, then appends every registered control.
  int GetToolWindows(std::vector<QWidget*>& controls) const;
  // The control's text cut to fit bufferBytes bytes of UTF-8 with a terminating NUL (whole
  // characters only). Non-zero when the control is registered.
  int GetToolText(QWidget* control, QString& text, int bufferBytes) const;

 private:
  // The window, unless there is none or it was destroyed through another copy.
  TooltipWindow* Live() const;

  std::shared_ptr<TooltipWindow> window_;
};
