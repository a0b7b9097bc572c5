// SPDX-FileCopyrightText: 2026 Plinkbox developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/MidiFile.h"
#include "platform/MidiSynth.h"
#include "platform/NativePath.h"

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 512;
constexpr int kWaveChannel = 0;
// MIDI files are read whole, as the synthesizer's player takes nothing less; real ones are far
// smaller.
constexpr qint64 kMaxMidiBytes = qint64(64) << 20;
// Codecs the stream decoder lacks (ADPCM) are decoded whole, so only while that is quick: about
// 20 ms for 512 KiB of ADPCM (some 20 s of mono sound).
constexpr qint64 kMaxWholeDecodeBytes = qint64(512) << 10;
// Written files carry a handful of chunks ahead of their sound; more is garbage.
constexpr int kMaxChunksBeforeData = 64;
constexpr quint32 kMaxFormatBytes = 1024;

bool IsWave(const char* head) {
  return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

bool IsMidi(const char* head) { return std::memcmp(head, "MThd", 4) == 0; }

// A regular, non-empty file open for reading; closed with the object. Reads never block on a
// FIFO or a device, which are refused at open.
class File {
 public:
  explicit File(const QString& path) {
    if (path.isEmpty()) return;
    fd_ = ::open(ToNativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st;
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      size_ = st.st_size;
    } else if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}
  File& operator=(File&&) = delete;
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }

  bool IsOpen() const { return fd_ >= 0; }
  qint64 Size() const { return size_; }

  // Bytes read at offset, fewer at the end of the file, -1 on an error.
  qint64 ReadSome(qint64 offset, char* into, qint64 length) const {
    qint64 got = 0;
    while (got < length) {
      const ssize_t n = ::pread(fd_, into + got, size_t(length - got), off_t(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      if (n == 0) break;
      got += n;
    }
    return got;
  }

  bool ReadAt(qint64 offset, char* into, qint64 length) const {
    return ReadSome(offset, into, length) == length;
  }

 private:
  int fd_ = -1;
  qint64 size_ = 0;
};

struct RwFree {
  void operator()(SDL_RWops* ops) const { SDL_FreeRW(ops); }
};

// A header held in memory, a stretch of a file and a tail of one repeated byte, read by SDL's
// decoders as they play: no more is read ahead of them than one block, which serves the small
// reads of a decoder searching its way in. Its owner keeps it for as long as a decoder holds
// Ops().
class FileStream {
 public:
  FileStream(File file, QByteArray head, qint64 offset, qint64 length, qint64 tail = 0,
             char tailByte = 0)
      : file_(std::move(file)), head_(std::move(head)), offset_(offset), length_(length),
        tail_(tail), tailByte_(tailByte), ops_(SDL_AllocRW()) {
    if (!ops_) return;
    ops_->type = SDL_RWOPS_UNKNOWN;
    ops_->hidden.unknown.data1 = this;
    ops_->size = &SizeOf;
    ops_->seek = &Seek;
    ops_->read = &Read;
    ops_->write = &Write;
    ops_->close = &Close;
  }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  SDL_RWops* Ops() const { return ops_.get(); }

 private:
  static FileStream& Of(SDL_RWops* ops) {
    return *static_cast<FileStream*>(ops->hidden.unknown.data1);
  }
  qint64 Size() const { return head_.size() + length_ + tail_; }

  static Sint64 SDLCALL SizeOf(SDL_RWops* ops) { return Of(ops).Size(); }

  static Sint64 SDLCALL Seek(SDL_RWops* ops, Sint64 offset, int whence) {
    FileStream& s = Of(ops);
    const qint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? s.pos_ : s.Size();
    if (base + offset < 0) return SDL_SetError("seek before the start");
    return s.pos_ = base + offset;
  }

  static size_t SDLCALL Read(SDL_RWops* ops, void* into, size_t size, size_t count) {
    FileStream& s = Of(ops);
    if (size == 0) return 0;
    auto* out = static_cast<char*>(into);
    const qint64 wanted = std::clamp<qint64>(s.Size() - s.pos_, 0, qint64(size * count));
    const qint64 headEnd = s.head_.size(), fileEnd = headEnd + s.length_;
    qint64 done = 0;
    while (done < wanted) {
      const qint64 at = s.pos_ + done;
      qint64 n = wanted - done;
      if (at < headEnd) {
        n = std::min(n, headEnd - at);
        std::memcpy(out + done, s.head_.constData() + at, size_t(n));
      } else if (at < fileEnd) {
        const qint64 left = fileEnd - at;
        n = s.ReadFile(s.offset_ + at - headEnd, out + done, std::min(n, left), left);
        if (n <= 0) break;  // the file shrank: the sound ends here
      } else {
        std::memset(out + done, s.tailByte_, size_t(n));
      }
      done += n;
    }
    s.pos_ += done;
    return size_t(done) / size;
  }

  // Up to length bytes at offset, of the available ones that follow it in the stretch.
  qint64 ReadFile(qint64 offset, char* into, qint64 length, qint64 available) {
    constexpr qint64 kBlock = 16 * 1024;
    if (length >= kBlock) return file_.ReadSome(offset, into, length);
    if (offset < blockAt_ || offset + length > blockAt_ + block_.size()) {
      block_.resize(qsizetype(std::min(kBlock, available)));
      const qint64 got = file_.ReadSome(offset, block_.data(), block_.size());
      block_.resize(qsizetype(std::max<qint64>(got, 0)));
      blockAt_ = offset;
    }
    const qint64 n = std::min(length, blockAt_ + block_.size() - offset);
    if (n > 0) std::memcpy(into, block_.constData() + (offset - blockAt_), size_t(n));
    return n;
  }

  static size_t SDLCALL Write(SDL_RWops*, const void*, size_t, size_t) { return 0; }
  static int SDLCALL Close(SDL_RWops*) { return 0; }  // the owner frees it

  File file_;
  QByteArray head_;
  qint64 offset_;
  qint64 length_;
  qint64 tail_;
  char tailByte_;
  qint64 pos_ = 0;
  QByteArray block_;
  qint64 blockAt_ = 0;
  std::unique_ptr<SDL_RWops, RwFree> ops_;
};

// Where a RIFF/WAVE file keeps its format and its sound.
struct WaveLayout {
  QByteArray format;  // the fmt chunk's body, padded to an even size
  qint64 dataOffset = 0;
  qint64 dataBytes = 0;  // whole blocks, no more than the file holds
};

bool SaneFormat(const QByteArray& format) {
  const auto* f = format.constData();
  const quint16 channels = qFromLittleEndian<quint16>(f + 2);
  const quint32 rate = qFromLittleEndian<quint32>(f + 4);
  const quint16 blockAlign = qFromLittleEndian<quint16>(f + 12);
  return channels >= 1 && channels <= 8 && rate >= 1000 && rate <= 384000 && blockAlign > 0;
}

// Walks the chunk headers from the head of the file and reads only the format; a chunk that
// claims more than the file holds ends the walk, and the sound may be cut short by the file's end
// as a recording that was not closed is.
std::optional<WaveLayout> ReadWaveLayout(const File& file) {
  WaveLayout wave;
  qint64 pos = 12;
  for (int i = 0; i < kMaxChunksBeforeData && pos + 8 <= file.Size(); ++i) {
    char header[8];
    if (!file.ReadAt(pos, header, 8)) return {};
    const quint32 length = qFromLittleEndian<quint32>(header + 4);
    const qint64 body = pos + 8;
    const qint64 inFile = file.Size() - body;
    if (std::memcmp(header, "data", 4) == 0) {
      if (wave.format.isEmpty()) return {};
      wave.dataOffset = body;
      wave.dataBytes = std::min<qint64>(length, inFile);
      wave.dataBytes -= wave.dataBytes % qFromLittleEndian<quint16>(wave.format.constData() + 12);
      if (wave.dataBytes == 0) return {};
      return wave;
    }
    if (length > inFile) return {};
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (length < 16 || length > kMaxFormatBytes || !wave.format.isEmpty()) return {};
      wave.format = QByteArray(qsizetype(length + (length & 1)), '\0');
      if (!file.ReadAt(body, wave.format.data(), length) || !SaneFormat(wave.format)) return {};
    }
    pos = body + length + (length & 1);  // chunks are padded to an even size
  }
  return {};
}

// The format's codec, an extensible format's sub-format resolved.
quint16 Codec(const QByteArray& format) {
  const quint16 code = qFromLittleEndian<quint16>(format.constData());
  return code == 0xFFFE && format.size() >= 26 ? qFromLittleEndian<quint16>(format.constData() + 24)
                                               : code;
}

// Integer PCM, float, A-law and mu-law: what SDL_mixer decodes while it plays.
bool Streamable(const WaveLayout& wave) {
  const quint16 codec = Codec(wave.format);
  return codec == 1 || codec == 3 || codec == 6 || codec == 7;
}

// The byte that sounds as silence in a streamable codec.
char SilentByte(const QByteArray& format) {
  const quint16 codec = Codec(format);
  if (codec == 1 && qFromLittleEndian<quint16>(format.constData() + 14) == 8) return char(0x80);
  if (codec == 6) return char(0xD5);  // A-law
  if (codec == 7) return char(0xFF);  // mu-law
  return 0;
}

// Frames that SDL's resampler keeps back at the end of a sound whose rate differs from the
// device's; a sound played once is followed by that much silence so that all of it sounds.
qint64 ResamplerTailFrames(const WaveLayout& wave, int deviceRate) {
  constexpr qint64 kReach = 512;  // the resampler's filter reach at the lower of the two rates
  const qint64 rate = qFromLittleEndian<quint32>(wave.format.constData() + 4);
  return rate == deviceRate ? 0 : kReach + kReach * rate / deviceRate + 1;
}

// The stream a decoder sees: the format and the sound only, so no other chunk, whatever it
// claims, makes it read or allocate; then tailFrames of silence.
std::unique_ptr<FileStream> WaveStream(File file, const WaveLayout& wave, qint64 tailFrames) {
  auto le32 = [](quint32 value) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
  };
  const qint64 tail = tailFrames * qFromLittleEndian<quint16>(wave.format.constData() + 12);
  const qint64 dataBytes = std::min<qint64>(wave.dataBytes + tail, 0xFFFFFFFF);
  const qint64 riffBytes = std::min<qint64>(4 + 8 + wave.format.size() + 8 + dataBytes, 0xFFFFFFFF);
  QByteArray head = "RIFF" + le32(quint32(riffBytes)) + "WAVE" + "fmt " +
                    le32(quint32(wave.format.size())) + wave.format + "data" +
                    le32(quint32(dataBytes));
  return std::make_unique<FileStream>(std::move(file), std::move(head), wave.dataOffset,
                                      dataBytes - tail, tail, SilentByte(wave.format));
}

