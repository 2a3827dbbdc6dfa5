// The backend's input: the thread's messages pumped into its window, and
// mouse positions mapped to the screen's pixels.
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {

bool Win32Backend::PollInput(InputEvent& event) {
  MSG msg;
  while (events_.empty() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Push(SimpleEvent(InputEvent::Kind::Quit));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

Point Win32Backend::ToScreen(int x, int y) const {
  RECT client;
  if (!GetClientRect(hwnd_, &client) || client.right <= 0 || client.bottom <= 0) return {x, y};
  return {int(int64_t(x) * screenSize_.cx / client.right), int(int64_t(y) * screenSize_.cy / client.bottom)};
}

void Win32Backend::PushMouse(InputEvent::Kind kind, MouseButton button, bool doubleClick, ::LPARAM lParam) {
  InputEvent event;
  event.kind = kind;
  event.button = button;
  event.doubleClick = doubleClick;
  event.point = ToScreen(short(LOWORD(lParam)), short(HIWORD(lParam)));
  Push(event);
}

}  // namespace pellora
