// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SampledStream.h"

#include <SDL.h>
#include <dlfcn.h>
#include <mpg123.h>
#include <sndfile.h>

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

// libsndfile decodes MP3 through mpg123 without asking it to be quiet, and mpg123 then reports
// every damaged frame on stderr. Every mpg123 handle of the process is made here and made quiet.
extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
  using New = mpg123_handle* (*)(const char*, int*);
  static const auto next = reinterpret_cast<New>(dlsym(RTLD_NEXT, "mpg123_new"));
  mpg123_handle* handle = next ? next(decoder, error) : nullptr;
  if (handle) mpg123_param2(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  return handle;
}

// What libsndfile reads, through its virtual I/O: a file as it stands, or a RIFF/WAVE file that
// it refused as it stands shown again as a header made here (its format and data chunks, found by
// a walk that forgives a chunk without its pad byte) and its sound as far as the file holds it.
struct FileView {
  QByteArray head;  // made here, ahead of the stretch of the file
  const ReadOnlyFile* file = nullptr;
  qint64 dataOffset = 0;
  qint64 dataBytes = 0;
  qint64 pos = 0;
  quint16 codec = 0;  // of a RIFF/WAVE file shown again

  FileView(const ReadOnlyFile* f, qint64 offset, qint64 bytes)
      : file(f), dataOffset(offset), dataBytes(bytes) {}

  qint64 Size() const { return head.size() + dataBytes; }
  static FileView& Of(void* self) { return *static_cast<FileView*>(self); }
  static sf_count_t Length(void* self) { return Of(self).Size(); }
  static sf_count_t Tell(void* self) { return Of(self).pos; }
  static sf_count_t Seek(sf_count_t offset, int whence, void* self) {
    FileView& v = Of(self);
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? v.pos : v.Size();
    v.pos = std::clamp<qint64>(base + offset, 0, v.Size());
    return v.pos;
  }
  static sf_count_t Read(void* into, sf_count_t count, void* self) {
    FileView& v = Of(self);
    auto* out = static_cast<char*>(into);
    sf_count_t done = 0;
    if (v.pos < v.head.size()) {
      done = std::min<sf_count_t>(count, v.head.size() - v.pos);
      std::memcpy(out, v.head.constData() + v.pos, size_t(done));
    }
    const qint64 at = v.pos + done - v.head.size();
    const qint64 wanted = std::min<qint64>(count - done, v.dataBytes - at);
    if (wanted > 0)
      done += std::max<qint64>(v.file->ReadSome(v.dataOffset + at, out + done, wanted), 0);
    v.pos += done;
    return done;
  }
  static sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
};

