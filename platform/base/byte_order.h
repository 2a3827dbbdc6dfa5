// Little- and big-endian integers in bytes of a file held in memory. The
// caller makes sure the bytes are there.
#pragma once

#include <cstdint>

namespace pellora {

inline uint16_t GetU16LE(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t GetU32LE(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t GetU16BE(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t GetU32BE(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
// Bytes held in chars, as std::string keeps them.
inline uint16_t GetU16LE(const char* p) { return GetU16LE(reinterpret_cast<const uint8_t*>(p)); }
inline uint32_t GetU32LE(const char* p) { return GetU32LE(reinterpret_cast<const uint8_t*>(p)); }

}  // namespace pellora
