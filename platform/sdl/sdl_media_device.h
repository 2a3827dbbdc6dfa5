// The SDL2 media device: WAV, MIDI (through SDL_mixer's synthesizer with a
// General MIDI sound font), MP3, Ogg Vorbis, Opus and FLAC played with
// SDL_mixer. The audio device is opened with the file and closed with it,
// so that it is free for the module player's wave output in between.
#pragma once

#include <memory>

#include "platform/media_device.h"

namespace pellora {

std::unique_ptr<MediaDevice> CreateSdlMediaDevice();

}  // namespace pellora
