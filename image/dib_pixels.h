// Read access to the colours of a 1-, 4-, 8- or 24-bit block: the pixel
// reading that every reduction, composition and conversion shares.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "image/dib.h"

namespace pellora {

// No picture the system handles is wider or taller than this; it bounds
// the row buffers that image operations allocate.
constexpr int kMaxPictureSide = 65535;

class DibPixels {
 public:
  // Nothing unless the block holds everything its header promises, its
  // bit count is 1, 4, 8 or 24 and its sides are at most kMaxPictureSide.
  static std::optional<DibPixels> Open(const HDIB& dib);

  int Width() const { return layout_.width; }
  int Height() const { return layout_.height; }
  int BitCount() const { return layout_.bitCount; }
  // Stored row y (0 is the bottom row).
  const uint8_t* Row(int y) const { return bits_ + size_t(y) * layout_.stride; }

  // Pixels x0 .. x0 + count - 1 of row y as blue, green, red bytes. A
  // 24-bit row is returned in place; other depths are expanded into
  // scratch, which must hold count * 3 bytes.
  const uint8_t* RowBgr(int y, int x0, int count, uint8_t* scratch) const;
  // The same pixels as red, green, blue values, three per pixel.
  void RowRgb(int y, int x0, int count, int32_t* rgb) const;

 private:
  DibPixels() = default;
  uint8_t Index(const uint8_t* row, int x) const;

  const uint8_t* bits_ = nullptr;
  DibLayout layout_;
  // Blue, green, red of each index; indices past the block's table are black.
  std::array<std::array<uint8_t, 3>, 256> table_{};
};

// Write access to the rows of a block that holds everything its header
// promises.
struct DibRows {
  uint8_t* bits = nullptr;
  size_t stride = 0;
  int width = 0;
  int height = 0;
  int bitCount = 0;

  static std::optional<DibRows> Open(HDIB& dib);
  uint8_t* Row(int y) const { return bits + size_t(y) * stride; }
};

}  // namespace pellora
