#include "music/mod_stream.h"

#include <algorithm>
#include <cstring>

namespace pellora {
namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

bool ModStream::Open(const std::string& path) {
  Close();
  if (!file_.Open(path, CFile::Mode::Read)) return false;
  long long length = file_.Length();
  if (length < 0) {
    file_.Close();
    return false;
  }
  length_ = uint64_t(length);
  return true;
}

void ModStream::Close() {
  file_.Close();
  length_ = position_ = bufferStart_ = 0;
  buffer_.clear();
  buffer_.shrink_to_fit();
}

bool ModStream::Seek(uint64_t position) {
  if (position > length_) return false;
  position_ = position;
  return true;
}

bool ModStream::Fill() {
  if (position_ >= length_ || !file_.IsOpen()) return false;
  if (file_.Seek((long long)position_, CFile::Origin::Begin) < 0) return false;
  size_t want = size_t(std::min<uint64_t>(kBufferSize, length_ - position_));
  buffer_.resize(want);
  long long got = file_.Read(buffer_.data(), want);
  if (got <= 0) {
    buffer_.clear();
    return false;
  }
  buffer_.resize(size_t(got));
  bufferStart_ = position_;
  return true;
}

size_t ModStream::ReadSome(void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count && position_ < length_) {
    bool inBuffer = position_ >= bufferStart_ && position_ < bufferStart_ + buffer_.size();
    if (!inBuffer && !Fill()) break;
    size_t offset = size_t(position_ - bufferStart_);
    size_t n = std::min(count - done, buffer_.size() - offset);
    std::memcpy(out + done, buffer_.data() + offset, n);
    done += n;
    position_ += n;
  }
  return done;
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
