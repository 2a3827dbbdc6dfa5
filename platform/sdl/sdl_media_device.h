// The SDL2 media device: WAV, MIDI (through SDL_mixer's synthesizer with a
// General MIDI sound font), MP3, Ogg Vorbis, Opus and FLAC played with
// SDL_mixer. SDL_mixer's audio device opens with the first sound and stays
// open from one sound to the next (closing it waits for the audio thread,
// which would delay every slide change and gap every replay); it is
// released when the module player's wave output needs the audio device,
// and when the backend goes away.
#pragma once

#include <memory>

#include "platform/audio/media_device.h"

namespace pellora {

std::unique_ptr<MediaDevice> CreateSdlMediaDevice();

// Closes SDL_mixer's audio device if it is open, ending any sound on it
// without a notification. User-interface thread only.
void ReleaseMixerAudio();

}  // namespace pellora
