// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QByteArray>

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/MidiFile.h"
#include "platform/MidiSynth.h"
#include "platform/ReadOnlyFile.h"
#include "platform/SampledStream.h"

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 512;
// MIDI files are read whole, as the synthesizer's player takes nothing less; real ones are far
// smaller.
constexpr qint64 kMaxMidiBytes = qint64(64) << 20;
// Enough for a few MP3 frame headers in a row.
constexpr qint64 kHeadBytes = 8192;
constexpr int kMp3FramesInARow = 3;

// The length of the MPEG audio frame whose header is at h; 0 when it is no valid header (free
// format included, which no chance bytes should pass for).
int Mp3FrameLength(const unsigned char* h) {
  static const short kBitrates[2][3][15] = {
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  static const int kRates[3] = {44100, 48000, 32000};
  const int version = (h[1] >> 3) & 3;  // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
  const int layer = 4 - ((h[1] >> 1) & 3);
  const int bitrateIndex = h[2] >> 4, rateIndex = (h[2] >> 2) & 3, padding = (h[2] >> 1) & 1;
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0 || version == 1 || layer == 4 || bitrateIndex == 0 ||
      bitrateIndex == 15 || rateIndex == 3 || (h[3] & 3) == 2)
    return 0;
  const int bitrate = kBitrates[version == 3 ? 0 : 1][layer - 1][bitrateIndex] * 1000;
  const int rate = kRates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
  if (layer == 1) return (12 * bitrate / rate + padding) * 4;
  return (layer == 3 && version != 3 ? 72 : 144) * bitrate / rate + padding;
}

// An ID3 tag, or frame headers in a row that agree on version, layer and rate (or that fill a
// short file exactly).
bool StartsAsMp3(const QByteArray& head, qint64 size) {
  if (head.startsWith("ID3")) return true;
  const auto* p = reinterpret_cast<const unsigned char*>(head.constData());
  qint64 pos = 0;
  for (int frames = 0; frames < kMp3FramesInARow; ++frames) {
    if (pos == size && frames > 0) return true;
    if (pos + 4 > head.size()) return false;
    const int length = Mp3FrameLength(p + pos);
    if (length == 0 || (frames > 0 && ((p[pos + 1] ^ p[1]) & 0xFE) != 0) ||
        ((p[pos + 2] ^ p[2]) & 0x0C) != 0)
      return false;
    pos += length;
  }
  return true;
}

PlayResult ResultOf(SampledStream::Refusal refusal) {
  switch (refusal) {
    case SampledStream::Refusal::Unsupported:
      return PlayResult::Unsupported;
    case SampledStream::Refusal::Damaged:
      return PlayResult::Damaged;
    default:
      return PlayResult::NotSound;
  }
}

// A file's head and where a MIDI file inside it starts and ends (its whole, for a plain one);
// midiLength is 0 for a file that holds no MIDI.
struct Head {
  QByteArray bytes;
  qint64 midiOffset = 0;
  qint64 midiLength = 0;
  bool mp3 = false;  // starts as an MP3 stream does
};

Head ReadHead(const ReadOnlyFile& file) {
  Head head;
  head.bytes.resize(qsizetype(std::min(kHeadBytes, file.Size())));
  const qint64 got = file.ReadSome(0, head.bytes.data(), head.bytes.size());
  head.bytes.resize(qsizetype(std::max<qint64>(got, 0)));
  const auto readAt = [&file](qint64 offset, char* into, qint64 length) {
    return file.ReadAt(offset, into, length);
  };
  if (head.bytes.startsWith("MThd"))
    head.midiLength = file.Size();
  else if (!FindRmidData(readAt, file.Size(), head.midiOffset, head.midiLength))
    head.midiLength = 0;
  head.mp3 = StartsAsMp3(head.bytes, file.Size());
  return head;
}

// The standard MIDI file the head names, checked and rebuilt; empty when it is not one.
QByteArray ReadMidi(const ReadOnlyFile& file, const Head& head, MidiFacts& facts) {
  if (head.midiLength > kMaxMidiBytes) return {};
  const auto readAt = [&file, &head](qint64 offset, char* into, qint64 length) {
    return file.ReadAt(head.midiOffset + offset, into, length);
  };
  return ReadWellFormedMidi(readAt, head.midiLength, &facts);
}

SoundFacts FactsOf(const MidiFacts& midi) {
  SoundFacts facts;
  facts.format = QStringLiteral("MIDI");
  facts.tracks = midi.tracks;
  facts.seconds = midi.seconds;
  return facts;
}

}  // namespace

struct SdlSound::Impl {
  bool open = false;
  int frequency = 0;
  QString soundFont;
  std::unique_ptr<MidiSynth> midi;
  bool midiPlaying = false;
  // Guards the sampled sound against the audio thread, which mixes it.
  std::mutex sampledLock;
  std::unique_ptr<SampledStream> sampled;
  bool sampledSounding = false;
  QString playingPath;
  SoundFacts playingFacts;
  std::mutex tapLock;
  std::function<void(const qint16*, int)> tap;

