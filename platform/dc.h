// Device contexts: where drawing calls write. A DC draws into a window's
// surface through the client (or whole-window) origin, clipped to that
// area, and tells the screen what it changed.
#pragma once

#include <cstdint>

#include "platform/surface.h"
#include "platform/types.h"

namespace pellora {

class CPalette;
class CWnd;

class CDC {
 public:
  // A DC over a window's client area, or its whole window area.
  explicit CDC(CWnd* window, bool wholeWindow = false);
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  CWnd* Window() const { return window_; }
  Surface* Target() const { return surface_; }
  Point Origin() const { return origin_; }
  // Clip rectangle in DC coordinates.
  Rect ClipBox() const { return clip_; }
  void SetClip(const Rect& clip);

  void FillSolidRect(const Rect& rect, COLORREF colour);
  // Writes 0x00RRGGBB pixels; used by the drawing functions.
  void PutPixels(int x, int y, const uint32_t* pixels, int count);
  // Reports a changed rectangle (DC coordinates) to the screen.
  void NoteDrawn(const Rect& rect);

  // Palette selection; returns the previously selected palette.
  const CPalette* SelectPalette(const CPalette* palette, bool forceBackground);
  const CPalette* SelectedPalette() const { return palette_; }
  // Maps the selected palette into the system palette on displays with a
  // palette; the number of system entries that changed.
  unsigned RealizePalette();

  // Maps a colour to what the display can show (identity on true colour).
  uint32_t DisplayColour(uint32_t pixel) const;

 private:
  CWnd* window_;
  Surface* surface_ = nullptr;
  Point origin_;
  Rect clip_;
  const CPalette* palette_ = nullptr;
  bool backgroundPalette_ = false;
};

// DC for WM_PAINT: erases when asked, and validates the window when done.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;
  Rect PaintRect() const { return paintRect_; }

 private:
  Rect paintRect_;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window) : CDC(window, false) {}
};

class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* window) : CDC(window, true) {}
};

}  // namespace pellora
