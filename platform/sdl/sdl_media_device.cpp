#include "platform/sdl/sdl_media_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>

#include "platform/audio/media_file.h"
#include "platform/os/file.h"
#include "platform/sdl/sdl_audio_start.h"

namespace pellora {
namespace {

// General MIDI sound fonts, the first one present is used (unless
// SDL_SOUNDFONTS names others).
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// SDL_mixer has one music stream and one audio device in a process, and
// reports the end of the music through a hook without context: which
// device plays and for whom (read by the hook on the audio thread), the
// device whose music SDL_mixer holds and whether its audio device is open
// (user-interface thread only).
struct MixerState {
  std::atomic<HWND> playingWindow{0};
  std::atomic<MCIDEVICEID> playingDevice{0};
  MCIDEVICEID musicOwner = 0;
  bool mixerOpen = false;
};
MixerState mixer;

// Runs on the audio thread: only posts the notification.
void SDLCALL MusicFinished() {
  MCIDEVICEID id = mixer.playingDevice.exchange(0);
  if (id) NotifyMediaDone(mixer.playingWindow.load(), id);
}

struct Decoder {
  Mix_MusicType type;
  int initFlag;
};

Decoder DecoderFor(MediaFileKind kind) {
  switch (kind) {
    case MediaFileKind::Wave: return {MUS_WAV, 0};
    case MediaFileKind::Midi: return {MUS_MID, MIX_INIT_MID};
    case MediaFileKind::Mpeg: return {MUS_MP3, MIX_INIT_MP3};
    case MediaFileKind::OggVorbis: return {MUS_OGG, MIX_INIT_OGG};
    case MediaFileKind::OggOpus: return {MUS_OPUS, MIX_INIT_OPUS};
    case MediaFileKind::Flac: return {MUS_FLAC, MIX_INIT_FLAC};
    case MediaFileKind::Unknown: break;
  }
  return {MUS_NONE, 0};
}

void ChooseSoundFont() {
  const char* given = SDL_getenv("SDL_SOUNDFONTS");
  if (given && *given) return;
  for (const char* font : kSoundFonts)
    if (FileExists(font)) {
      Mix_SetSoundFonts(font);
      return;
    }
}

// Opens SDL_mixer's audio device unless it is open, with the decoder of
// initFlag loaded. The decoders stay for the process: the next sound most
// likely needs them again.
bool AcquireMixerAudio(int initFlag) {
  if (!mixer.mixerOpen) {
    if (!StartSdlAudio()) return false;
    ChooseSoundFont();
    // Stereo at CD rate whatever the card has: SDL converts to the
    // device's own channels (surround included) and rate.
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    mixer.mixerOpen = true;
  }
  if (initFlag) Mix_Init(initFlag);
  return true;
}

void HaltMusic() {
  // A halted sound reports no end: forget it before halting it.
  mixer.playingDevice.store(0);
  Mix_HaltMusic();
  mixer.musicOwner = 0;
}

class SdlMediaDevice : public MediaDevice {
 public:
  SdlMediaDevice() = default;
  ~SdlMediaDevice() override { Close(); }
  SdlMediaDevice(const SdlMediaDevice&) = delete;
  SdlMediaDevice& operator=(const SdlMediaDevice&) = delete;

  bool Open(const std::string& fileName) override {
    Close();
    // Only the kinds named here reach SDL_mixer: it is never asked to
    // guess, so it never plays a module behind the module player's back.
    Decoder decoder = DecoderFor(IdentifyMediaFile(fileName));
    if (decoder.type == MUS_NONE || !AcquireMixerAudio(decoder.initFlag)) return false;
    SDL_RWops* source = SDL_RWFromFile(fileName.c_str(), "rb");
    music_ = source ? Mix_LoadMUSType_RW(source, decoder.type, 1) : nullptr;
    return music_ != nullptr;
  }

  bool Play(HWND window, MCIDEVICEID id) override {
    // The audio device may have been released since the file was opened.
    if (!music_ || !AcquireMixerAudio(0)) return false;
    // Music that plays already (this device's or another's) ends
    // without a notification.
    HaltMusic();
    mixer.playingWindow.store(window);
    mixer.playingDevice.store(id);
    Mix_HookMusicFinished(&MusicFinished);
    // Played once (0 = no repeat); the show replays it itself.
    if (Mix_PlayMusic(music_, 0) != 0) {
      mixer.playingDevice.store(0);
      return false;
    }
    mixer.musicOwner = id;
    playing_ = id;
    return true;
  }

  void Stop() override {
    if (playing_ && mixer.musicOwner == playing_ && mixer.mixerOpen) HaltMusic();
    playing_ = 0;
  }

  void Close() override {
    Stop();
    if (music_) Mix_FreeMusic(music_);
    music_ = nullptr;
  }

 private:
  Mix_Music* music_ = nullptr;
  MCIDEVICEID playing_ = 0;
};

}  // namespace

std::unique_ptr<MediaDevice> CreateSdlMediaDevice() { return std::make_unique<SdlMediaDevice>(); }

void ReleaseMixerAudio() {
  if (!mixer.mixerOpen) return;
  HaltMusic();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  mixer.mixerOpen = false;
}

}  // namespace pellora