  static void SDLCALL PostMix(void* self, Uint8* stream, int len) {
    auto* d = static_cast<Impl*>(self);
    auto* samples = reinterpret_cast<qint16*>(stream);
    const int count = len / int(sizeof(qint16));
    {
      std::lock_guard guard(d->sampledLock);
      if (d->sampledSounding) d->sampledSounding = d->sampled->MixInto(samples, count / kChannels);
    }
    d->midi->MixInto(samples, count / kChannels);
    std::lock_guard guard(d->tapLock);
    if (d->tap) d->tap(samples, count);
  }

  // The stream is taken out under the lock and closed outside it.
  void HaltSampled() {
    std::unique_ptr<SampledStream> old;
    std::lock_guard guard(sampledLock);
    old.swap(sampled);
    sampledSounding = false;
  }

  void HaltAll() {
    HaltSampled();
    if (midiPlaying) midi->Stop();
    midiPlaying = false;
    playingPath.clear();
  }

  PlayResult PlaySampled(ReadOnlyFile file, const Head& head, bool loop, const QString& path) {
    SampledStream::Refusal refusal;
    std::unique_ptr<SampledStream> stream = SampledStream::Open(std::move(file), head.mp3, refusal);
    if (!stream) return ResultOf(refusal);
    if (!stream->Start(frequency, loop)) return PlayResult::Unsupported;
    HaltAll();
    playingPath = path;
    playingFacts = stream->Facts();
    std::lock_guard guard(sampledLock);
    sampled = std::move(stream);
    sampledSounding = true;
    return PlayResult::Started;
  }

  PlayResult PlayMidi(const ReadOnlyFile& file, const Head& head, bool loop, const QString& path) {
    MidiFacts facts;
    const QByteArray smf = ReadMidi(file, head, facts);
    if (smf.isEmpty()) return PlayResult::Damaged;
    if (!midi->WaitForSoundFont()) return PlayResult::NoSoundFont;
    HaltAll();
    midiPlaying = midi->Start(smf, loop);
    if (!midiPlaying) return PlayResult::Damaged;
    playingPath = path;
    playingFacts = FactsOf(facts);
    return PlayResult::Started;
  }
};

SdlSound::SdlSound() : d(std::make_unique<Impl>()) {}

SdlSound::~SdlSound() {
  if (!d->open) return;
  Mix_SetPostMix(nullptr, nullptr);
  d->HaltSampled();
  d->midi.reset();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::Open() {
  if (d->open) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr, 0) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_QuerySpec(&d->frequency, nullptr, nullptr);
  d->soundFont = MidiSynth::FindSoundFont();
  if (!d->soundFont.isEmpty()) Mix_SetSoundFonts(d->soundFont.toLocal8Bit().constData());
  d->midi = std::make_unique<MidiSynth>(d->frequency, d->soundFont);
  Mix_SetPostMix(&Impl::PostMix, d.get());
  d->open = true;
  return true;
}

bool SdlSound::IsOpen() const { return d->open; }

PlayResult SdlSound::Play(const QString& path, bool loop) {
  if (!d->open) return PlayResult::NoDevice;
  ReadOnlyFile file(path);
  if (!file.IsOpen()) return file.Missing() ? PlayResult::Missing : PlayResult::Unreadable;
  if (file.Size() == 0) return PlayResult::NotSound;
  const Head head = ReadHead(file);
  if (head.midiLength > 0) return d->PlayMidi(file, head, loop, path);
  return d->PlaySampled(std::move(file), head, loop, path);
}

void SdlSound::Stop() {
  if (d->open) d->HaltAll();
}

QString SdlSound::Describe(const QString& path) {
  if (!path.isEmpty() && path == d->playingPath && Playing() != Kind::Nothing)
    return d->playingFacts.Text();
  ReadOnlyFile file(path);
  if (!file.IsOpen() || file.Size() == 0) return {};
  const Head head = ReadHead(file);
  if (head.midiLength > 0) {
    MidiFacts facts;
    return ReadMidi(file, head, facts).isEmpty() ? QString() : FactsOf(facts).Text();
  }
  SampledStream::Refusal refusal;
  const std::unique_ptr<SampledStream> stream =
      SampledStream::Open(std::move(file), head.mp3, refusal);
  return stream ? stream->Facts().Text() : QString();
}

SdlSound::Kind SdlSound::Playing() const {
  if (!d->open) return Kind::Nothing;
  {
    std::lock_guard guard(d->sampledLock);
    if (d->sampledSounding) return Kind::Sampled;
  }
  if (d->midiPlaying && d->midi->Sounding()) return Kind::Midi;
  return Kind::Nothing;
}

int SdlSound::DeviceFrequency() const { return d->frequency; }

QString SdlSound::SoundFontPath() const { return d->soundFont; }

qint64 SdlSound::SoundFontLoadMilliseconds() {
  return d->midi ? d->midi->SoundFontLoadMilliseconds() : -1;
}

void SdlSound::SetOutputTap(std::function<void(const qint16* samples, int count)> tap) {
  std::lock_guard guard(d->tapLock);
  d->tap = std::move(tap);
}
