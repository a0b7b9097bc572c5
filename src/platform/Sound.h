// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
#include <memory>

// What the player needs of the sound output.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Plays a file whose content is RIFF/WAVE or a standard MIDI file, once or looping for ever.
  // False for anything else (then the caller offers it to PlayMp3).
  virtual bool PlayWaveOrMidi(const QString& path, bool loop) = 0;
  // Plays an MP3 file count times, -1 endlessly. False when it cannot be played.
  virtual bool PlayMp3(const QString& path, int count) = 0;
  // Halts both kinds at once (no fade).
  virtual void Stop() = 0;
};

// The SDL2_mixer output: one device opened at start and kept open, a 512-frame buffer, MIDI
// through one FluidSynth synthesizer whose soundfont is loaded once. WAV and MP3 are decoded from
// their files while they play, so a play request reads the head of a file, whatever its size.
// Without an audio device it plays nothing and every play request reports failure.
class SdlSound : public SoundOutput {
 public:
  enum class Kind { Nothing, Wave, Midi, Mp3 };

  SdlSound();
  ~SdlSound() override;
  // Opens the device (44.1 kHz, stereo, 16-bit) and starts loading the soundfont in the
  // background; false when no device can be opened.
  bool Open();
  bool IsOpen() const;
  bool PlayWaveOrMidi(const QString& path, bool loop) override;
  // count >= 1 or -1; any other count is refused.
  bool PlayMp3(const QString& path, int count) override;
  void Stop() override;
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
