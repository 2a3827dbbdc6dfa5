// A software image of 32-bit pixels (0x00RRGGBB), the form in which windows
// and the screen hold what is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/types.h"

namespace pellora {

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, uint32_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  uint32_t* Row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
  const uint32_t* Row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
  uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
  std::vector<uint32_t>& pixels() { return pixels_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }

  void Fill(const Rect& rect, uint32_t colour);
  // Copies src's rect to this surface at dest (clipped to both surfaces).
  void Blit(const Surface& src, const Rect& srcRect, Point dest);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

constexpr uint32_t PixelFromRgb(uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}
constexpr uint32_t PixelFromColorRef(COLORREF c) {
  return PixelFromRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace pellora
