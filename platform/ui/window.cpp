#include "platform/ui/window.h"

#include "platform/backend.h"
#include "platform/draw/dc.h"
#include "platform/ui/app.h"
#include "platform/ui/cursor.h"
#include "platform/ui/window_dc.h"
#include "platform/ui/window_manager.h"

namespace pellora {
namespace {
WindowManager& Manager() { return WindowManager::Instance(); }
Point PointFrom(LPARAM l) { return {int(int16_t(l & 0xFFFF)), int(int16_t((l >> 16) & 0xFFFF))}; }
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd) {
    // The object is going away: finish the window without calling back
    // into a half-destroyed object's overrides.
    HWND hwnd = m_hWnd;
    for (CWnd* owned : Manager().OwnedBy(hwnd)) owned->DestroyWindow();
    Manager().Unregister(hwnd);
    m_hWnd = 0;
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) { return Manager().Lookup(hwnd); }

bool CWnd::CreateFromSpec(const WindowSpec& spec) {
  if (m_hWnd) return false;
  spec_ = spec;
  m_hWnd = Manager().Register(this);
  if (SendMessage(WM_CREATE) == -1) {
    DestroyWindow();
    return false;
  }
  if (m_hWnd && (spec.style & WS_VISIBLE)) ShowWindow(true);
  return m_hWnd != 0;
}

bool CWnd::DestroyWindow() {
  if (!m_hWnd || destroying_) return false;
  destroying_ = true;
  HWND hwnd = m_hWnd;
  // Windows owned by this one go first, as on the platform.
  for (CWnd* owned : Manager().OwnedBy(hwnd)) owned->DestroyWindow();
  Manager().SetVisible(this, false);
  if (Manager().active == hwnd || Manager().focus == hwnd) Manager().ActivateNext(hwnd);
  SendMessage(WM_DESTROY);
  Manager().Unregister(hwnd);
  m_hWnd = 0;
  destroying_ = false;
  surface_.reset();
  // The program ends when its main window is gone.
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
  PostNcDestroy();
  return true;
}

void CWnd::ShowWindow(bool show) {
  if (!m_hWnd) return;
  if (show) {
    Rect r = spec_.rect;
    if (!surface_ || surface_->width() != r.Width() || surface_->height() != r.Height())
      surface_ = std::make_unique<Surface>(r.Width(), r.Height(), 0);
    spec_.style |= WS_VISIBLE;
    Manager().SetVisible(this, true);
    if (!spec_.clientInsets.IsEmpty() || spec_.clientInsets.left || spec_.clientInsets.top) {
      CWindowDC dc(this);
      OnNcPaint(dc);
    }
    Invalidate(true);
    SetActiveWindow();
  } else {
    spec_.style &= ~uint32_t(WS_VISIBLE);
    Manager().SetVisible(this, false);
    if (Manager().active == m_hWnd || Manager().focus == m_hWnd) Manager().ActivateNext(m_hWnd);
  }
}

bool CWnd::IsWindowVisible() const { return m_hWnd && Manager().IsVisible(m_hWnd); }
bool CWnd::IsIconic() const { return m_hWnd && Manager().Iconic(); }
HWND CWnd::GetOwner() const { return spec_.owner; }

Rect CWnd::GetWindowRect() const { return spec_.rect; }

Rect CWnd::GetClientRect() const {
  const Rect& in = spec_.clientInsets;
  return {0, 0, std::max(0, spec_.rect.Width() - in.left - in.right),
          std::max(0, spec_.rect.Height() - in.top - in.bottom)};
}

Point CWnd::ClientOrigin() const { return {spec_.clientInsets.left, spec_.clientInsets.top}; }

void CWnd::MoveWindow(const Rect& rect, bool repaint) {
  Rect old = spec_.rect;
  bool resized = old.Width() != rect.Width() || old.Height() != rect.Height();
  spec_.rect = rect;
  if (surface_ && resized) {
    auto fresh = std::make_unique<Surface>(rect.Width(), rect.Height(), 0);
    fresh->Blit(*surface_, surface_->Bounds(), {0, 0});
    surface_ = std::move(fresh);
  }
  Manager().WindowMoved(this, old);
  if (repaint) Invalidate(true);
}

void CWnd::ScrollWindowEx(int dx, int dy, const Rect* scrollRect, const Rect* clipRect) {
  if (!m_hWnd || !surface_ || (dx == 0 && dy == 0)) return;
  Rect client = GetClientRect();
  Rect area = scrollRect ? scrollRect->Intersect(client) : client;
  Rect limit = clipRect ? area.Intersect(*clipRect) : area;
  // What lands inside the area; what leaves it is gone, and the strip it
  // uncovers keeps its old pixels until someone draws there.
  Rect dest = area.Offset(dx, dy).Intersect(limit);
  if (dest.IsEmpty()) return;
  Point o = ClientOrigin();
  Rect source = dest.Offset(-dx, -dy);
  surface_->Blit(*surface_, source.Offset(o.x, o.y), {dest.left + o.x, dest.top + o.y});
  int64_t uncovered = int64_t(limit.Width()) * limit.Height() - int64_t(dest.Width()) * dest.Height();
  Manager().NoteDrawn(this, limit.Offset(o.x, o.y), std::max<int64_t>(uncovered, 0));
}

uintptr_t CWnd::SetTimer(uintptr_t id, uint32_t elapseMs) {
  if (!m_hWnd) return 0;
  Manager().SetTimer(m_hWnd, id, elapseMs);
  return id;
}

bool CWnd::KillTimer(uintptr_t id) { return m_hWnd && Manager().KillTimer(m_hWnd, id); }

void CWnd::Invalidate(bool erase) { InvalidateRect(nullptr, erase); }

void CWnd::InvalidateRect(const Rect* rect, bool erase) {
  if (!m_hWnd) return;
  Manager().Invalidate(m_hWnd, rect ? *rect : GetClientRect(), erase);
}

void CWnd::ValidateRect(const Rect* rect) {
  if (m_hWnd) Manager().Validate(m_hWnd, rect);
}

void CWnd::UpdateWindow() {
  if (m_hWnd && IsWindowVisible() && !Manager().InvalidRect(m_hWnd).IsEmpty()) SendMessage(WM_PAINT);
}

bool CWnd::PostMessage(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd && pellora::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd ? WindowProc(message, wParam, lParam) : 0;
}

CWnd* CWnd::SetActiveWindow() {
  WindowManager& m = Manager();
  CWnd* previous = FromHandle(m.active);
  if (!m_hWnd || m.active == m_hWnd) return previous;
  m.active = m_hWnd;
  m.focus = m_hWnd;
  if (previous) {
    previous->SendMessage(WM_ACTIVATE, WA_INACTIVE, LPARAM(m_hWnd));
    if (previous->m_hWnd && previous->IsWindowVisible() && previous->ClientOrigin() != Point{}) {
      CWindowDC dc(previous);
      previous->OnNcPaint(dc);
    }
  }
  SendMessage(WM_ACTIVATE, WA_ACTIVE, LPARAM(previous ? previous->m_hWnd : 0));
  if (m_hWnd && IsWindowVisible() && ClientOrigin() != Point{}) {
    CWindowDC dc(this);
    OnNcPaint(dc);
  }
  return previous;
}

CWnd* CWnd::GetActiveWindow() { return FromHandle(Manager().active); }

CWnd* CWnd::SetFocus() {
  WindowManager& m = Manager();
  CWnd* previous = FromHandle(m.focus);
  if (!m_hWnd || m.focus == m_hWnd) return previous;
  m.focus = m_hWnd;
  if (previous) previous->SendMessage(WM_KILLFOCUS, m_hWnd);
  SendMessage(WM_SETFOCUS, previous ? previous->m_hWnd : 0);
  return previous;
}

CWnd* CWnd::GetFocus() { return FromHandle(Manager().focus); }

Surface* CWnd::GetSurface() { return surface_.get(); }

LRESULT CWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  uint32_t key = uint32_t(wParam);
  uint32_t repeat = uint32_t(lParam & 0xFFFF);
  uint32_t flags = uint32_t(lParam >> 16);
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: {
      CDC* dc = reinterpret_cast<CDC*>(wParam);
      return dc ? OnEraseBkgnd(*dc) : 0;
    }
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_KEYDOWN: OnKeyDown(key, repeat, flags); return 0;
    case WM_KEYUP: OnKeyUp(key, repeat, flags); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown(key, repeat, flags); return 0;
    case WM_CHAR: OnChar(key, repeat, flags); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_MBUTTONDOWN: OnMButtonDown(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(uint32_t(wParam), PointFrom(lParam)); return 0;
    case WM_SETCURSOR:
      return OnSetCursor(FromHandle(HWND(wParam)), uint32_t(lParam & 0xFFFF), uint32_t(lParam >> 16));
    case WM_ACTIVATE:
      OnActivate(uint32_t(wParam & 0xFFFF), FromHandle(HWND(lParam)), IsIconic());
      return 0;
    case WM_SETFOCUS: OnSetFocus(FromHandle(HWND(wParam))); return 0;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(HWND(wParam))); return 0;
    case WM_COMMAND: return OnCommand(wParam, lParam) ? 0 : DefWindowProc(message, wParam, lParam);
    case WM_CLOSE: OnClose(); return 0;
    case WM_SIZE: OnSize(uint32_t(wParam), int(lParam & 0xFFFF), int((lParam >> 16) & 0xFFFF)); return 0;
    default: return DefWindowProc(message, wParam, lParam);
  }
}

