#include "platform/ui/window_dc.h"

#include "platform/ui/messages.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace pellora {

CWndDC::CWndDC(CWnd* window, bool wholeWindow) : window_(window) {
  if (!window) return;
  if (wholeWindow) {
    Rect wr = window->GetWindowRect();
    Attach(window->GetSurface(), {0, 0}, {0, 0, wr.Width(), wr.Height()});
  } else {
    Attach(window->GetSurface(), window->ClientOrigin(), window->GetClientRect());
  }
}

void CWndDC::Drawn(const Rect& surfaceRect) {
  if (window_) WindowManager::Instance().NoteDrawn(window_, surfaceRect);
}

CPaintDC::CPaintDC(CWnd* window) : CWndDC(window, false) {
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