namespace {

// SDL 2.26's resampler drops sound from larger pieces put into it at some rates (1,024 frames
// of 22.05 kHz lose a quarter of themselves); 256 frames are safe at every rate.
constexpr int kReadFrames = 256;
constexpr int kMaxChannels = 8;
constexpr float kMinus3dB = 0.70710678f;

// Each channel's share of left and right: fronts keep their level, centres and surrounds come in
// at -3 dB, the low-frequency channel is left out (the usual stereo downmix).
std::array<float, 2> Share(int position) {
  switch (position) {
    case SF_CHANNEL_MAP_MONO:
      return {1, 1};
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
      return {1, 0};
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
      return {0, 1};
    case SF_CHANNEL_MAP_CENTER:
    case SF_CHANNEL_MAP_FRONT_CENTER:
    case SF_CHANNEL_MAP_TOP_CENTER:
    case SF_CHANNEL_MAP_TOP_FRONT_CENTER:
      return {kMinus3dB, kMinus3dB};
    case SF_CHANNEL_MAP_REAR_LEFT:
    case SF_CHANNEL_MAP_SIDE_LEFT:
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
      return {kMinus3dB, 0};
    case SF_CHANNEL_MAP_REAR_RIGHT:
    case SF_CHANNEL_MAP_SIDE_RIGHT:
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
      return {0, kMinus3dB};
    case SF_CHANNEL_MAP_REAR_CENTER:
    case SF_CHANNEL_MAP_TOP_REAR_CENTER:
      return {0.5f, 0.5f};
    default:
      return {0, 0};
  }
}

// The positions of a file that names none, in the WAV order of its channel count.
std::vector<int> DefaultPositions(int channels) {
  enum {
    L = SF_CHANNEL_MAP_LEFT,
    R = SF_CHANNEL_MAP_RIGHT,
    C = SF_CHANNEL_MAP_CENTER,
    LFE = SF_CHANNEL_MAP_LFE,
    BL = SF_CHANNEL_MAP_REAR_LEFT,
    BR = SF_CHANNEL_MAP_REAR_RIGHT,
    BC = SF_CHANNEL_MAP_REAR_CENTER,
    SL = SF_CHANNEL_MAP_SIDE_LEFT,
    SR = SF_CHANNEL_MAP_SIDE_RIGHT
  };
  switch (channels) {
    case 1:
      return {SF_CHANNEL_MAP_MONO};
    case 2:
      return {L, R};
    case 3:
      return {L, R, C};
    case 4:
      return {L, R, BL, BR};
    case 5:
      return {L, R, C, BL, BR};
    case 6:
      return {L, R, C, LFE, BL, BR};
    case 7:
      return {L, R, C, LFE, BC, SL, SR};
    default:
      return {L, R, C, LFE, BL, BR, SL, SR};
  }
}

QString ContainerName(int format, const QByteArray& head) {
  switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
      return head.startsWith("RIFX") ? QStringLiteral("RIFX") : QStringLiteral("WAV");
    case SF_FORMAT_AIFF:
      return head.mid(8, 4) == "AIFC" ? QStringLiteral("AIFF-C") : QStringLiteral("AIFF");
    case SF_FORMAT_AU:
      return QStringLiteral("AU");
    case SF_FORMAT_W64:
      return QStringLiteral("Wave64");
    case SF_FORMAT_RF64:
      return QStringLiteral("RF64");
    case SF_FORMAT_FLAC:
      return QStringLiteral("FLAC");
    case SF_FORMAT_OGG:
      return QStringLiteral("Ogg");
    case SF_FORMAT_MPEG:
      return QString();
    case SF_FORMAT_CAF:
      return QStringLiteral("CAF");
    default: {
      SF_FORMAT_INFO info{format & SF_FORMAT_TYPEMASK, nullptr, nullptr};
      sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info);
      return QString::fromLatin1(info.name ? info.name : "").section(QLatin1Char(' '), 0, 0);
    }
  }
}

// The encoding's name (empty where the container says it all) and its bits per sample.
std::pair<QString, int> Encoding(int format) {
  const int type = format & SF_FORMAT_TYPEMASK;
  const bool plain = type == SF_FORMAT_FLAC || type == SF_FORMAT_CAF;
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return {plain ? QString() : QStringLiteral("PCM"), 8};
    case SF_FORMAT_PCM_16:
      return {plain ? QString() : QStringLiteral("PCM"), 16};
    case SF_FORMAT_PCM_24:
      return {plain ? QString() : QStringLiteral("PCM"), 24};
    case SF_FORMAT_PCM_32:
      return {plain ? QString() : QStringLiteral("PCM"), 32};
    case SF_FORMAT_FLOAT:
      return {QStringLiteral("浮点"), 32};
    case SF_FORMAT_DOUBLE:
      return {QStringLiteral("浮点"), 64};
    case SF_FORMAT_ULAW:
      return {QStringLiteral("μ-law"), 8};
    case SF_FORMAT_ALAW:
      return {QStringLiteral("A-law"), 8};
    case SF_FORMAT_IMA_ADPCM:
      return {QStringLiteral("IMA ADPCM"), 4};
    case SF_FORMAT_MS_ADPCM:
      return {QStringLiteral("MS ADPCM"), 4};
    case SF_FORMAT_GSM610:
      return {QStringLiteral("GSM 6.10"), 0};
    case SF_FORMAT_VORBIS:
      return {QStringLiteral("Vorbis"), 0};
    case SF_FORMAT_OPUS:
      return {QStringLiteral("Opus"), 0};
    case SF_FORMAT_MPEG_LAYER_I:
      return {QStringLiteral("MP1"), 0};
    case SF_FORMAT_MPEG_LAYER_II:
      return {QStringLiteral("MP2"), 0};
    case SF_FORMAT_MPEG_LAYER_III:
      return {QStringLiteral("MP3"), 0};
    default: {
      SF_FORMAT_INFO info{format & SF_FORMAT_SUBMASK, nullptr, nullptr};
      sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info);
      return {QString::fromLatin1(info.name ? info.name : ""), 0};
    }
  }
}

SF_VIRTUAL_IO kFileViewIo{&FileView::Length, &FileView::Seek, &FileView::Read, &FileView::Write,
                          &FileView::Tell};

