#pragma once
#include <QtGlobal>

// Milliseconds of a monotonic clock; differences give elapsed milliseconds.
qint64 TickCount();
