// The player's sample store: 160 slots, each empty or holding one sample's
// data as signed 8-bit PCM, whatever the file's format.
#pragma once

#include <array>
#include <cstdint>

#include "platform/storage/global_block.h"

namespace pellora {

class ModSampleStore {
 public:
  static constexpr int kSlots = 160;

  // Takes the first empty slot and gives it `frames` bytes; -1 when no
  // slot is free or the memory cannot be had.
  int Take(uint32_t frames);
  void Release(int slot);
  // The data of a slot and its frame count; null / 0 for an empty or
  // unknown slot.
  const int8_t* Data(int slot) const;
  int8_t* MutableData(int slot);
  uint32_t Frames(int slot) const;
  // Slots holding data.
  int UsedSlots() const;

 private:
  std::array<GlobalBlock, kSlots> slots_;
};

}  // namespace pellora
