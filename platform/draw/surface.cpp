#include "platform/draw/surface.h"

#include <algorithm>
#include <cstring>

namespace pellora {

Surface::Surface(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(size_t(width_) * size_t(height_), fill) {}

void Surface::Fill(const Rect& rect, uint32_t colour) {
  Rect r = rect.Intersect(Bounds());
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, colour);
}

void Surface::Blit(const Surface& src, const Rect& srcRect, Point dest) {
  Rect s = srcRect.Intersect(src.Bounds());
  // Shift the destination by whatever the source clip cut off.
  dest.x += s.left - srcRect.left;
  dest.y += s.top - srcRect.top;
  Rect d = Rect{dest.x, dest.y, dest.x + s.Width(), dest.y + s.Height()}.Intersect(Bounds());
  if (d.IsEmpty()) return;
  int sx = s.left + (d.left - dest.x);
  int sy = s.top + (d.top - dest.y);
  size_t bytes = size_t(d.Width()) * sizeof(uint32_t);
  if (&src == this && sy < d.top) {
    for (int y = d.Height() - 1; y >= 0; --y) std::memmove(Row(d.top + y) + d.left, src.Row(sy + y) + sx, bytes);
  } else {
    for (int y = 0; y < d.Height(); ++y) std::memmove(Row(d.top + y) + d.left, src.Row(sy + y) + sx, bytes);
  }
}

}  // namespace pellora
