#include "music/mod_stream.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/os/file.h"

namespace pellora {
namespace {
// A module file is read only this far; no song the player can hold needs
// more.
constexpr size_t kMaxFileBytes = size_t(512) << 20;
}  // namespace

bool ModStream::Open(const std::string& path) {
  Close();
  std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxFileBytes);
  if (!bytes) return false;
  file_ = std::move(*bytes);
  bytes_ = file_;
  length_ = file_.size();
  return true;
}

void ModStream::Open(std::span<const uint8_t> bytes) {
  Close();
  bytes_ = bytes;
  length_ = bytes.size();
}

void ModStream::Close() {
  file_.clear();
  file_.shrink_to_fit();
  bytes_ = {};
  length_ = position_ = 0;
}

bool ModStream::Seek(uint64_t position) {
  if (position > length_) return false;
  position_ = position;
  return true;
}

size_t ModStream::ReadSome(void* buffer, size_t count) {
  size_t n = size_t(std::min<uint64_t>(count, Remaining()));
  if (n != 0) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

bool ModStream::Read(void* buffer, size_t count) {
  size_t got = ReadSome(buffer, count);
  if (got < count) std::memset(static_cast<uint8_t*>(buffer) + got, 0, count - got);
  return got == count;
}

bool ModStream::ReadU8(uint8_t& value) { return Read(&value, 1); }

bool ModStream::ReadAt(uint64_t offset, void* buffer, size_t count) {
  return Seek(offset) && Read(buffer, count);
}

bool ModStream::BytesAt(uint64_t offset, const void* expected, size_t count) {
  std::vector<uint8_t> bytes(count);
  return ReadAt(offset, bytes.data(), count) && std::memcmp(bytes.data(), expected, count) == 0;
}

}  // namespace pellora
