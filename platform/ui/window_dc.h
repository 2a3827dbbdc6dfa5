// The device contexts of windows: a DC over a window's client area or its
// whole window area draws into the window's surface and reports to the
// window system what it changed; the paint DC also validates the window.
#pragma once

#include "platform/draw/dc.h"

namespace pellora {

class CWnd;

class CWndDC : public CDC {
 public:
  // A DC over window's client area, or its whole window area; one with
  // nothing to draw on for a null window.
  CWndDC(CWnd* window, bool wholeWindow);
  CWnd* Window() const { return window_; }

 protected:
  void Drawn(const Rect& surfaceRect) override;

 private:
  CWnd* window_;
};

// DC for WM_PAINT: erases when asked, and validates the window when done.
// What is drawn while it lives reaches the screen as one frame.
class CPaintDC : public CWndDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;
  Rect PaintRect() const { return paintRect_; }

 private:
  Rect paintRect_;
  bool painting_ = false;
};

class CClientDC : public CWndDC {
 public:
  explicit CClientDC(CWnd* window) : CWndDC(window, false) {}
};

class CWindowDC : public CWndDC {
 public:
  explicit CWindowDC(CWnd* window) : CWndDC(window, true) {}
};

}  // namespace pellora
