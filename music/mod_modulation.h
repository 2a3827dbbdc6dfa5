// The shared movements of the effects: volume slide, tone slide, vibrato
// and tremolo, and the clamps they use.
#pragma once

#include <cstdint>

#include "music/mod_engine.h"

namespace pellora {

inline int8_t ClampVolume(int v) { return int8_t(v < 0 ? 0 : v > 64 ? 64 : v); }
// Periods saturate at the ends of their 16-bit range instead of wrapping
// round to the other end.
inline uint16_t ClampPeriod(int v) { return uint16_t(v < 0 ? 0 : v > 0xFFFF ? 0xFFFF : v); }

// Effects 5, 6 and A: after tick 0, up by x and down by y.
void VolumeSlide(ModChannel& c, uint8_t parameter, uint16_t tick);
// Effects 3 and 5: after tick 0, moves the sounding period toward the
// wanted one.
void ToneSlide(ModChannel& c, uint16_t tick);
// Effects 4 and 6: outPeriod around period.
void Vibrato(ModChannel& c, uint16_t tick);
// Effect 7: outVolume around volume.
void Tremolo(ModChannel& c, uint16_t tick);

}  // namespace pellora
