#include "platform/Ticks.h"

#include <QElapsedTimer>

qint64 TickCount() {
  static const QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return clock.elapsed();
}