struct ChunkFree {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
struct MusicFree {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
using Music = std::unique_ptr<Mix_Music, MusicFree>;

}  // namespace

struct SdlSound::Impl {
  bool open = false;
  int frequency = 0;
  QString soundFont;
  std::unique_ptr<MidiSynth> midi;
  std::unique_ptr<Mix_Chunk, ChunkFree> chunk;
  // The music is decoded from its file while it plays: the stream outlives it.
  std::unique_ptr<FileStream> musicStream;
  Music music;
  Kind musicKind = Kind::Nothing;
  bool midiPlaying = false;
  std::mutex tapLock;
  std::function<void(const qint16*, int)> tap;

  static void SDLCALL PostMix(void* self, Uint8* stream, int len) {
    auto* d = static_cast<Impl*>(self);
    auto* samples = reinterpret_cast<qint16*>(stream);
    const int count = len / int(sizeof(qint16));
    d->midi->MixInto(samples, count / kChannels);
    std::lock_guard guard(d->tapLock);
    if (d->tap) d->tap(samples, count);
  }

  // Halts and frees the channel and the music; the file of either is closed.
  void HaltSampled() {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    music.reset();
    musicStream.reset();
    chunk.reset();
  }

  void HaltAll() {
    HaltSampled();
    if (midiPlaying) midi->Stop();
    midiPlaying = false;
  }

