// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// What a sound file's header tells; zero or negative where it tells nothing.
struct SoundFacts {
  QString format;  // the container and its encoding, "WAV IMA ADPCM", "FLAC", "MIDI"
  int sampleRate = 0;
  int bits = 0;
  int channels = 0;
  int tracks = 0;
  double seconds = -1;

  // "WAV IMA ADPCM · 22.05 kHz · 4 位 · 单声道 · 1.35 秒"; for MIDI "MIDI · 2 轨 · 12.50 秒".
  QString Text() const;
};
