#include "platform/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 kPumpIntervalMs = 20;

QElapsedTimer& SinceLastPump() {
  static QElapsedTimer timer;
  return timer;
}

bool jobRunning = false;
bool stopRequested = false;

}  // namespace

void PumpEvents() {
  QElapsedTimer& timer = SinceLastPump();
  if (!timer.isValid()) {
    timer.start();
    return;
  }
  if (timer.elapsed() >= kPumpIntervalMs) PumpEventsNow();
}

void PumpEventsNow() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  // Restarted after processing: the interval counts work, not the handlers that just ran.
  SinceLastPump().start();
}

LongJobGuard::LongJobGuard() {
  if (jobRunning) return;
  jobRunning = true;
  stopRequested = false;
  acquired_ = true;
  SinceLastPump().start();
}

LongJobGuard::~LongJobGuard() {
  if (!acquired_) return;
  jobRunning = false;
  stopRequested = false;
}

bool LongJobGuard::Busy() { return jobRunning; }

void LongJobGuard::RequestStop() {
  // Without a running job there is nothing to stop, and the next job must not see it.
  if (jobRunning) stopRequested = true;
}

bool LongJobGuard::StopRequested() { return stopRequested; }
