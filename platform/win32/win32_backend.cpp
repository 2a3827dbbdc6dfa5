// The Windows backend's life: its window on a monitor, its clock and
// waits, and its cursors.
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {
namespace {

constexpr wchar_t kWindowClass[] = L"PelloraScreen";
constexpr wchar_t kWindowTitle[] = L"Quorvel Pellora";

}  // namespace

Win32Backend::~Win32Backend() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (palette_) DeleteObject(palette_);
  if (wake_) CloseHandle(wake_);
  if (timerPeriodSet_) timeEndPeriod(1);
}

bool Win32Backend::Create(const Rect& monitor, Size window, std::string& error) {
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&start_);
  // Waits and timers to the millisecond, as transitions are timed that
  // finely; the default tick is 15.6 ms.
  timerPeriodSet_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  arrow_ = LoadCursorW(nullptr, IDC_ARROW);
  wait_ = LoadCursorW(nullptr, IDC_WAIT);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Win32Backend::WindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kWindowClass;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    error = "cannot register the window class (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  DWORD style = WS_POPUP;
  RECT frame{monitor.left, monitor.top, monitor.right, monitor.bottom};
  screenSize_ = {monitor.Width(), monitor.Height()};
  if (window.cx > 0) {
    // A window of that many pixels inside, centred on the monitor.
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    screenSize_ = window;
    int x = monitor.left + (monitor.Width() - window.cx) / 2;
    int y = monitor.top + (monitor.Height() - window.cy) / 2;
    frame = {x, y, x + window.cx, y + window.cy};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_APPWINDOW);
  }
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kWindowTitle, style, frame.left, frame.top,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (!hwnd_ || !wake_) {
    error = "cannot create the full-screen window (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  palettized_ = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  int refresh = GetDeviceCaps(screen, VREFRESH);
  ReleaseDC(nullptr, screen);
  // A display of 256 colours or fewer is one: the player dithers for it
  // and, with 256, realises its palette into the display's.
  if (bits <= 4)
    depth_ = 4;
  else if (bits <= 8)
    depth_ = 8;
  if (refresh > 1) refreshMs_ = 1000 / refresh;
  return true;
}

uint64_t Win32Backend::Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return uint64_t(now.QuadPart - start_.QuadPart) * 1000 / uint64_t(frequency_.QuadPart);
}

void Win32Backend::WaitForInput(uint64_t deadline) {
  if (!events_.empty()) return;
  uint64_t now = Now();
  if (deadline <= now) return;
  uint64_t wait = deadline - now;
  // Messages already in the queue count too (MWMO_INPUTAVAILABLE), not
  // only those that arrive during the wait.
  MsgWaitForMultipleObjectsEx(1, &wake_, DWORD(wait > 1000 ? 1000 : wait), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

HCURSOR Win32Backend::CurrentCursor() const {
  switch (cursor_) {
    case CursorKind::None: return nullptr;
    case CursorKind::Wait: return wait_;
    case CursorKind::Arrow: break;
  }
  return arrow_;
}

void Win32Backend::SetCursor(CursorKind cursor) {
  cursor_ = cursor;
  ::SetCursor(CurrentCursor());
}

std::unique_ptr<Backend> CreateWin32Backend(const std::vector<Monitor>& monitors, int index, Size window,
                                            std::string& error) {
  if (index < 0 || size_t(index) >= monitors.size()) {
    error = "there is no display " + std::to_string(index + 1);
    return nullptr;
  }
  BecomeDpiAware();
  auto backend = std::make_unique<Win32Backend>();
  if (!backend->Create(monitors[size_t(index)].bounds, window, error)) return nullptr;
  return backend;
}

}  // namespace pellora
