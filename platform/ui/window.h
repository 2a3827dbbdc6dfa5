// Windows of the framework: a handle, a place on the screen, a software
// surface holding its pixels, timers, invalidation and message handlers.
// Messages reach a window through WindowProc, which calls the On* handlers;
// a handler that is not overridden does what the platform does by default.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/types.h"
#include "platform/draw/surface.h"
#include "platform/ui/messages.h"

namespace pellora {

class CDC;

enum : uint32_t {
  WS_OVERLAPPED = 0x00000000,
  WS_POPUP = 0x80000000,
  WS_VISIBLE = 0x10000000,
  WS_CAPTION = 0x00C00000,
  WS_BORDER = 0x00800000,
  WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_MAXIMIZEBOX = 0x00010000,
  WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                        WS_MAXIMIZEBOX,
  DS_MODALFRAME = 0x00000080,
};

enum : uint32_t { CS_DBLCLKS = 0x0008 };

// How a window is created: the platform's CreateWindowEx arguments that the
// player uses.
struct WindowSpec {
  std::string title;
  uint32_t style = 0;
  uint32_t classStyle = 0;
  Rect rect;                        // whole window, screen coordinates
  Rect clientInsets;                // non-client frame thickness on each side
  HWND owner = 0;
  std::optional<uint32_t> background = 0x000000;  // erase colour; none = no erase
};

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = 0;
  HWND GetSafeHwnd() const { return m_hWnd; }
  static CWnd* FromHandle(HWND hwnd);

  // Creates the window; WM_CREATE runs before this returns. False when the
  // creation handler refuses (the window is then gone again).
  bool CreateFromSpec(const WindowSpec& spec);
  bool DestroyWindow();
  void ShowWindow(bool show);
  bool IsWindowVisible() const;
  bool IsIconic() const;
  HWND GetOwner() const;
  const WindowSpec& Spec() const { return spec_; }

  Rect GetWindowRect() const;
  // Client area in client coordinates: (0, 0, width, height).
  Rect GetClientRect() const;
  void MoveWindow(const Rect& rect, bool repaint);

  // Moves the client pixels inside scrollRect (the whole client area when
  // null) by dx, dy, keeping to clipRect when given. Nothing is
  // invalidated: the uncovered part shows its old pixels until redrawn.
  void ScrollWindowEx(int dx, int dy, const Rect* scrollRect, const Rect* clipRect);

  uintptr_t SetTimer(uintptr_t id, uint32_t elapseMs);
  bool KillTimer(uintptr_t id);

  void Invalidate(bool erase = true);
  void InvalidateRect(const Rect* rect, bool erase = true);
  void ValidateRect(const Rect* rect);
  // Sends WM_PAINT at once when part of the window is invalid.
  void UpdateWindow();

  bool PostMessage(uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessage(uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);

  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  CWnd* SetFocus();
  static CWnd* GetFocus();

  // The window's pixels, including the non-client frame; null while hidden
  // windows have never been shown.
  Surface* GetSurface();
  // Where the client area starts inside the surface.
  Point ClientOrigin() const;

  virtual LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual int OnCreate();
  virtual void OnDestroy();
  virtual void OnPaint();
  virtual bool OnEraseBkgnd(CDC& dc);
  virtual void OnNcPaint(CDC& windowDc);
  virtual void OnTimer(uintptr_t id);
  virtual void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags);
  virtual void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t flags);
  virtual void OnSysKeyDown(uint32_t key, uint32_t repeat, uint32_t flags);
  virtual void OnChar(uint32_t character, uint32_t repeat, uint32_t flags);
  virtual void OnLButtonDown(uint32_t flags, Point point);
  virtual void OnLButtonUp(uint32_t flags, Point point);
  virtual void OnLButtonDblClk(uint32_t flags, Point point);
  virtual void OnRButtonDown(uint32_t flags, Point point);
  virtual void OnMButtonDown(uint32_t flags, Point point);
  virtual void OnMouseMove(uint32_t flags, Point point);
  // True when the cursor was set.
  virtual bool OnSetCursor(CWnd* window, uint32_t hitTest, uint32_t message);
  virtual void OnActivate(uint32_t state, CWnd* other, bool minimized);
  virtual void OnSetFocus(CWnd* oldWindow);
  virtual void OnKillFocus(CWnd* newWindow);
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual void OnClose();
  virtual void OnSize(uint32_t type, int cx, int cy);
  // Runs after the window is gone; the object may delete itself here.
  virtual void PostNcDestroy();
  // Messages that have no On* handler.
  virtual LRESULT DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

 private:
  friend class WindowManager;
  WindowSpec spec_;
  std::unique_ptr<Surface> surface_;
  bool destroying_ = false;
};

// Posts to a window by handle; messages to windows that are gone by the
// time they are delivered are dropped. Safe from any thread.
bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);

}  // namespace pellora
