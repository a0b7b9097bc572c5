#include "platform/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/MidiFile.h"
#include "platform/MidiSynth.h"
#include "platform/NativePath.h"

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 512;
constexpr int kWaveChannel = 0;
// Short sound files; anything this large is not read into memory.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;

bool IsWave(const QByteArray& data) {
  return data.size() >= 12 && std::memcmp(data.constData(), "RIFF", 4) == 0 &&
         std::memcmp(data.constData() + 8, "WAVE", 4) == 0;
}

bool IsMidi(const QByteArray& data) { return data.startsWith("MThd"); }

bool IsWaveOrMidi(const QByteArray& head) { return IsWave(head) || IsMidi(head); }
bool AnyContent(const QByteArray&) { return true; }

bool ReadFully(int fd, char* into, qsizetype length, qsizetype& got) {
  got = 0;
  while (got < length) {
    const ssize_t n = ::read(fd, into + got, size_t(length - got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    got += n;
  }
  return true;
}

// The whole content of a regular file whose first 12 bytes the caller wants; empty when it is
// missing, not a regular file (a FIFO would block the read), too large, unreadable or empty.
// Files of another kind are not read beyond their head.
QByteArray ReadSoundFile(const QString& path, bool (*wanted)(const QByteArray& head)) {
  if (path.isEmpty()) return {};
  const int fd = ::open(ToNativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return {};
  QByteArray data;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
      st.st_size <= kMaxFileBytes) {
    QByteArray head(std::min<qsizetype>(12, qsizetype(st.st_size)), Qt::Uninitialized);
    qsizetype got = 0, rest = 0;
    if (ReadFully(fd, head.data(), head.size(), got) && wanted(head.left(got))) {
      data = head.left(got);
      data.resize(qsizetype(st.st_size));
      if (ReadFully(fd, data.data() + got, data.size() - got, rest))
        data.truncate(got + rest);  // a file that shrank while being read
      else
        data.clear();
    }
  }
  ::close(fd);
  return data;
}

struct ChunkFree {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
struct MusicFree {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

}  // namespace

struct SdlSound::Impl {
  bool open = false;
  int frequency = 0;
  QString soundFont;
  std::unique_ptr<MidiSynth> midi;
  std::unique_ptr<Mix_Chunk, ChunkFree> chunk;
  // The music is decoded while it plays, from these bytes: they live as long as it does.
  std::unique_ptr<Mix_Music, MusicFree> music;
  QByteArray musicBytes;
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

  void HaltAll() {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (midiPlaying) midi->Stop();
    midiPlaying = false;
  }

  bool PlayWave(const QByteArray& data, bool loop) {
    std::unique_ptr<Mix_Chunk, ChunkFree> loaded(
        Mix_LoadWAV_RW(SDL_RWFromConstMem(data.constData(), int(data.size())), 1));
    if (!loaded) return false;
    HaltAll();
    chunk = std::move(loaded);
    return Mix_PlayChannel(kWaveChannel, chunk.get(), loop ? -1 : 0) == kWaveChannel;
  }

  bool PlayMidi(const QByteArray& data, bool loop) {
    if (!IsWellFormedMidi(data) || !midi->WaitForSoundFont()) return false;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    midiPlaying = midi->Start(data, loop);
    return midiPlaying;
  }
};

SdlSound::SdlSound() : d(std::make_unique<Impl>()) {}

SdlSound::~SdlSound() {
  if (!d->open) return;
  Mix_SetPostMix(nullptr, nullptr);
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  d->chunk.reset();
  d->music.reset();
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
  const QByteArray data = ReadSoundFile(path, IsWaveOrMidi);
  if (IsWave(data)) return d->PlayWave(data, loop);
  if (IsMidi(data)) return d->PlayMidi(data, loop);
  return false;
}

bool SdlSound::PlayMp3(const QString& path, int count) {
  if (!d->open || (count < 1 && count != -1)) return false;
  QByteArray data = ReadSoundFile(path, AnyContent);
  if (data.isEmpty()) return false;
  std::unique_ptr<Mix_Music, MusicFree> loaded(Mix_LoadMUSType_RW(
      SDL_RWFromConstMem(data.constData(), int(data.size())), MUS_MP3, 1));
  if (!loaded) return false;
  d->HaltAll();
  d->music = std::move(loaded);
  d->musicBytes = std::move(data);
  // Mix_PlayMusic counts plays: 1 once, n n times, -1 for ever.
  return Mix_PlayMusic(d->music.get(), count) == 0;
}

void SdlSound::Stop() {
  if (d->open) d->HaltAll();
}

SdlSound::Kind SdlSound::Playing() const {
  if (!d->open) return Kind::Nothing;
  if (Mix_Playing(kWaveChannel)) return Kind::Wave;
  if (Mix_PlayingMusic()) return Kind::Mp3;
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
