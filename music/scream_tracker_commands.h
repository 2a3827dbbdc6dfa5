// The Scream Tracker commands A..Z (1..26) as track opcodes: ProTracker
// effects where one plays the same, the ST3 opcodes where none does. S3M
// cells use the whole table; STM cells share it for B..L.
#pragma once

#include <cstdint>

#include "music/track.h"

namespace pellora {

void PutScreamTrackerCommand(TrackWriter& writer, uint8_t command, uint8_t info);

}  // namespace pellora
