// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ToolWindow.h"

#include <QKeyEvent>

namespace {

// Esc closes the window as it closes a dialog: a key that no control of the window took
// reaches the window itself.
class EscapeCloses : public QObject {
 public:
  explicit EscapeCloses(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      window_->close();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
};

}  // namespace

void PrepareToolWindow(QWidget* window) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->installEventFilter(new EscapeCloses(window));
}
