#include "app/package_slot.h"

namespace pellora {
namespace {
struct PackageSlot {
  char marker[24];
  uint32_t offset;
};
}  // namespace

// Kept in initialised data and read through a volatile access, so that the
// value patched into the file is the value the program sees.
extern "C" {
[[gnu::used]] volatile PackageSlot pelloraPackageSlot = {"\x7fPELLORA-PACKAGE-SLOT\x01\x02", 0};
}

uint32_t PackageSlotOffset() { return pelloraPackageSlot.offset; }

std::string PackageSlotMarker() {
  // Copied from the slot itself, so that no second copy of the marker
  // exists in the program's file.
  std::string marker(sizeof pelloraPackageSlot.marker, '\0');
  for (size_t i = 0; i < marker.size(); ++i) marker[i] = pelloraPackageSlot.marker[i];
  return marker;
}

}  // namespace pellora
