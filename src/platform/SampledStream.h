// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

#include "platform/ReadOnlyFile.h"
#include "platform/SoundFacts.h"

struct sf_private_tag;
struct _SDL_AudioStream;
struct FileView;

// A sampled sound decoded by libsndfile from its file while it plays (WAV in every encoding,
// RF64, RIFX, Wave64, AIFF, AIFF-C, FLAC, Ogg Vorbis and Opus, AU, MP3 and more), folded to
// stereo and resampled to the device's rate. Opened on the GUI thread, mixed on the audio thread.
class SampledStream {
 public:
  enum class Refusal { None, NotSound, Unsupported, Damaged };

  // The decoder libsndfile picks by the content's magic bytes. mp3 says that the content starts
  // as an MP3 stream does (an ID3 tag or several frame headers in a row): libsndfile's own guess
  // of MPEG from a single frame header is taken only then.
  static std::unique_ptr<SampledStream> Open(ReadOnlyFile file, bool mp3, Refusal& refusal);
  ~SampledStream();
  SampledStream(const SampledStream&) = delete;
  SampledStream& operator=(const SampledStream&) = delete;

  const SoundFacts& Facts() const { return facts_; }
  // Readies playing at deviceRate, once or looping seamlessly; false when it cannot.
  bool Start(int deviceRate, bool loop);
  // Audio thread: adds the next frames of sound to interleaved stereo; false once all of it has
  // sounded.
  bool MixInto(qint16* stereo, int frames);

 private:
  SampledStream(ReadOnlyFile file, std::unique_ptr<FileView> view, sf_private_tag* sound);
  void Feed();
  void SetDownmix();

  ReadOnlyFile file_;
  std::unique_ptr<FileView> view_;  // what libsndfile reads
  sf_private_tag* sound_;
  int channels_ = 0;
  int sourceRate_ = 0;
  SoundFacts facts_;
  _SDL_AudioStream* resampler_ = nullptr;
  bool loop_ = false;
  bool inputEnded_ = false;
  bool emptyPass_ = true;                      // nothing decoded since the last rewind
  std::vector<std::array<float, 2>> downmix_;  // each channel's share of left and right
  std::vector<float> decoded_;
  std::vector<float> stereo_;
  std::vector<float> resampled_;
};
