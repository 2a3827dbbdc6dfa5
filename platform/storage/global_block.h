// A movable global memory block: the owning byte buffer that pictures,
// embedded files and song data live in. Allocation failure yields an empty
// block instead of an exception, so callers can follow the "null handle"
// failure paths of the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pellora {

class GlobalBlock {
 public:
  // No single block may exceed this; it keeps a corrupt size field from
  // asking the system for absurd amounts of memory.
  static constexpr size_t kMaxSize = size_t(1) << 31;

  GlobalBlock() = default;
  GlobalBlock(GlobalBlock&&) noexcept = default;
  GlobalBlock& operator=(GlobalBlock&&) noexcept = default;

  // Returns an empty block when the memory cannot be had.
  static GlobalBlock Allocate(size_t size, bool zeroed = true);
  // Same content, new storage; empty on failure.
  GlobalBlock Clone() const;
  // Keeps the content up to the smaller size; new bytes are zero.
  // Returns false (block unchanged) on failure.
  bool Reallocate(size_t size);
  void Free();

  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  struct FreeDeleter {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t, FreeDeleter> bytes_;
  size_t size_ = 0;
};

}  // namespace pellora