int CWnd::OnCreate() { return 0; }
void CWnd::OnDestroy() {}

void CWnd::OnPaint() { CPaintDC dc(this); }

bool CWnd::OnEraseBkgnd(CDC& dc) {
  if (!spec_.background) return false;
  dc.FillSolidRect(dc.ClipBox(), *spec_.background & 0xFFFFFF);
  return true;
}

void CWnd::OnNcPaint(CDC&) {}
void CWnd::OnTimer(uintptr_t) {}
void CWnd::OnKeyDown(uint32_t, uint32_t, uint32_t) {}
void CWnd::OnKeyUp(uint32_t, uint32_t, uint32_t) {}

void CWnd::OnSysKeyDown(uint32_t key, uint32_t, uint32_t flags) {
  // Alt+F4 asks the window to close, as the platform's default does.
  if (key == VK_F4 && (flags & (kKeyAltDown >> 16))) PostMessage(WM_CLOSE);
}

void CWnd::OnChar(uint32_t, uint32_t, uint32_t) {}
void CWnd::OnLButtonDown(uint32_t, Point) {}
void CWnd::OnLButtonUp(uint32_t, Point) {}
void CWnd::OnLButtonDblClk(uint32_t, Point) {}
void CWnd::OnRButtonDown(uint32_t, Point) {}
void CWnd::OnMButtonDown(uint32_t, Point) {}
void CWnd::OnMouseMove(uint32_t, Point) {}

bool CWnd::OnSetCursor(CWnd*, uint32_t, uint32_t) {
  // No class cursor of our own: the standard arrow.
  SetCursor(CursorKind::Arrow);
  return true;
}

void CWnd::OnActivate(uint32_t, CWnd*, bool) {}
void CWnd::OnSetFocus(CWnd*) {}
void CWnd::OnKillFocus(CWnd*) {}
bool CWnd::OnCommand(WPARAM, LPARAM) { return false; }
void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnSize(uint32_t, int, int) {}
void CWnd::PostNcDestroy() {}
LRESULT CWnd::DefWindowProc(uint32_t, WPARAM, LPARAM) { return 0; }

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return false;
  Manager().Post({hwnd, message, wParam, lParam});
  return true;
}

LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  CWnd* window = Manager().Lookup(hwnd);
  return window ? window->WindowProc(message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) { Manager().PostQuit(exitCode); }

}  // namespace pellora
