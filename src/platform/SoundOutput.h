// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// Whether a play request started its sound, and why not.
enum class PlayResult {
  Started,
  NoDevice,     // no audio device is open
  Missing,      // no file at the path
  Unreadable,   // a directory, a pipe, a file that cannot be opened
  NotSound,     // content that no decoder knows (an empty file too)
  Unsupported,  // a known kind of sound in an encoding no decoder has
  Damaged,      // a known kind of sound whose header is broken
  NoSoundFont,  // MIDI without a General MIDI soundfont
};

// What the player needs of the sound output.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Plays a file by the decoder its content names (never by its name), once or looping for
  // ever, in place of what plays now; a refused request leaves that playing.
  virtual PlayResult Play(const QString& path, bool loop) = 0;
  // Halts what plays (no fade).
  virtual void Stop() = 0;
  // One line of what the file's header tells (SoundFacts::Text), empty for no sound. Reads the
  // header only, or nothing for the file playing now.
  virtual QString Describe(const QString& path) = 0;
};
