// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LongJob.h"

#include "platform/EventPump.h"
#include "platform/Ticks.h"
#include "text/SizeTexts.h"

namespace {

bool jobRunning = false;
bool stopRequested = false;

}  // namespace

LongJobGuard::LongJobGuard() {
  if (jobRunning) return;
  jobRunning = true;
  stopRequested = false;
  acquired_ = true;
  RestartPumpInterval();
  Q_EMIT LongJobSignals::Instance().busyChanged(true);
}

LongJobGuard::~LongJobGuard() {
  if (!acquired_) return;
  jobRunning = false;
  stopRequested = false;
  Q_EMIT LongJobSignals::Instance().busyChanged(false);
}

bool LongJobGuard::Busy() { return jobRunning; }

void LongJobGuard::RequestStop() {
  // Without a running job there is nothing to stop, and the next job must not see it.
  if (jobRunning) stopRequested = true;
}

bool LongJobGuard::StopRequested() { return stopRequested; }

LongJobSignals& LongJobSignals::Instance() {
  static LongJobSignals instance;
  return instance;
}

LongJob::LongJob() : start_(TickCount()) {}

bool LongJob::Continue() {
  PumpEvents();
  return !LongJobGuard::StopRequested();
}

qint64 LongJob::ElapsedMs() const { return TickCount() - start_; }

QString LongJob::ElapsedText() const { return FormatElapsedTime(ElapsedMs()); }
