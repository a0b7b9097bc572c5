// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

#include "platform/Sound.h"

// A sound output that records the requests instead of playing them. refuseWave names paths the
// waveform player refuses (as it does MP3 files), so the MP3 fallback can be seen.
class RecordingSound : public SoundOutput {
 public:
  bool PlayWaveOrMidi(const QString& path, bool loop) override {
    log << QStringLiteral("wave:%1:%2").arg(path).arg(loop ? 1 : 0);
    return !path.isEmpty() && !path.endsWith(QStringLiteral(".mp3"));
  }
  bool PlayMp3(const QString& path, int count) override {
    log << QStringLiteral("mp3:%1:%2").arg(path).arg(count);
    return !path.isEmpty();
  }
  void Stop() override { log << QStringLiteral("stop"); }
  QStringList log;
};
