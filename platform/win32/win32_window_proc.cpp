// The messages Windows sends the backend's window: input queued as the
// framework's events, painting, palettes, cursors and the session's end.
#include "platform/win32/win32_backend.h"

#include "platform/base/text.h"
#include "platform/os/signals.h"
#include "platform/os/win32/wide.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {

::LRESULT CALLBACK Win32Backend::WindowProc(::HWND hwnd, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

::LRESULT Win32Backend::Handle(UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  using Kind = InputEvent::Kind;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      InputEvent event;
      event.kind = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? Kind::KeyDown : Kind::KeyUp;
      event.key = uint32_t(wParam) & 0xFF;
      event.alt = (lParam & (::LPARAM(1) << 29)) != 0;
      Push(event);
      // System keys stop here: the window has no menu for Alt or F10 to
      // open, and Alt+F4 is the framework's to turn into a close.
      return 0;
    }
    case WM_CHAR: {
      // Only printable characters, as keys such as Enter and Backspace
      // already came as keys.
      char16_t unit = char16_t(wParam);
      if (unit < 0x20 || unit == 0x7F) return 0;
      std::string text = Utf16ToCp1252(std::u16string_view(&unit, 1));
      if (text.size() == 1) {
        InputEvent event = SimpleEvent(Kind::Char);
        event.character = text[0];
        Push(event);
      }
      return 0;
    }
    case WM_SYSCHAR:
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_LBUTTONDOWN: PushMouse(Kind::MouseDown, MouseButton::Left, false, lParam); return 0;
    case WM_LBUTTONDBLCLK: PushMouse(Kind::MouseDown, MouseButton::Left, true, lParam); return 0;
    case WM_LBUTTONUP: PushMouse(Kind::MouseUp, MouseButton::Left, false, lParam); return 0;
    case WM_RBUTTONDOWN: PushMouse(Kind::MouseDown, MouseButton::Right, false, lParam); return 0;
    case WM_RBUTTONDBLCLK: PushMouse(Kind::MouseDown, MouseButton::Right, true, lParam); return 0;
    case WM_RBUTTONUP: PushMouse(Kind::MouseUp, MouseButton::Right, false, lParam); return 0;
    case WM_MBUTTONDOWN: PushMouse(Kind::MouseDown, MouseButton::Middle, false, lParam); return 0;
    case WM_MBUTTONDBLCLK: PushMouse(Kind::MouseDown, MouseButton::Middle, true, lParam); return 0;
    case WM_MBUTTONUP: PushMouse(Kind::MouseUp, MouseButton::Middle, false, lParam); return 0;
    case WM_MOUSEMOVE: PushMouse(Kind::MouseMove, MouseButton::Left, false, lParam); return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && !minimized_) {
        minimized_ = true;
        Push(SimpleEvent(Kind::Minimized));
      } else if ((wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) && minimized_) {
        minimized_ = false;
        Push(SimpleEvent(Kind::Restored));
      }
      return 0;
    case WM_CLOSE:
      // The framework decides what closing means.
      Push(SimpleEvent(Kind::Quit));
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Log-off or shutdown: the system ends the process once this
      // returns, so its temporary files go now.
      if (wParam) ForEachNotedTemporaryFile([](const char* path) { DeleteFileW(Utf8ToWide(path).c_str()); });
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(CurrentCursor());
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      if (lastFrame_.width() > 0) return 1;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      if (lastFrame_.width() > 0) {
        Rect area{int(ps.rcPaint.left), int(ps.rcPaint.top), int(ps.rcPaint.right), int(ps.rcPaint.bottom)};
        Draw(dc, area);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (message == WM_PALETTECHANGED && ::HWND(wParam) == hwnd_) return 0;
      if (palettized_ && lastFrame_.width() > 0) {
        // Regaining the display's palette: realise it again and redraw.
        paletteEntries_.clear();
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return message == WM_QUERYNEWPALETTE;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace pellora
