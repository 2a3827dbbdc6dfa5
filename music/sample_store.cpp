#include "music/sample_store.h"

namespace pellora {

int ModSampleStore::Take(uint32_t frames) {
  if (frames == 0) return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (slots_[i]) continue;
    slots_[i] = GlobalBlock::Allocate(frames, false);
    return slots_[i] ? i : -1;
  }
  return -1;
}

void ModSampleStore::Release(int slot) {
  if (slot >= 0 && slot < kSlots) slots_[slot].Free();
}

const int8_t* ModSampleStore::Data(int slot) const {
  if (slot < 0 || slot >= kSlots || !slots_[slot]) return nullptr;
  return reinterpret_cast<const int8_t*>(slots_[slot].data());
}

int8_t* ModSampleStore::MutableData(int slot) {
  if (slot < 0 || slot >= kSlots || !slots_[slot]) return nullptr;
  return reinterpret_cast<int8_t*>(slots_[slot].data());
}

uint32_t ModSampleStore::Frames(int slot) const {
  if (slot < 0 || slot >= kSlots || !slots_[slot]) return 0;
  return uint32_t(slots_[slot].size());
}

int ModSampleStore::UsedSlots() const {
  int used = 0;
  for (const GlobalBlock& b : slots_) used += b ? 1 : 0;
  return used;
}

}  // namespace pellora
