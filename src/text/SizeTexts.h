#pragma once
#include <QString>

// One-unit texts: 1536 bytes give "1.5 KB", 1234 ms give "1.23 秒".
QString FormatByteSize(double bytes);
QString FormatElapsedTime(qint64 milliseconds);
