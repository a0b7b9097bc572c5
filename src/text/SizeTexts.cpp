// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/SizeTexts.h"

#include <QLocale>
#include <cmath>

namespace {

// A value is below a threshold only when it falls short by more than the tolerance, so a value
// that reaches the threshold through rounding noise moves on to the larger unit.
bool IsBelow(double value, double threshold) { return value - threshold < -0.0000001; }

// Two decimals, ties away from zero (std::round does that).
double RoundTwoDecimals(double value) { return std::round(value * 100.0) / 100.0; }

// Plain decimal notation: no exponent, no grouping, no trailing zeros, no "-0".
QString PlainNumber(double value) {
  if (value == 0.0) value = 0.0;  // turns -0 into 0
  return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

struct Unit {
  double threshold;  // the step before moves on when the value is not below this
  const char16_t* text;
};

QString FormatInUnits(double value, const Unit* units, int count, bool roundFirst) {
  for (int i = 0; i < count; ++i) {
    const bool last = i == count - 1;
    if (last || IsBelow(value, units[i].threshold)) {
      const double shown = (i == 0 && !roundFirst) ? value : RoundTwoDecimals(value);
      return PlainNumber(shown) + QString::fromUtf16(units[i].text);
    }
    value /= units[i].threshold;
  }
  return QString();
}

}  // namespace

QString FormatByteSize(double bytes) {
  static constexpr Unit kUnits[] = {{1024, u" B"},  {1024, u" KB"}, {1024, u" MB"},
                                    {1024, u" GB"}, {1024, u" TB"}, {0, u" PB"}};
  return FormatInUnits(bytes, kUnits, 6, false);
}

QString FormatElapsedTime(qint64 milliseconds) {
  static constexpr Unit kUnits[] = {{1000, u" 毫秒"}, {60, u" 秒"}, {60, u" 分"}, {24, u" 时"},
                                    {30, u" 天"},     {12, u" 月"}, {0, u" 年"}};
  return FormatInUnits(static_cast<double>(milliseconds), kUnits, 7, true);
}
