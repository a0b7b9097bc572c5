// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

// One FluidSynth synthesizer for the whole run, rendered into the mixer's output. The soundfont
// is loaded once, on a thread of its own so that start-up does not wait for it; each file gets a
// new player on the same synthesizer, which is reset in between.
class MidiSynth {
 public:
  // The installed General MIDI soundfont, empty when there is none.
  static QString FindSoundFont();

  MidiSynth(int sampleRate, const QString& soundFont);
  ~MidiSynth();
  MidiSynth(const MidiSynth&) = delete;
  MidiSynth& operator=(const MidiSynth&) = delete;

  // Waits for the soundfont; true when it loaded.
  bool WaitForSoundFont();
  qint64 SoundFontLoadMilliseconds();

  // GUI thread. smf must be well-formed (ReadWellFormedMidi). Replaces what plays.
  bool Start(const QByteArray& smf, bool loop);
  void Stop();
  bool Sounding();

  // Audio thread: adds the synthesizer's output to interleaved stereo samples.
  void MixInto(qint16* stream, int frames);

 private:
  void DropPlayer();  // with lock_ held
  bool SoundingLocked();

  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  _fluid_player_t* player_ = nullptr;
  std::thread loader_;
  std::atomic<bool> loaded_{false};
  std::atomic<qint64> loadMilliseconds_{-1};
  // Guards player_ and rendering against each other; held only for short steps.
  std::mutex lock_;
  std::vector<qint16> buffer_;
};
