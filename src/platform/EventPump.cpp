#include "platform/EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 kPumpIntervalMs = 20;

QElapsedTimer& SinceLastPump() {
  static QElapsedTimer timer;
  return timer;
}

}  // namespace

void PumpEvents() {
  QElapsedTimer& timer = SinceLastPump();
  if (!timer.isValid()) {
    timer.start();
    return;
  }
  if (PumpDue()) PumpEventsNow();
}

bool PumpDue() {
  const QElapsedTimer& timer = SinceLastPump();
  return timer.isValid() && timer.elapsed() >= kPumpIntervalMs;
}

void PumpEventsNow() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  // Restarted after processing: the interval counts work, not the handlers that just ran.
  RestartPumpInterval();
}

void RestartPumpInterval() { SinceLastPump().start(); }
