#include "platform/win32/win32_backend.h"

#include <cstdio>
#include <deque>

#include "platform/palette.h"
#include "platform/signals.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/win32/win32_media_device.h"
#include "platform/win32/win32_wave_out.h"
#include "platform/os/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace pellora {
namespace {

constexpr wchar_t kWindowClass[] = L"PelloraScreen";
constexpr wchar_t kWindowTitle[] = L"Quorvel Pellora";

// Sizes and positions are physical pixels from here on, whatever scaling
// the desktop uses: the show is drawn pixel for pixel.
void BecomeDpiAware() { SetProcessDPIAware(); }

struct MonitorList {
  std::vector<Monitor> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, ::LPARAM data) {
  auto* list = reinterpret_cast<MonitorList*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  Monitor entry{WideToUtf8(info.szDevice), {int(r.left), int(r.top), int(r.right), int(r.bottom)}};
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    list->monitors.insert(list->monitors.begin(), std::move(entry));
  else
    list->monitors.push_back(std::move(entry));
  return TRUE;
}

InputEvent Simple(InputEvent::Kind kind) {
  InputEvent event;
  event.kind = kind;
  return event;
}

class Win32Backend : public Backend {
 public:
  Win32Backend() = default;
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  bool Create(const Rect& monitor, Size window, std::string& error);

  const char* Name() const override { return "win32"; }
  Size ScreenSize() const override { return screenSize_; }
  int DisplayDepth() const override { return depth_; }
  uint64_t Now() override;
  void WaitForInput(uint64_t deadline) override;
  bool PollInput(InputEvent& event) override;
  void Wake() override { SetEvent(wake_); }
  void Present(const Surface& screen, const Rect& dirty) override;
  void HideScreen() override;
  void SetCursor(CursorKind cursor) override;
  bool ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) override;
  std::unique_ptr<WaveOut> CreateWaveOut() override { return CreateWin32WaveOut(); }
  std::unique_ptr<MediaDevice> CreateMediaDevice() override { return CreateWin32MediaDevice(); }

 private:
  static ::LRESULT CALLBACK WindowProc(::HWND hwnd, UINT message, ::WPARAM wParam, ::LPARAM lParam);
  ::LRESULT Handle(UINT message, ::WPARAM wParam, ::LPARAM lParam);
  void Push(InputEvent event) { events_.push_back(event); }
  void PushMouse(InputEvent::Kind kind, MouseButton button, bool doubleClick, ::LPARAM lParam);
  Point ToScreen(int x, int y) const;
  void Draw(HDC dc, const Rect& area);
  void RealizeSystemPalette(HDC dc);
  HCURSOR CurrentCursor() const;

  ::HWND hwnd_ = nullptr;
  HANDLE wake_ = nullptr;
  Size screenSize_;
  int depth_ = 24;
  bool palettized_ = false;
  bool shown_ = false;
  bool minimized_ = false;
  bool timerPeriodSet_ = false;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
  uint64_t lastPresent_ = 0;
  int refreshMs_ = 16;
  CursorKind cursor_ = CursorKind::Arrow;
  HCURSOR arrow_ = nullptr;
  HCURSOR wait_ = nullptr;
  // What was last presented, for repainting the window when Windows asks.
  Surface lastFrame_;
  // The system palette as last realised on a palette display.
  HPALETTE palette_ = nullptr;
  std::vector<PaletteEntry> paletteEntries_;
  std::deque<InputEvent> events_;
};

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

