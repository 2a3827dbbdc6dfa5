// The byte stream a module is loaded from: the module file's bytes in
// memory, with absolute seeks and the reads the loaders need. Every read
// reports whether the file held enough bytes; nothing is read past its
// end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/base/byte_order.h"

namespace pellora {

class ModStream {
 public:
  ModStream() = default;
  ModStream(const ModStream&) = delete;
  ModStream& operator=(const ModStream&) = delete;

  // Reads the file whole; false when it cannot be read.
  bool Open(const std::string& path);
  // Reads bytes the caller keeps until Close.
  void Open(std::span<const uint8_t> bytes);
  void Close();

  uint64_t Length() const { return length_; }
  uint64_t Position() const { return position_; }
  uint64_t Remaining() const { return position_ < length_ ? length_ - position_ : 0; }

  // Moves to an absolute position; false (position unchanged) beyond the end.
  bool Seek(uint64_t position);

  // Reads up to count bytes and returns how many the file held.
  size_t ReadSome(void* buffer, size_t count);
  // Reads exactly count bytes; false when the file ends first (the bytes
  // that were there are read and the rest of the buffer is zero).
  bool Read(void* buffer, size_t count);
  bool ReadU8(uint8_t& value);

  // Detection helper: true when the count bytes at offset equal expected.
  bool BytesAt(uint64_t offset, const void* expected, size_t count);
  // Reads count bytes at offset into buffer; false when the file is shorter.
  bool ReadAt(uint64_t offset, void* buffer, size_t count);

 private:
  std::vector<uint8_t> file_;  // the bytes when the stream read the file
  std::span<const uint8_t> bytes_;
  uint64_t length_ = 0;
  uint64_t position_ = 0;
};

}  // namespace pellora
