// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "SoundFiles.h"

// What sounded: frames from the first to the last loud one, the frequency of zero crossings,
// each channel's level against the tone's, the largest sample error at those levels.
struct Heard {
  int frames = 0, error = 0;
  double frequency = 0, level[2] = {0, 0};
};

inline Heard Listen(const std::vector<qint16>& out, int toneRate, const double gain[2]) {
  Heard heard;
  int first = -1, last = -1;
  for (int i = 0; i < int(out.size() / 2); ++i)
    if (std::max(std::abs(out[2 * i]), std::abs(out[2 * i + 1])) > 256) {
      if (first < 0) first = i;
      last = i;
    }
  if (first < 0) return heard;
  heard.frames = last - first + 1;
  const int loud = gain[0] >= gain[1] ? 0 : 1;
  double power[2] = {0, 0};
  int crossings = 0, firstCrossing = 0, lastCrossing = 0;
  bool below = false;  // well under zero, so a codec's ripple at zero is no crossing
  for (int i = first; i <= last; ++i) {
    const qint16* frame = &out[size_t(2 * i)];
    for (int c = 0; c < 2; ++c) {
      power[c] += double(frame[c]) * frame[c];
      if (toneRate == 44100)
        heard.error = std::max(
            heard.error,
            std::abs(frame[c] - int(std::lround(gain[c] * SoundFiles::Cosine(i - first, 44100)))));
    }
    if (frame[loud] < -2000) below = true;
    if (below && frame[loud] > 2000) {
      if (crossings++ == 0) firstCrossing = i;
      lastCrossing = i;
      below = false;
    }
  }
  if (crossings > 1) heard.frequency = (crossings - 1) * 44100.0 / (lastCrossing - firstCrossing);
  for (int c = 0; c < 2; ++c)
    heard.level[c] = std::sqrt(power[c] / heard.frames) / (16000 / std::sqrt(2.0));
  return heard;
}