  bool PlayMusic(std::unique_ptr<FileStream> stream, Music loaded, Kind kind, int count) {
    HaltAll();
    musicStream = std::move(stream);
    music = std::move(loaded);
    musicKind = kind;
    // Mix_PlayMusic counts plays: 1 once, n n times, -1 for ever.
    return Mix_PlayMusic(music.get(), count) == 0;
  }

  bool PlayWave(File file, bool loop) {
    const std::optional<WaveLayout> wave = ReadWaveLayout(file);
    if (!wave) return false;
    if (!Streamable(*wave)) return PlayWhole(std::move(file), *wave, loop);
    std::unique_ptr<FileStream> stream =
        WaveStream(std::move(file), *wave, loop ? 0 : ResamplerTailFrames(*wave, frequency));
    if (!stream->Ops()) return false;
    Music streamed(Mix_LoadMUSType_RW(stream->Ops(), MUS_WAV, 0));
    return streamed && PlayMusic(std::move(stream), std::move(streamed), Kind::Wave, loop ? -1 : 1);
  }

  bool PlayWhole(File file, const WaveLayout& wave, bool loop) {
    if (wave.dataBytes > kMaxWholeDecodeBytes) return false;
    const std::unique_ptr<FileStream> stream = WaveStream(std::move(file), wave, 0);
    if (!stream->Ops()) return false;
    std::unique_ptr<Mix_Chunk, ChunkFree> loaded(Mix_LoadWAV_RW(stream->Ops(), 0));
    if (!loaded) return false;
    HaltAll();
    chunk = std::move(loaded);
    return Mix_PlayChannel(kWaveChannel, chunk.get(), loop ? -1 : 0) == kWaveChannel;
  }

