// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QuitSignals.h"

#include <SDL_hints.h>
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace {

constexpr std::array<int, 3> kQuitSignals{SIGTERM, SIGINT, SIGHUP};

// Shared with the handler, which may touch nothing else.
int gReadFd = -1;
int gWriteFd = -1;
volatile sig_atomic_t gPending = 0;
// The actions replaced, put back when the signals are let go.
std::array<struct sigaction, kQuitSignals.size()> gPrevious{};
std::array<bool, kQuitSignals.size()> gCaught{};

// Async-signal-safe only: write, signal, raise.
void OnQuitSignal(int signal) {
  const int savedErrno = errno;
  if (gPending) {
    ::signal(signal, SIG_DFL);
    ::raise(signal);
  }
  gPending = 1;
  const char number = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(gWriteFd, &number, 1);
  errno = savedErrno;
}

}  // namespace

QuitSignals::QuitSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  int fds[2];
  if (gWriteFd >= 0 || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  gReadFd = fds[0];
  gWriteFd = fds[1];
  gPending = 0;
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kQuitSignals.size(); ++i) {
    ::sigaction(kQuitSignals[i], nullptr, &gPrevious[i]);
    gCaught[i] = gPrevious[i].sa_handler != SIG_IGN;
    if (gCaught[i]) ::sigaction(kQuitSignals[i], &action, nullptr);
  }
  notifier_ = std::make_unique<QSocketNotifier>(gReadFd, QSocketNotifier::Read);
  // Signals wait in the pipe until someone can close the program.
  notifier_->setEnabled(false);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { ReadSignals(); });
}

QuitSignals::~QuitSignals() {
  if (!notifier_) return;
  for (size_t i = 0; i < kQuitSignals.size(); ++i)
    if (gCaught[i]) ::sigaction(kQuitSignals[i], &gPrevious[i], nullptr);
  notifier_.reset();
  ::close(gReadFd);
  ::close(gWriteFd);
  gReadFd = gWriteFd = -1;
}

void QuitSignals::SetCloseHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
  if (notifier_) notifier_->setEnabled(static_cast<bool>(handler_));
}

void QuitSignals::ReadSignals() {
  char numbers[16];
  for (;;) {
    gPending = 0;  // from here on a signal is a new request, not a repeat of one unread
    const ssize_t count = ::read(gReadFd, numbers, sizeof numbers);
    if (count <= 0) return;
    for (ssize_t i = 0; i < count && handler_; ++i) handler_();
  }
}
