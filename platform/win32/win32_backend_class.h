// The Windows backend's class, shared by the files that implement it by
// concern: win32_backend.cpp (life, clock, cursors), win32_window_proc.cpp
// (the window's messages), win32_input.cpp, win32_present.cpp,
// win32_monitors.cpp and win32_message_box.cpp.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/draw/palette.h"
#include "platform/draw/surface.h"
#include "platform/win32/win32_media_device.h"
#include "platform/win32/win32_wave_out.h"
#include "platform/os/win32/windows_api.h"

namespace pellora {

// Sizes and positions are physical pixels from here on, whatever scaling
// the desktop uses: the show is drawn pixel for pixel.
inline void BecomeDpiAware() { SetProcessDPIAware(); }

inline InputEvent SimpleEvent(InputEvent::Kind kind) {
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

}  // namespace pellora
