#include "platform/os/signals.h"

#include <atomic>
#include <cstring>

namespace pellora {
namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the termination handlers need lock-free slots");

// The temporary files a forced end deletes. A slot is free, being written
// or ready; the handlers read only ready slots.
enum : int { kFree, kWriting, kReady };
constexpr int kTemporarySlots = 64;
constexpr size_t kPathBytes = 4096;
struct TemporarySlot {
  std::atomic<int> state{kFree};
  char path[kPathBytes];
};
TemporarySlot temporaries[kTemporarySlots];

}  // namespace

void NoteTemporaryFile(const std::string& path) {
  if (path.empty() || path.size() >= kPathBytes) return;
  for (TemporarySlot& slot : temporaries) {
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kWriting)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(kReady);
    return;
  }
}

void ForgetTemporaryFile(const std::string& path) {
  for (TemporarySlot& slot : temporaries) {
    int expected = kReady;
    if (slot.state.load() != kReady || path != slot.path) continue;
    slot.state.compare_exchange_strong(expected, kFree);
  }
}

void ForEachNotedTemporaryFile(void (*visit)(const char* path)) {
  for (TemporarySlot& slot : temporaries)
    if (slot.state.load() == kReady) visit(slot.path);
}

}  // namespace pellora
