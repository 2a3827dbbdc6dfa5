// The backend is what a platform folder (sdl/, win32/, headless/) provides: the
// screen, the clock, input, cursors and native message boxes. Everything
// above it (windows, the message loop, drawing) is shared code in platform/.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace pellora {

class MediaDevice;
class Surface;
class WaveOut;

enum class CursorKind { None, Arrow, Wait };
enum class MessageBoxIcon { None, Error, Exclamation, Information };
enum class MouseButton { Left, Right, Middle };

struct InputEvent {
  enum class Kind { KeyDown, KeyUp, Char, MouseDown, MouseUp, MouseMove, Minimized, Restored, Quit };
  Kind kind = Kind::KeyDown;
  uint32_t key = 0;        // virtual key code for KeyDown/KeyUp
  bool alt = false;        // Alt held: the key goes out as a system key
  char character = 0;      // Windows-1252 character for Char
  MouseButton button = MouseButton::Left;
  bool doubleClick = false;
  Point point;             // screen coordinates for mouse events
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual const char* Name() const = 0;
  // The primary display in pixels and the depth it reports.
  virtual Size ScreenSize() const = 0;
  // Bits per pixel of the display itself: below 24 only on a display of
  // 16 or 256 colours, where the player reduces its pictures for real.
  virtual int DisplayDepth() const { return 24; }
  // Milliseconds since the backend started.
  virtual uint64_t Now() = 0;
  // Sleeps until input arrives, Wake() is called or the clock reaches
  // deadline; the headless backend moves its virtual clock instead.
  virtual void WaitForInput(uint64_t deadline) = 0;
  virtual bool PollInput(InputEvent& event) = 0;
  // Interrupts WaitForInput; safe from any thread.
  virtual void Wake() = 0;
  // Puts the composed screen on the display; dirty is the part that changed.
  virtual void Present(const Surface& screen, const Rect& dirty) = 0;
  // No visible window is left: take the screen away.
  virtual void HideScreen() = 0;
  virtual void SetCursor(CursorKind cursor) = 0;
  // Shows a native message box and returns when the viewer has dismissed
  // it; false when no native box could be shown (the platform then draws
  // its own).
  virtual bool ShowMessageBox(const std::string& text, const std::string& caption,
                              MessageBoxIcon icon) = 0;
  // A new wave output device of this backend; null when it has none.
  virtual std::unique_ptr<WaveOut> CreateWaveOut();
  // A new media device (sounds other than modules); null when it has none.
  virtual std::unique_ptr<MediaDevice> CreateMediaDevice();
  // True when message boxes are to be drawn by the platform as dialogs
  // over the screen rather than shown by ShowMessageBox.
  virtual bool DrawsMessageBoxes() const { return false; }
};

// The backend of this process. A default headless one exists until a
// program installs its own, so library code and tests always have a clock.
Backend& CurrentBackend();
void InstallBackend(std::unique_ptr<Backend> backend);
std::unique_ptr<Backend> ReleaseBackend();

// A display of the desktop, where the show can play.
struct Monitor {
  std::string name;
  Rect bounds;  // position and size in desktop pixels
};

// Where the viewer wants the show: a display (numbered from 1; 0 takes
// PELLORA_MONITOR, or the primary display), full screen or in a window.
struct ViewerOptions {
  int monitor = 0;
  // Not empty: a window of this size, the show played as on a screen of
  // that size.
  Size window{0, 0};
};

// A backend this system offers, under the name PELLORA_BACKEND gives it.
struct BackendFactory {
  const char* name;
  // The displays it can play on, the primary first; false with a reason.
  bool (*listMonitors)(std::vector<Monitor>& monitors, std::string& error);
  // Starts it on monitors[index], or in a window when window is not empty;
  // null with a one-line reason.
  std::unique_ptr<Backend> (*create)(const std::vector<Monitor>& monitors, int index, Size window, std::string& error);
};

// The backends of this system, its default first (one table per system,
// in platform/os/).
std::span<const BackendFactory> SystemBackends();

// Builds the backend named by PELLORA_BACKEND (the system's default when
// unset) on the display the viewer chose; null with a one-line reason
// when it cannot start or that display does not exist.
std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string& error, const ViewerOptions& viewer = {});

// The displays of the backend PELLORA_BACKEND names, the primary first;
// false with a one-line reason when they cannot be listed.
bool ListMonitors(std::vector<Monitor>& monitors, std::string& error);

}  // namespace pellora
