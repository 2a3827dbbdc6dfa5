#include "platform/sdl/sdl_media_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/audio/media_file.h"
#include "platform/os/dynamic_library.h"
#include "platform/os/file.h"

namespace pellora {
namespace {

// The desktop's SDL_mixer, loaded when a sound first needs it; the player
// links none, so that it starts where SDL_mixer is missing.
const char* const kMixerLibrary = "libSDL2_mixer-2.0.so.0";

// General MIDI sound fonts, the first one present is used (unless
// SDL_SOUNDFONTS names others).
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// The entry points of SDL_mixer the device calls. It binds to the
// program's own SDL, which exports its symbols for it.
struct MixerCalls {
  decltype(&Mix_Init) init = nullptr;
  decltype(&Mix_OpenAudioDevice) openAudioDevice = nullptr;
  decltype(&Mix_CloseAudio) closeAudio = nullptr;
  decltype(&Mix_SetSoundFonts) setSoundFonts = nullptr;
  decltype(&Mix_LoadMUSType_RW) loadMusicType = nullptr;
  decltype(&Mix_FreeMusic) freeMusic = nullptr;
  decltype(&Mix_HookMusicFinished) hookMusicFinished = nullptr;
  decltype(&Mix_PlayMusic) playMusic = nullptr;
  decltype(&Mix_HaltMusic) haltMusic = nullptr;
};

// A WAV played without SDL_mixer: its samples, converted by SDL's own
// audio device, and how far the audio thread has come.
struct WaveSound {
  Uint8* samples = nullptr;
  Uint32 length = 0;
  SDL_AudioSpec spec{};
  Uint8 silence = 0;
  Uint32 position = 0;
};

// SDL_mixer has one music stream and one audio device in a process, and
// reports the end of the music through a hook without context; the WAVs
// played without it share the one-sound-at-a-time rule. Which device plays
// and for whom (read by the audio thread), the device whose music holds
// the audio and whether the audio is open, with SDL_mixer or with a WAV's
// own device (user-interface thread only).
struct MixerState {
  std::atomic<HWND> playingWindow{0};
  std::atomic<MCIDEVICEID> playingDevice{0};
  MCIDEVICEID musicOwner = 0;
  bool mixerOpen = false;
  SDL_AudioDeviceID waveDevice = 0;
  DynamicLibrary library;
  std::string libraryName;
  MixerCalls calls;
};
MixerState mixer;

// Runs on the audio thread: only posts the notification.
void SDLCALL MusicFinished() {
  MCIDEVICEID id = mixer.playingDevice.exchange(0);
  if (id) NotifyMediaDone(mixer.playingWindow.load(), id);
}

// The SDL_mixer that PELLORA_SDL_MIXER names ("none": none), or the
// desktop's; its calls, or null when it is not there. Looked at again
// whenever the audio is closed.
const MixerCalls* Mixer() {
  const char* given = SDL_getenv("PELLORA_SDL_MIXER");
  std::string name = given && *given ? given : kMixerLibrary;
  if (name == "none") return nullptr;
  if (!mixer.library.IsOpen() || mixer.libraryName != name) {
    mixer.calls = MixerCalls{};
    mixer.libraryName = name;
    // SDL_mixer's decoders (FluidSynth among them) start threads of their
    // own that may still run while the process ends: unloading it then
    // would pull their code from under them.
    if (!mixer.library.Open(name, DynamicLibrary::Unloading::Never)) return nullptr;
    auto bind = [](auto& call, const char* symbol) {
      call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(mixer.library.Symbol(symbol));
      return call != nullptr;
    };
    MixerCalls& c = mixer.calls;
    if (!(bind(c.init, "Mix_Init") && bind(c.openAudioDevice, "Mix_OpenAudioDevice") &&
          bind(c.closeAudio, "Mix_CloseAudio") && bind(c.setSoundFonts, "Mix_SetSoundFonts") &&
          bind(c.loadMusicType, "Mix_LoadMUSType_RW") && bind(c.freeMusic, "Mix_FreeMusic") &&
          bind(c.hookMusicFinished, "Mix_HookMusicFinished") && bind(c.playMusic, "Mix_PlayMusic") &&
          bind(c.haltMusic, "Mix_HaltMusic"))) {
      mixer.library.Close();
      mixer.calls = MixerCalls{};
    }
  }
  return mixer.library.IsOpen() ? &mixer.calls : nullptr;
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

void ChooseSoundFont(const MixerCalls& calls) {
  const char* given = SDL_getenv("SDL_SOUNDFONTS");
  if (given && *given) return;
  for (const char* font : kSoundFonts)
    if (FileExists(font)) {
      calls.setSoundFonts(font);
      return;
    }
}

// Ends the sound that holds the audio without a notification, and closes
// a WAV's own audio device (SDL_mixer's stays open).
void HaltMusic() {
  // A halted sound reports no end: forget it before halting it.
  mixer.playingDevice.store(0);
  if (mixer.mixerOpen) mixer.calls.haltMusic();
  if (mixer.waveDevice) {
    // Closing waits for the audio thread: the sound is no longer read.
    SDL_CloseAudioDevice(mixer.waveDevice);
    mixer.waveDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  mixer.musicOwner = 0;
}

// Opens SDL_mixer's audio device unless it is open, with the decoder of
// initFlag loaded. The decoders stay for the process: the next sound most
// likely needs them again.
bool AcquireMixerAudio(const MixerCalls& calls, int initFlag) {
  if (!mixer.mixerOpen) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    ChooseSoundFont(calls);
    // Stereo at CD rate whatever the card has: SDL converts to the
    // device's own channels (surround included) and rate.
    if (calls.openAudioDevice(44100, AUDIO_S16SYS, 2, 2048, nullptr, 0) != 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    mixer.mixerOpen = true;
  }
  if (initFlag) calls.init(initFlag);
  return true;
}

// Runs on SDL's audio thread with the device locked: copies the WAV's
// samples, then silence, and reports the end once.
void SDLCALL FeedWave(void* userdata, Uint8* stream, int len) {
  auto* sound = static_cast<WaveSound*>(userdata);
  Uint32 n = std::min<Uint32>(Uint32(len), sound->length - sound->position);
  std::memcpy(stream, sound->samples + sound->position, n);
  sound->position += n;
  if (n < Uint32(len)) {
    std::memset(stream + n, sound->silence, size_t(len) - n);
    MusicFinished();
  }
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
    MediaFileKind kind = IdentifyMediaFile(fileName);
    Decoder decoder = DecoderFor(kind);
    if (decoder.type == MUS_NONE) return false;
    const MixerCalls* calls = mixer.mixerOpen ? &mixer.calls : Mixer();
    if (!calls) return kind == MediaFileKind::Wave && OpenWave(fileName);
    if (!AcquireMixerAudio(*calls, decoder.initFlag)) return false;
    SDL_RWops* source = SDL_RWFromFile(fileName.c_str(), "rb");
    music_ = source ? calls->loadMusicType(source, decoder.type, 1) : nullptr;
    return music_ != nullptr;
  }

  bool Play(HWND window, MCIDEVICEID id) override {
    if (wave_.samples) return PlayWave(window, id);
    // The audio device may have been released since the file was opened.
    if (!music_ || !AcquireMixerAudio(mixer.calls, 0)) return false;
    // Music that plays already (this device's or another's) ends
    // without a notification.
    HaltMusic();
    mixer.playingWindow.store(window);
    mixer.playingDevice.store(id);
    mixer.calls.hookMusicFinished(&MusicFinished);
    // Played once (0 = no repeat); the show replays it itself.
    if (mixer.calls.playMusic(music_, 0) != 0) {
      mixer.playingDevice.store(0);
      return false;
    }
    mixer.musicOwner = id;
    playing_ = id;
    return true;
  }

  void Stop() override {
    if (playing_ && mixer.musicOwner == playing_ && (mixer.mixerOpen || mixer.waveDevice)) HaltMusic();
    playing_ = 0;
  }

  void Close() override {
    Stop();
    // Music is only ever opened with the library it was loaded by, which
    // stays loaded.
    if (music_) mixer.calls.freeMusic(music_);
    music_ = nullptr;
    if (wave_.samples) SDL_FreeWAV(wave_.samples);
    wave_ = WaveSound{};
  }

 private:
  bool OpenWave(const std::string& fileName) {
    SDL_RWops* source = SDL_RWFromFile(fileName.c_str(), "rb");
    if (!source) return false;
    if (!SDL_LoadWAV_RW(source, 1, &wave_.spec, &wave_.samples, &wave_.length)) {
      wave_ = WaveSound{};
      return false;
    }
    return true;
  }

  bool PlayWave(HWND window, MCIDEVICEID id) {
    // One sound at a time: whatever holds the audio ends first, SDL_mixer
    // included, which gives its device up to this one.
    HaltMusic();
    if (mixer.mixerOpen) ReleaseMixerAudio();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want = wave_.spec;
    want.samples = 1024;
    want.callback = &FeedWave;
    want.userdata = &wave_;
    wave_.position = 0;
    // No changes allowed: SDL converts to the card's own format behind us.
    SDL_AudioSpec have;
    mixer.waveDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!mixer.waveDevice) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    wave_.silence = have.silence;
    mixer.playingWindow.store(window);
    mixer.playingDevice.store(id);
    mixer.musicOwner = id;
    playing_ = id;
    SDL_PauseAudioDevice(mixer.waveDevice, 0);
    return true;
  }

  Mix_Music* music_ = nullptr;
  WaveSound wave_;
  MCIDEVICEID playing_ = 0;
};

}  // namespace

std::unique_ptr<MediaDevice> CreateSdlMediaDevice() { return std::make_unique<SdlMediaDevice>(); }

void ReleaseMixerAudio() {
  HaltMusic();
  if (!mixer.mixerOpen) return;
  mixer.calls.closeAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  mixer.mixerOpen = false;
}

}  // namespace pellora
