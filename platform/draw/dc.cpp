#include "platform/draw/dc.h"

#include <algorithm>

#include "platform/draw/palette.h"
#include "platform/draw/screen.h"

namespace pellora {

CDC::CDC() = default;
CDC::~CDC() = default;

void CDC::Attach(Surface* surface, Point origin, const Rect& clip) {
  surface_ = surface;
  origin_ = origin;
  clip_ = clip;
}

void CDC::SetClip(const Rect& clip) { clip_ = clip; }

void CDC::FillSolidRect(const Rect& rect, COLORREF colour) {
  if (!surface_) return;
  Rect r = rect.Intersect(clip_);
  if (r.IsEmpty()) return;
  surface_->Fill(r.Offset(origin_.x, origin_.y), DisplayColour(PixelFromColorRef(colour)));
  NoteDrawn(r);
}

void CDC::PutPixels(int x, int y, const uint32_t* pixels, int count) {
  if (!surface_ || y < clip_.top || y >= clip_.bottom) return;
  int x0 = std::max(x, clip_.left), x1 = std::min(x + count, clip_.right);
  if (x0 >= x1) return;
  uint32_t* row = surface_->Row(y + origin_.y) + origin_.x;
  for (int i = x0; i < x1; ++i) row[i] = pixels[i - x];
}

void CDC::NoteDrawn(const Rect& rect) {
  if (!surface_) return;
  Rect r = rect.Intersect(clip_);
  if (!r.IsEmpty()) Drawn(r.Offset(origin_.x, origin_.y));
}

const CPalette* CDC::SelectPalette(const CPalette* palette, bool forceBackground) {
  const CPalette* previous = palette_;
  palette_ = palette;
  backgroundPalette_ = forceBackground;
  return previous;
}

unsigned CDC::RealizePalette() {
  if (!palette_ || GetScreenDepth() != 8) return 0;
  return SystemPalette::Instance().Realize(*palette_, backgroundPalette_);
}

uint32_t CDC::DisplayColour(uint32_t pixel) const {
  return SystemPalette::Instance().Map(pixel, GetScreenDepth());
}

int CDC::SetStretchMode(int mode) {
  int previous = stretchMode_;
  stretchMode_ = mode;
  return previous;
}

}  // namespace pellora
