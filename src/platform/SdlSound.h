// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "platform/SoundOutput.h"

// The SDL output: one device opened at start and kept open, a 512-frame buffer, sampled sound
// decoded by libsndfile from its file while it plays, MIDI through one FluidSynth synthesizer
// whose soundfont is loaded once; both are mixed into the device's buffers after SDL2_mixer's
// own channels. A play request reads the head of a file, whatever its size. Without an audio
// device it plays nothing and every play request reports NoDevice.
class SdlSound : public SoundOutput {
 public:
  enum class Kind { Nothing, Sampled, Midi };

  SdlSound();
  ~SdlSound() override;
  // Opens the device (44.1 kHz, stereo, 16-bit) and starts loading the soundfont in the
  // background; false when no device can be opened.
  bool Open();
  bool IsOpen() const;
  PlayResult Play(const QString& path, bool loop) override;
  void Stop() override;
  QString Describe(const QString& path) override;
  // What is sounding now (a finished sound counts as nothing).
  Kind Playing() const;
  int DeviceFrequency() const;
  // The General MIDI soundfont in use, empty when none is installed.
  QString SoundFontPath() const;
  // Milliseconds the soundfont took to load; waits for the loading to finish. -1 when it failed.
  qint64 SoundFontLoadMilliseconds();
  // Called on the audio thread with every buffer after mixing (for measurements): interleaved
  // stereo, count samples.
  void SetOutputTap(std::function<void(const qint16* samples, int count)> tap);

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};
