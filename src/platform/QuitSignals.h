// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP ask the program to close, as the close box does. The handler only
// writes the signal's number into a pipe; the event loop reads it there and calls the close
// handler. Construct it after the application object and before the sound device opens: SDL is
// told to install no handlers of its own. One at a time; destroying it puts back the actions it
// replaced. A signal that was ignored at start (nohup) stays ignored. A second signal before
// the event loop has taken the first gets the default action, so a hung program still ends.
class QuitSignals {
 public:
  QuitSignals();
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  bool Installed() const { return notifier_ != nullptr; }
  // Runs in the event loop once per signal; signals that came before it wait for it.
  void SetCloseHandler(std::function<void()> handler);

 private:
  void ReadSignals();

  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> handler_;
};
