// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main-window tests share: a sound output that hands every request to the test's
// recorder, mouse events on the list, and starts of the program on a temporary settings
// directory with scripted dialogs.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "TestFiles.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "list/gui/SoundListView.h"
#include "platform/ScriptedDialogs.h"

// The program's sound output, handing every request to a recorder that the test keeps.
class ForwardingSound : public SoundOutput {
 public:
  explicit ForwardingSound(SoundOutput& to) : to_(to) {}
  PlayResult Play(const QString& path, bool loop) override { return to_.Play(path, loop); }
  void Stop() override { to_.Stop(); }
  QString Describe(const QString& path) override { return to_.Describe(path); }

 private:
  SoundOutput& to_;
};

// A mouse event sent straight to the list's viewport, at a point of it.
inline void SendMouseAt(SoundListView* view, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                        Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* viewport = view->viewport();
  QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, modifiers);
  QApplication::sendEvent(viewport, &event);
}

// The same on a row (-1: below the last row).
inline void SendMouse(SoundListView* view, QEvent::Type type, int row, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  const int y = row < 0 ? view->viewport()->height() - 2 : view->rowViewportPosition(row) + 2;
  SendMouseAt(view, type, QPointF(20, y), button, buttons);
}

inline void MoveTo(SoundListView* view, int row, Qt::MouseButtons buttons = Qt::NoButton) {
  SendMouse(view, QEvent::MouseMove, row, Qt::NoButton, buttons);
}

// The test classes derive from it beside QObject; init() and cleanup() call Start and Stop.
class WindowHarness {
 protected:
  std::unique_ptr<QTemporaryDir> temp_;
  ScriptedDialogs* dialogs_ = nullptr;
  QString ConfigDir() const { return temp_->filePath(QStringLiteral("config")); }
  QString SoundDir() const { return temp_->filePath(QStringLiteral("sounds")); }

  // Names n0.wav ... written as small files whose sizes differ.
  QStringList MakeSounds(const QStringList& names) {
    QStringList paths;
    for (int i = 0; i < names.size(); ++i) {
      const QString path = SoundDir() + QLatin1Char('/') + names[i];
      WriteFile(path, QByteArray(10 * (i + 1), 'x'));
      paths << path;
    }
    return paths;
  }

  // A start of the program: new program-wide objects and a main window on them. The objects
  // live until the next start or the end of the test, after the window.
  std::unique_ptr<MainWindow> OpenWindow(SoundOutput& sound) {
    app_ = std::make_unique<Application>(ConfigDir(), std::make_unique<ForwardingSound>(sound));
    auto window = std::make_unique<MainWindow>(*app_);
    window->show();
    return window;
  }
  std::unique_ptr<Application> app_;

  void Start() {
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temp_->isValid());
    QVERIFY(QDir().mkpath(ConfigDir()));
    QVERIFY(QDir().mkpath(SoundDir()));
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    InstallDialogs(std::move(dialogs));
  }
  void Stop() { app_.reset(); }
};
