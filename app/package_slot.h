// Where a self-running show keeps the offset of its package: a 32-bit value
// in the player's initialised data, right behind a marker that the pack
// tool searches for in the player's file and patches.
#pragma once

#include <cstdint>
#include <string>

namespace pellora {

// The offset written into this program's own slot (0 in a bare player).
uint32_t PackageSlotOffset();
// The marker bytes that precede the offset in the executable's file.
std::string PackageSlotMarker();

}  // namespace pellora