  bool PlayMidi(const File& file, bool loop) {
    if (file.Size() > kMaxMidiBytes) return false;
    const auto readAt = [&file](qint64 offset, char* into, qint64 length) {
      return file.ReadAt(offset, into, length);
    };
    const QByteArray smf = ReadWellFormedMidi(readAt, file.Size());
    if (smf.isEmpty() || !midi->WaitForSoundFont()) return false;
    HaltSampled();
    midiPlaying = midi->Start(smf, loop);
    return midiPlaying;
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
  Mix_Init(MIX_INIT_MP3);
  d->soundFont = MidiSynth::FindSoundFont();
  if (!d->soundFont.isEmpty()) Mix_SetSoundFonts(d->soundFont.toLocal8Bit().constData());
  d->midi = std::make_unique<MidiSynth>(d->frequency, d->soundFont);
  Mix_SetPostMix(&Impl::PostMix, d.get());
  d->open = true;
  return true;
}

bool SdlSound::IsOpen() const { return d->open; }

bool SdlSound::PlayWaveOrMidi(const QString& path, bool loop) {
  if (!d->open) return false;
  File file(path);
  char head[12];
  if (!file.IsOpen() || !file.ReadAt(0, head, sizeof head)) return false;
  if (IsWave(head)) return d->PlayWave(std::move(file), loop);
  if (IsMidi(head)) return d->PlayMidi(file, loop);
  return false;
}

bool SdlSound::PlayMp3(const QString& path, int count) {
  if (!d->open || (count < 1 && count != -1)) return false;
  File file(path);
  char head[12];
  if (!file.IsOpen() || !file.ReadAt(0, head, sizeof head)) return false;
  std::unique_ptr<FileStream> stream;
  if (IsWave(head)) {
    // MP3 inside RIFF/WAVE: the decoder sees its format and sound only.
    const std::optional<WaveLayout> wave = ReadWaveLayout(file);
    if (!wave) return false;
    stream = WaveStream(std::move(file), *wave, 0);
  } else {
    const qint64 size = file.Size();
    stream = std::make_unique<FileStream>(std::move(file), QByteArray(), 0, size);
  }
  if (!stream->Ops()) return false;
  Music loaded(Mix_LoadMUSType_RW(stream->Ops(), MUS_MP3, 0));
  return loaded && d->PlayMusic(std::move(stream), std::move(loaded), Kind::Mp3, count);
}

void SdlSound::Stop() {
  if (d->open) d->HaltAll();
}

SdlSound::Kind SdlSound::Playing() const {
  if (!d->open) return Kind::Nothing;
  if (Mix_Playing(kWaveChannel)) return Kind::Wave;
  if (Mix_PlayingMusic()) return d->musicKind;
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
