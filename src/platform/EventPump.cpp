// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventPump.h"

#include <QCoreApplication>
#include <ctime>

namespace {

constexpr qint64 kPumpIntervalNs = 20'000'000;

// Asked once per item of a long job, a million times in a find over a million rows: the coarse
// clock is read from memory, and its few milliseconds of resolution are plenty for 20 ms.
qint64 NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

qint64& LastPump() {
  static qint64 last = -1;  // -1: never pumped
  return last;
}

}  // namespace

void PumpEvents() {
  if (LastPump() < 0) {
    RestartPumpInterval();
    return;
  }
  if (PumpDue()) PumpEventsNow();
}

bool PumpDue() { return LastPump() >= 0 && NowNs() - LastPump() >= kPumpIntervalNs; }

void PumpEventsNow() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  // Restarted after processing: the interval counts work, not the handlers that just ran.
  RestartPumpInterval();
}

void RestartPumpInterval() { LastPump() = NowNs(); }
