// Plays a module through the module player's own block cycle (engine,
// mixer, blocks of ten ticks, completions through a window's messages)
// into a consumer instead of a sound card, until the song ends. Used by
// `pellora modrender`, the tests and the benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "platform/audio/wave_out_immediate.h"

namespace pellora {

struct ModuleRenderFormat {
  uint32_t rate = 44100;
  uint16_t channels = 2;
  uint16_t bits = 16;
};

// The WAVE_FORMAT_* flag of a format the player can choose, or 0 for any
// other (rates other than 11025, 22050, 44100 Hz; not 1 or 2 channels; not
// 8 or 16 bits).
uint32_t ModuleFormatFlag(const ModuleRenderFormat& format);

struct ModuleRenderResult {
  bool ok = false;
  std::string error;  // why not, when not ok
  int duration = 0;   // the player's duration of the song, seconds
};

// The consumer gets every block in order. Stops early when it refuses one.
ModuleRenderResult RenderModule(const std::string& path, const ModuleRenderFormat& format,
                                const ImmediateWaveOut::Consumer& consumer);

}  // namespace pellora
