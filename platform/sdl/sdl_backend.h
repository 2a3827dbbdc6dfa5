// The SDL2 backend: a borderless window over the whole primary display at
// its pixel resolution (mouse positions mapped to those pixels), presented
// in step with the display's refresh, real keyboard and mouse, system
// cursors, and native message boxes while the window is not shown. Its
// files by concern: sdl_backend.cpp (life, clock, cursors, devices),
// sdl_monitors.cpp, sdl_input.cpp, sdl_present.cpp, sdl_message_box.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"

// SDL's own types, which only the files of this folder see whole.
struct SDL_Cursor;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;
union SDL_Event;

namespace pellora {

class SdlBackend : public Backend {
 public:
  // A full-screen window on display index (from 0), or a window of that
  // size when window is not empty. Null, with a one-line reason, when no
  // display can be opened.
  static std::unique_ptr<SdlBackend> Create(std::string& error, int display = 0, Size window = {0, 0});
  static bool ListMonitors(std::vector<Monitor>& monitors, std::string& error);
  ~SdlBackend() override;

  const char* Name() const override { return "sdl"; }
  Size ScreenSize() const override { return screenSize_; }
  uint64_t Now() override;
  void WaitForInput(uint64_t deadline) override;
  bool PollInput(InputEvent& event) override;
  void Wake() override;
  void Present(const Surface& screen, const Rect& dirty) override;
  void HideScreen() override;
  void SetCursor(CursorKind cursor) override;
  bool ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) override;
  // An SDL audio device (sdl_wave_out.cpp).
  std::unique_ptr<WaveOut> CreateWaveOut() override;
  // A sound file played through SDL_mixer (sdl_media_device.cpp).
  std::unique_ptr<MediaDevice> CreateMediaDevice() override;
  // Once the full-screen window shows, boxes are drawn on it: the viewer
  // (and a test driving the keyboard) dismisses them with Enter or Escape.
  bool DrawsMessageBoxes() const override { return shown_; }

 private:
  SdlBackend() = default;
  // Starts SDL's video on a real display; false with a one-line reason.
  static bool InitVideo(std::string& error);
  // The hidden window on display, whose desktop mode is desktop pixels.
  bool CreateScreenWindow(int display, Size desktop, Size window, std::string& error);
  bool EnsureWindow();
  bool Translate(const SDL_Event& sdl, InputEvent& event);
  Point ToScreen(int x, int y) const;
  void RepresentLast();

  Size screenSize_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
  SDL_Cursor* wait_ = nullptr;
  uint32_t wakeEvent_ = 0;
  uint64_t lastPresent_ = 0;
  int refreshMs_ = 16;
  bool shown_ = false;
  uint64_t lastPump_ = 0;
  static constexpr uint64_t kPumpIntervalMs = 5;
};

}  // namespace pellora
