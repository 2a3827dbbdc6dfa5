#include "platform/storage/global_block.h"

#include <cstdlib>
#include <cstring>

namespace pellora {

void GlobalBlock::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

GlobalBlock GlobalBlock::Allocate(size_t size, bool zeroed) {
  GlobalBlock block;
  if (size > kMaxSize) return block;
  // A zero-byte block still has an address, like the platform's allocator.
  size_t n = size == 0 ? 1 : size;
  void* p = zeroed ? std::calloc(n, 1) : std::malloc(n);
  if (!p) return block;
  block.bytes_.reset(static_cast<uint8_t*>(p));
  block.size_ = size;
  return block;
}

GlobalBlock GlobalBlock::Clone() const {
  if (!bytes_) return {};
  GlobalBlock copy = Allocate(size_, false);
  if (copy && size_) std::memcpy(copy.data(), data(), size_);
  return copy;
}

bool GlobalBlock::Reallocate(size_t size) {
  if (size > kMaxSize) return false;
  size_t n = size == 0 ? 1 : size;
  void* p = std::realloc(bytes_.get(), n);
  if (!p) return false;
  bytes_.release();
  bytes_.reset(static_cast<uint8_t*>(p));
  if (size > size_) std::memset(data() + size_, 0, size - size_);
  size_ = size;
  return true;
}

void GlobalBlock::Free() {
  bytes_.reset();
  size_ = 0;
}

}  // namespace pellora
