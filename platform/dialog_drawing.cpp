#include "platform/dialog_drawing.h"

#include <cmath>
#include <map>
#include <vector>

#include "platform/dc.h"

namespace pellora {

void DrawEdgePair(CDC& dc, const Rect& r, COLORREF topLeft, COLORREF bottomRight) {
  if (r.IsEmpty()) return;
  dc.FillSolidRect({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  dc.FillSolidRect({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  dc.FillSolidRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  dc.FillSolidRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void DrawButtonEdge(CDC& dc, const Rect& r, bool pressed) {
  using namespace syscolour;
  dc.FillSolidRect(r, kFace);
  if (pressed) {
    DrawEdgePair(dc, r, kShadow, kShadow);
    return;
  }
  DrawEdgePair(dc, r, kHighlight, kDarkShadow);
  DrawEdgePair(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kFace, kShadow);
}

void DrawSunkenEdge(CDC& dc, const Rect& r) {
  using namespace syscolour;
  dc.FillSolidRect(r, kWindow);
  DrawEdgePair(dc, r, kShadow, kHighlight);
  DrawEdgePair(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kDarkShadow, kFace);
}

void DrawEtchedFrame(CDC& dc, const Rect& r) {
  using namespace syscolour;
  if (r.Width() < 2 || r.Height() < 2) return;
  DrawEdgePair(dc, {r.left + 1, r.top + 1, r.right, r.bottom}, kHighlight, kHighlight);
  DrawEdgePair(dc, {r.left, r.top, r.right - 1, r.bottom - 1}, kShadow, kShadow);
}

void DrawFocusRect(CDC& dc, const Rect& r) {
  for (int x = r.left; x < r.right; x += 2) {
    dc.FillSolidRect({x, r.top, x + 1, r.top + 1}, syscolour::kText);
    dc.FillSolidRect({x, r.bottom - 1, x + 1, r.bottom}, syscolour::kText);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    dc.FillSolidRect({r.left, y, r.left + 1, y + 1}, syscolour::kText);
    dc.FillSolidRect({r.right - 1, y, r.right, y + 1}, syscolour::kText);
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

namespace {

void PaintHand(uint32_t* p) {
  FillIconDisc(p, 15.5, 15.5, 15, 0x800000);
  FillIconDisc(p, 15.5, 15.5, 14, 0xFF0000);
  // A white cross, three pixels thick.
  for (int i = 9; i <= 22; ++i)
    for (int t = -1; t <= 1; ++t) {
      p[i * kIconSize + i + t] = 0xFFFFFF;
      p[i * kIconSize + (31 - i) + t] = 0xFFFFFF;
    }
}

void PaintExclamation(uint32_t* p) {
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

void PaintAsterisk(uint32_t* p) {
  FillIconDisc(p, 15.5, 15.5, 15, 0x000080);
  FillIconDisc(p, 15.5, 15.5, 14, 0xFFFFFF);
  FillIconRect(p, 14, 7, 18, 11, 0x0000FF);
  FillIconRect(p, 14, 13, 18, 24, 0x0000FF);
  FillIconRect(p, 12, 13, 14, 15, 0x0000FF);
  FillIconRect(p, 12, 23, 20, 25, 0x0000FF);
}

std::map<int, IconPainter>& Icons() {
  static std::map<int, IconPainter> icons{
      {IDI_HAND, PaintHand}, {IDI_EXCLAMATION, PaintExclamation}, {IDI_ASTERISK, PaintAsterisk}};
  return icons;
}

}  // namespace

void RegisterIcon(int id, IconPainter painter) { Icons()[id] = std::move(painter); }

void DrawIcon(CDC& dc, int x, int y, int id) {
  auto it = Icons().find(id);
  if (it == Icons().end()) return;
  std::vector<uint32_t> pixels(size_t(kIconSize) * kIconSize, kTransparentPixel);
  it->second(pixels.data());
  dc.DrawPixels(x, y, kIconSize, kIconSize, pixels.data());
}

}  // namespace pellora
