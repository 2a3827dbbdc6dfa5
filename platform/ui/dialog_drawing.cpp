#include "platform/ui/dialog_drawing.h"

#include <cmath>
#include <vector>

#include "platform/draw/dc.h"

namespace pellora {

void DrawEdgePair(CDC& dc, const Rect& r, COLORREF topLeft, COLORREF bottomRight, int unit) {
  if (r.IsEmpty()) return;
  const int u = unit;
  dc.FillSolidRect({r.left, r.top, r.right - u, r.top + u}, topLeft);
  dc.FillSolidRect({r.left, r.top, r.left + u, r.bottom - u}, topLeft);
  dc.FillSolidRect({r.left, r.bottom - u, r.right, r.bottom}, bottomRight);
  dc.FillSolidRect({r.right - u, r.top, r.right, r.bottom}, bottomRight);
}

void DrawButtonEdge(CDC& dc, const Rect& r, bool pressed, int unit) {
  using namespace syscolour;
  dc.FillSolidRect(r, kFace);
  if (pressed) {
    DrawEdgePair(dc, r, kShadow, kShadow, unit);
    return;
  }
  DrawEdgePair(dc, r, kHighlight, kDarkShadow, unit);
  DrawEdgePair(dc, {r.left + unit, r.top + unit, r.right - unit, r.bottom - unit}, kFace, kShadow, unit);
}

void DrawSunkenEdge(CDC& dc, const Rect& r, int unit) {
  using namespace syscolour;
  dc.FillSolidRect(r, kWindow);
  DrawEdgePair(dc, r, kShadow, kHighlight, unit);
  DrawEdgePair(dc, {r.left + unit, r.top + unit, r.right - unit, r.bottom - unit}, kDarkShadow, kFace, unit);
}

void DrawEtchedFrame(CDC& dc, const Rect& r, int unit) {
  using namespace syscolour;
  if (r.Width() < 2 * unit || r.Height() < 2 * unit) return;
  DrawEdgePair(dc, {r.left + unit, r.top + unit, r.right, r.bottom}, kHighlight, kHighlight, unit);
  DrawEdgePair(dc, {r.left, r.top, r.right - unit, r.bottom - unit}, kShadow, kShadow, unit);
}

void DrawFocusRect(CDC& dc, const Rect& r, int unit) {
  const int u = unit;
  for (int x = r.left; x < r.right; x += 2 * u) {
    dc.FillSolidRect({x, r.top, x + u, r.top + u}, syscolour::kText);
    dc.FillSolidRect({x, r.bottom - u, x + u, r.bottom}, syscolour::kText);
  }
  for (int y = r.top; y < r.bottom; y += 2 * u) {
    dc.FillSolidRect({r.left, y, r.left + u, y + u}, syscolour::kText);
    dc.FillSolidRect({r.right - u, y, r.right, y + u}, syscolour::kText);
  }
}

void FillIconDisc(uint32_t* pixels, double cx, double cy, double radius, uint32_t colour) {
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x) {
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= radius * radius) pixels[y * kIconSize + x] = colour;
    }
}

void FillIconRect(uint32_t* pixels, int x0, int y0, int x1, int y1, uint32_t colour) {
  for (int y = std::max(y0, 0); y < std::min(y1, kIconSize); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, kIconSize); ++x) pixels[y * kIconSize + x] = colour;
}

void PaintHandIcon(uint32_t* p) {
  FillIconDisc(p, 15.5, 15.5, 15, 0x800000);
  FillIconDisc(p, 15.5, 15.5, 14, 0xFF0000);
  // A white cross, three pixels thick.
  for (int i = 9; i <= 22; ++i)
    for (int t = -1; t <= 1; ++t) {
      p[i * kIconSize + i + t] = 0xFFFFFF;
      p[i * kIconSize + (31 - i) + t] = 0xFFFFFF;
    }
}

void PaintExclamationIcon(uint32_t* p) {
  for (int y = 2; y < 30; ++y) {
    double half = (y - 2) * 0.55 + 0.5;
    for (int x = 0; x < kIconSize; ++x) {
      double d = std::abs(x + 0.5 - 16.0);
      if (d <= half) p[y * kIconSize + x] = d > half - 1.2 || y == 29 ? 0x000000 : 0xFFFF00;
    }
  }
  FillIconRect(p, 15, 9, 17, 22, 0x000000);
  FillIconRect(p, 15, 24, 17, 26, 0x000000);
}

void PaintAsteriskIcon(uint32_t* p) {
  FillIconDisc(p, 15.5, 15.5, 15, 0x000080);
  FillIconDisc(p, 15.5, 15.5, 14, 0xFFFFFF);
  FillIconRect(p, 14, 7, 18, 11, 0x0000FF);
  FillIconRect(p, 14, 13, 18, 24, 0x0000FF);
  FillIconRect(p, 12, 13, 14, 15, 0x0000FF);
  FillIconRect(p, 12, 23, 20, 25, 0x0000FF);
}


void DrawIcon(CDC& dc, int x, int y, IconPainter icon, int scale) {
  if (!icon) return;
  std::vector<uint32_t> pixels(size_t(kIconSize) * kIconSize, kTransparentPixel);
  icon(pixels.data());
  if (scale <= 1) {
    dc.DrawPixels(x, y, kIconSize, kIconSize, pixels.data());
    return;
  }
  const int size = kIconSize * scale;
  std::vector<uint32_t> scaled(size_t(size) * size_t(size));
  for (int row = 0; row < size; ++row)
    for (int col = 0; col < size; ++col)
      scaled[size_t(row) * size_t(size) + size_t(col)] = pixels[size_t(row / scale) * kIconSize + size_t(col / scale)];
  dc.DrawPixels(x, y, size, size, scaled.data());
}

}  // namespace pellora
