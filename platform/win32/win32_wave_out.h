// Wave output on waveOut through the wave mapper. The device signals an
// event whenever a block is done; a thread of the device waits on it,
// unprepares finished blocks in order and hands them back to the owner
// window as MM_WOM_DONE.
#pragma once

#include <memory>

#include "platform/audio/wave_out.h"

namespace pellora {

std::unique_ptr<WaveOut> CreateWin32WaveOut();

}  // namespace pellora
