// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QPointer>
#include <QWidget>

// Makes window a tool window of the program: it deletes itself when closed and Esc closes it.
void PrepareToolWindow(QWidget* window);

// The one way to open a non-modal tool window: the open one comes to the front, otherwise
// make() creates it into slot. Returns the window shown.
template <typename Window, typename Make>
Window* ShowToolWindow(QPointer<Window>& slot, Make make) {
  if (!slot) {
    slot = make();
    PrepareToolWindow(slot);
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
  return slot;
}
