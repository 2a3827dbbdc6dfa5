// Little-endian values and fixed-width text fields appended to a byte
// string: what the module file builders write with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellora::test {

inline void PutU8(std::string& out, uint32_t v) { out += char(v & 0xFF); }
inline void PutU16LE(std::string& out, uint32_t v) {
  PutU8(out, v);
  PutU8(out, v >> 8);
}
inline void PutU32LE(std::string& out, uint32_t v) {
  PutU16LE(out, v);
  PutU16LE(out, v >> 16);
}
// Text cut or padded with zero bytes to `width`.
inline void PutText(std::string& out, const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  out += field;
}
inline void PatchU16LE(std::string& out, size_t at, uint32_t v) {
  out[at] = char(v & 0xFF);
  out[at + 1] = char((v >> 8) & 0xFF);
}
inline void PadTo16(std::string& out) { out.resize((out.size() + 15) & ~size_t(15), '\0'); }

// Signed 8-bit sample frames as unsigned bytes (centred on 0x80).
inline std::string UnsignedBytes(const std::vector<int8_t>& data) {
  std::string out;
  for (int8_t v : data) out += char(uint8_t(v) ^ 0x80);
  return out;
}
inline std::string SignedBytes(const std::vector<int8_t>& data) { return std::string(data.begin(), data.end()); }

}  // namespace pellora::test