bool PrintableId(const char* id) {
  return std::all_of(id, id + 4, [](char c) { return c >= 0x20 && c <= 0x7E; });
}

QByteArray Le32(quint32 value) {
  QByteArray bytes(4, Qt::Uninitialized);
  qToLittleEndian(value, bytes.data());
  return bytes;
}

std::unique_ptr<FileView> ViewOfWave(const ReadOnlyFile& file) {
  constexpr int kMaxChunksBeforeData = 64;
  constexpr quint32 kMaxFormatBytes = 1024;
  QByteArray format;
  qint64 pos = 12;
  bool odd = false;  // the last chunk had an odd length: its pad byte may be missing
  for (int i = 0; i < kMaxChunksBeforeData && pos + 8 <= file.Size(); ++i) {
    char header[8], unpadded[8];
    if (!file.ReadAt(pos, header, 8)) return {};
    if (odd && !PrintableId(header) && file.ReadAt(pos - 1, unpadded, 8) && PrintableId(unpadded)) {
      std::memcpy(header, unpadded, 8);
      --pos;
    }
    const quint32 length = qFromLittleEndian<quint32>(header + 4);
    const qint64 body = pos + 8;
    if (std::memcmp(header, "data", 4) == 0) {
      if (format.isEmpty()) return {};
      auto view =
          std::make_unique<FileView>(&file, body, std::min<qint64>(length, file.Size() - body));
      view->codec = qFromLittleEndian<quint16>(format.constData());
      view->head =
          "RIFF" +
          Le32(quint32(std::min<qint64>(20 + format.size() + view->dataBytes, 0xFFFFFFFF))) +
          "WAVEfmt " + Le32(quint32(format.size())) + format + "data" +
          Le32(quint32(view->dataBytes));
      return view;
    }
    if (length > file.Size() - body) return {};
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (length < 16 || length > kMaxFormatBytes) return {};
      format = QByteArray(qsizetype(length + (length & 1)), '\0');
      if (!file.ReadAt(body, format.data(), length)) return {};
    }
    odd = length & 1;
    pos = body + length + odd;
  }
  return {};
}

// The WAV codecs libsndfile decodes; any other is an encoding it does not have.
bool KnownWaveCodec(quint16 codec) {
  for (quint16 known :
       {0x0001, 0x0002, 0x0003, 0x0006, 0x0007, 0x0011, 0x0031, 0x0040, 0x0050, 0x0055, 0xFFFE})
    if (codec == known) return true;
  return false;
}

SampledStream::Refusal RefusalOf(int error) {
  if (error == SF_ERR_UNRECOGNISED_FORMAT) return SampledStream::Refusal::NotSound;
  const QByteArray text = QByteArray(sf_error_number(error)).toLower();
  if (error == SF_ERR_UNSUPPORTED_ENCODING || text.contains("unsupported") ||
      text.contains("unimplemented") || text.contains("not supported"))
    return SampledStream::Refusal::Unsupported;
  return SampledStream::Refusal::Damaged;
}

}  // namespace

std::unique_ptr<SampledStream> SampledStream::Open(ReadOnlyFile file, bool mp3, Refusal& refusal) {
  QByteArray head(12, '\0');
  file.ReadSome(0, head.data(), head.size());
  refusal = Refusal::NotSound;
  if (!mp3 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0)
    return {};  // an MPEG frame header by chance, which libsndfile would take for MP3
  SF_INFO info{};
  auto view = std::make_unique<FileView>(&file, 0, file.Size());
  SNDFILE* sound = sf_open_virtual(&kFileViewIo, SFM_READ, &info, view.get());
  refusal = sound ? Refusal::None : RefusalOf(sf_error(nullptr));
  if (!sound && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE" && (view = ViewOfWave(file))) {
    if (!KnownWaveCodec(view->codec))
      refusal = Refusal::Unsupported;
    else
      sound = sf_open_virtual(&kFileViewIo, SFM_READ, &info, view.get());
  }
  if (!sound) return {};
  std::unique_ptr<SampledStream> stream(new SampledStream(std::move(file), std::move(view), sound));
  const int type = info.format & SF_FORMAT_TYPEMASK;
  if (type == SF_FORMAT_MPEG && !mp3) {
    refusal = Refusal::NotSound;  // a frame header or two by chance, not an MP3 stream
    return {};
  }
  if (info.frames <= 0) {
    refusal = Refusal::Damaged;  // a header without sound
    return {};
  }
  if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < 1000 ||
      info.samplerate > 768000) {
    refusal = Refusal::Unsupported;
    return {};
  }
  stream->channels_ = info.channels;
  stream->sourceRate_ = info.samplerate;
  auto [encoding, bits] = Encoding(info.format);
  const QString container = ContainerName(info.format, head);
  stream->facts_.format = (container + QLatin1Char(' ') + encoding).trimmed();
  stream->facts_.bits = bits;
  stream->facts_.sampleRate = info.samplerate;
  stream->facts_.channels = info.channels;
  if (info.frames > 0 && info.frames < SF_COUNT_MAX)
    stream->facts_.seconds = double(info.frames) / info.samplerate;
  refusal = Refusal::None;
  return stream;
}

