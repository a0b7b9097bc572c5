// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

#include "platform/SoundOutput.h"

// A sound output that records the requests instead of playing them. Every path plays unless
// results names another outcome for it.
class RecordingSound : public SoundOutput {
 public:
  PlayResult Play(const QString& path, bool loop) override {
    log << QStringLiteral("play:%1:%2").arg(path).arg(loop ? 1 : 0);
    return path.isEmpty() ? PlayResult::Missing : results.value(path, PlayResult::Started);
  }
  void Stop() override { log << QStringLiteral("stop"); }
  QString Describe(const QString& path) override { return QStringLiteral("facts of ") + path; }
  QStringList log;
  QMap<QString, PlayResult> results;
};
