// Starting SDL's audio subsystem, for the wave output and the media device.
#pragma once

namespace pellora {

// SDL_InitSubSystem(SDL_INIT_AUDIO), with the ALSA library's own
// diagnostics ("ALSA lib …" on a machine without a sound card) silenced
// unless PELLORA_DEBUG is set. True when audio started.
bool StartSdlAudio();

}  // namespace pellora