SampledStream::SampledStream(ReadOnlyFile file, std::unique_ptr<FileView> view,
                             sf_private_tag* sound)
    : file_(std::move(file)), view_(std::move(view)), sound_(sound) {
  view_->file = &file_;
}

SampledStream::~SampledStream() {
  if (resampler_) SDL_FreeAudioStream(resampler_);
  sf_close(sound_);
}

void SampledStream::SetDownmix() {
  std::vector<int> positions(size_t(channels_), SF_CHANNEL_MAP_INVALID);
  const bool named = sf_command(sound_, SFC_GET_CHANNEL_MAP_INFO, positions.data(),
                                int(positions.size() * sizeof(int))) == SF_TRUE;
  if (!named || std::all_of(positions.begin(), positions.end(), [](int p) { return p == 0; }))
    positions = DefaultPositions(channels_);
  if (channels_ == 1) positions = {SF_CHANNEL_MAP_MONO};  // one channel sounds in the centre
  downmix_.clear();
  for (int position : positions) downmix_.push_back(Share(position));
}

bool SampledStream::Start(int deviceRate, bool loop) {
  if (resampler_) return false;
  resampler_ = SDL_NewAudioStream(AUDIO_F32SYS, 2, sourceRate_, AUDIO_F32SYS, 2, deviceRate);
  if (!resampler_) return false;
  loop_ = loop;
  SetDownmix();
  decoded_.resize(size_t(kReadFrames * channels_));
  stereo_.resize(size_t(kReadFrames * 2));
  resampled_.resize(4096 * 2);
  return true;
}

// Decodes the next frames into the resampler. A sound that loops goes on from its start within
// the same stream, so the resampler never sees a seam.
void SampledStream::Feed() {
  const sf_count_t frames = sf_readf_float(sound_, decoded_.data(), kReadFrames);
  if (frames <= 0) {
    if (loop_ && !emptyPass_ && sf_seek(sound_, 0, SEEK_SET) == 0) {
      emptyPass_ = true;
      return;
    }
    SDL_AudioStreamFlush(resampler_);
    inputEnded_ = true;
    return;
  }
  emptyPass_ = false;
  const float* in = decoded_.data();
  for (sf_count_t i = 0; i < frames; ++i) {
    float left = 0, right = 0;
    for (int c = 0; c < channels_; ++c, ++in) {
      left += *in * downmix_[size_t(c)][0];
      right += *in * downmix_[size_t(c)][1];
    }
    stereo_[size_t(2 * i)] = left;
    stereo_[size_t(2 * i + 1)] = right;
  }
  if (SDL_AudioStreamPut(resampler_, stereo_.data(), int(frames * 2 * sizeof(float))) != 0)
    inputEnded_ = true;
}

bool SampledStream::MixInto(qint16* stereo, int frames) {
  if (!resampler_) return false;
  if (resampled_.size() < size_t(frames * 2)) resampled_.resize(size_t(frames * 2));
  const int wanted = frames * 2 * int(sizeof(float));
  while (!inputEnded_ && SDL_AudioStreamAvailable(resampler_) < wanted) Feed();
  const int got = std::max(SDL_AudioStreamGet(resampler_, resampled_.data(), wanted), 0);
  const int samples = got / int(sizeof(float));
  for (int i = 0; i < samples; ++i) {
    const long value = stereo[i] + std::lrint(double(resampled_[size_t(i)]) * 32768.0);
    stereo[i] = qint16(std::clamp<long>(value, -32768, 32767));
  }
  return !inputEnded_ || SDL_AudioStreamAvailable(resampler_) > 0;
}
