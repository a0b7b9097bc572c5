// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MidiSynth.h"

#include <fluidsynth.h>

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr int kBufferFrames = 8192;
}

QString MidiSynth::FindSoundFont() {
  for (const char* name : {"default-GM.sf2", "TimGM6mb.sf2", "FluidR3_GM.sf2"}) {
    const QString path = QStringLiteral("/usr/share/sounds/sf2/") + QLatin1String(name);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

MidiSynth::MidiSynth(int sampleRate, const QString& soundFont) : buffer_(kBufferFrames * 2) {
  // The program reports nothing on the console; a file the player refuses is simply not played.
  for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
  settings_ = new_fluid_settings();
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  // The player advances with the rendered samples, not with a timer thread of its own.
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  fluid_settings_setint(settings_, "synth.lock-memory", 0);
  synth_ = new_fluid_synth(settings_);
  if (!synth_ || soundFont.isEmpty()) return;
  loader_ = std::thread([this, file = soundFont.toLocal8Bit()] {
    QElapsedTimer timer;
    timer.start();
    if (fluid_synth_sfload(synth_, file.constData(), 1) != FLUID_FAILED) {
      loadMilliseconds_ = timer.elapsed();
      loaded_ = true;
    }
  });
}

MidiSynth::~MidiSynth() {
  if (loader_.joinable()) loader_.join();
  {
    std::lock_guard guard(lock_);
    DropPlayer();
  }
  if (synth_) delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}

bool MidiSynth::WaitForSoundFont() {
  if (loader_.joinable()) loader_.join();
  return loaded_;
}

qint64 MidiSynth::SoundFontLoadMilliseconds() {
  WaitForSoundFont();
  return loadMilliseconds_;
}

void MidiSynth::DropPlayer() {
  if (!player_) return;
  fluid_player_stop(player_);
  delete_fluid_player(player_);
  player_ = nullptr;
  fluid_synth_all_sounds_off(synth_, -1);
  fluid_synth_system_reset(synth_);
}

bool MidiSynth::Start(const QByteArray& smf, bool loop) {
  if (!WaitForSoundFont()) return false;
  std::lock_guard guard(lock_);
  DropPlayer();
  player_ = new_fluid_player(synth_);
  if (!player_) return false;
  if (fluid_player_add_mem(player_, smf.constData(), size_t(smf.size())) != FLUID_OK ||
      fluid_player_set_loop(player_, loop ? -1 : 1) != FLUID_OK ||
      fluid_player_play(player_) != FLUID_OK) {
    DropPlayer();
    return false;
  }
  return true;
}

void MidiSynth::Stop() {
  if (!loaded_) return;
  std::lock_guard guard(lock_);
  DropPlayer();
}

bool MidiSynth::SoundingLocked() {
  return player_ && (fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING ||
                     fluid_synth_get_active_voice_count(synth_) > 0);
}

bool MidiSynth::Sounding() {
  std::lock_guard guard(lock_);
  return SoundingLocked();
}

void MidiSynth::MixInto(qint16* stream, int frames) {
  std::lock_guard guard(lock_);
  if (!SoundingLocked()) return;
  while (frames > 0) {
    const int n = std::min(frames, kBufferFrames);
    qint16* out = buffer_.data();
    fluid_synth_write_s16(synth_, n, out, 0, 2, out, 1, 2);
    for (int i = 0; i < n * 2; ++i)
      stream[i] = qint16(std::clamp(int(stream[i]) + int(out[i]), -32768, 32767));
    stream += n * 2;
    frames -= n;
  }
}
