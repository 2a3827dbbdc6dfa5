// The SDL2 wave output device. The audio subsystem is started when the
// device is first asked about formats; the audio device itself is opened by
// Open and closed by Close. Blocks are played from SDL's audio thread and
// handed back to the owner window as posted messages.
#pragma once

#include <memory>

#include "platform/audio/wave_out.h"

namespace pellora {

std::unique_ptr<WaveOut> CreateSdlWaveOut();

}  // namespace pellora