bool Win32Backend::PollInput(InputEvent& event) {
  MSG msg;
  while (events_.empty() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      Push(Simple(InputEvent::Kind::Quit));
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

::LRESULT CALLBACK Win32Backend::WindowProc(::HWND hwnd, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
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
        InputEvent event = Simple(Kind::Char);
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
        Push(Simple(Kind::Minimized));
      } else if ((wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) && minimized_) {
        minimized_ = false;
        Push(Simple(Kind::Restored));
      }
      return 0;
    case WM_CLOSE:
      // The framework decides what closing means.
      Push(Simple(Kind::Quit));
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

void Win32Backend::RealizeSystemPalette(HDC dc) {
  const SystemPalette& system = SystemPalette::Instance();
  if (!palette_ || paletteEntries_ != system.Entries()) {
    paletteEntries_ = system.Entries();
    if (palette_) DeleteObject(palette_);
    palette_ = nullptr;
    size_t count = paletteEntries_.size() < 256 ? paletteEntries_.size() : 256;
    if (count == 0) return;
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(count);
    for (size_t i = 0; i < count; ++i) {
      const PaletteEntry& e = paletteEntries_[i];
      logical->palPalEntry[i] = {e.red, e.green, e.blue, PC_NOCOLLAPSE};
    }
    // The show asks for the whole palette (no static colours) when it
    // gives up the system's colours; the real display follows.
    SetSystemPaletteUse(dc, system.Use() == SystemPaletteUse::NoStatic ? SYSPAL_NOSTATIC : SYSPAL_STATIC);
    palette_ = CreatePalette(logical);
  }
  if (!palette_) return;
  SelectPalette(dc, palette_, FALSE);
  RealizePalette(dc);
}

void Win32Backend::Draw(HDC dc, const Rect& area) {
  Rect r = area.Intersect(lastFrame_.Bounds());
  if (r.IsEmpty()) return;
  // Every pixel the player composes is a colour the display can show (it
  // mapped them to the system palette on a palette display), so the 32-bit
  // image goes out as it is; GDI matches each to its palette entry.
  if (palettized_) RealizeSystemPalette(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = lastFrame_.width();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right == lastFrame_.width() && client.bottom == lastFrame_.height()) {
    // The rows of the area as an image of their own, top row first, drawn
    // whole: no scan-line arithmetic for the system to read differently.
    info.bmiHeader.biHeight = -r.Height();
    SetDIBitsToDevice(dc, r.left, r.top, DWORD(r.Width()), DWORD(r.Height()), r.left, 0, 0, UINT(r.Height()),
                      lastFrame_.Row(r.top), &info, DIB_RGB_COLORS);
  } else {
    // A client area of another size than the screen (a window the desktop
    // scaled): the whole image, stretched to it.
    info.bmiHeader.biHeight = -lastFrame_.height();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, lastFrame_.width(), lastFrame_.height(),
                  lastFrame_.pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
}

void Win32Backend::Present(const Surface& screen, const Rect& dirty) {
  if (!hwnd_) return;
  if (lastFrame_.width() != screen.width() || lastFrame_.height() != screen.height())
    lastFrame_ = Surface(screen.width(), screen.height());
  Rect r = dirty.Intersect(screen.Bounds());
  if (!r.IsEmpty()) lastFrame_.Blit(screen, r, {r.left, r.top});
  if (!shown_) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    shown_ = true;
    r = screen.Bounds();
  }
  // GDI draws at once: keep to the display's refresh rate so that each
  // step of a transition stays on the screen long enough to be seen.
  uint64_t now = Now();
  if (now - lastPresent_ < uint64_t(refreshMs_)) Sleep(DWORD(refreshMs_ - (now - lastPresent_)));
  if (HDC dc = GetDC(hwnd_)) {
    Draw(dc, r);
    ReleaseDC(hwnd_, dc);
  }
  GdiFlush();
  lastPresent_ = Now();
}

void Win32Backend::HideScreen() {
  if (hwnd_ && shown_) ShowWindow(hwnd_, SW_HIDE);
  shown_ = false;
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

bool Win32Backend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  UINT type = MB_OK | MB_SETFOREGROUND;
  switch (icon) {
    case MessageBoxIcon::Error: type |= MB_ICONERROR; break;
    case MessageBoxIcon::Exclamation: type |= MB_ICONEXCLAMATION; break;
    case MessageBoxIcon::Information: type |= MB_ICONINFORMATION; break;
    case MessageBoxIcon::None: break;
  }
  // The cursor the show hid must be there to click the box.
  CursorKind before = cursor_;
  if (before == CursorKind::None) SetCursor(CursorKind::Arrow);
  int result = MessageBoxW(shown_ ? hwnd_ : nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), type);
  if (before == CursorKind::None) SetCursor(before);
  return result != 0;
}

}  // namespace

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

bool ListWin32Monitors(std::vector<Monitor>& monitors, std::string& error) {
  BecomeDpiAware();
  MonitorList list;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<::LPARAM>(&list));
  if (list.monitors.empty()) {
    error = "cannot list the displays (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  monitors = std::move(list.monitors);
  return true;
}

}  // namespace pellora
