#include "platform/dc.h"

#include <algorithm>

#include "platform/palette.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "platform/window_manager.h"

namespace pellora {

CDC::CDC(CWnd* window, bool wholeWindow) : window_(window) {
  if (!window) return;
  surface_ = window->GetSurface();
  if (wholeWindow) {
    origin_ = {0, 0};
    Rect wr = window->GetWindowRect();
    clip_ = {0, 0, wr.Width(), wr.Height()};
  } else {
    origin_ = window->ClientOrigin();
    clip_ = window->GetClientRect();
  }
}

CDC::~CDC() = default;

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
  if (!window_ || !surface_) return;
  Rect r = rect.Intersect(clip_);
  if (!r.IsEmpty()) WindowManager::Instance().NoteDrawn(window_, r.Offset(origin_.x, origin_.y));
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

CPaintDC::CPaintDC(CWnd* window) : CDC(window, false) {
  if (!window || !window->m_hWnd) return;
  WindowManager& m = WindowManager::Instance();
  m.BeginPaint();
  painting_ = true;
  paintRect_ = m.InvalidRect(window->m_hWnd);
  bool erase = m.TakeEraseFlag(window->m_hWnd);
  m.Validate(window->m_hWnd, nullptr);
  // Painting is confined to what was invalid.
  if (!paintRect_.IsEmpty()) SetClip(ClipBox().Intersect(paintRect_));
  if (erase) window->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(this)));
}

CPaintDC::~CPaintDC() {
  if (painting_) WindowManager::Instance().EndPaint();
}

}  // namespace pellora
