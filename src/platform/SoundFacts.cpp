// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SoundFacts.h"

#include <QStringList>

#include <cmath>

namespace {

QString Duration(double seconds) {
  if (seconds < 60) return QString::number(seconds, 'f', 2) + QStringLiteral(" 秒");
  const auto whole = qint64(std::lround(seconds));
  return QStringLiteral("%1 分 %2 秒").arg(whole / 60).arg(whole % 60);
}

}  // namespace

QString SoundFacts::Text() const {
  QStringList parts{format};
  if (sampleRate > 0)
    parts << QString::number(sampleRate / 1000.0, 'g', 6) + QStringLiteral(" kHz");
  if (bits > 0) parts << QStringLiteral("%1 位").arg(bits);
  if (channels == 1) parts << QStringLiteral("单声道");
  if (channels == 2) parts << QStringLiteral("立体声");
  if (channels > 2) parts << QStringLiteral("%1 声道").arg(channels);
  if (tracks > 0) parts << QStringLiteral("%1 轨").arg(tracks);
  if (seconds >= 0) parts << Duration(seconds);
  return parts.join(QStringLiteral(" · "));
}
