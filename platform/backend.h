// The backend is what a platform folder (sdl/, headless/) provides: the
// screen, the clock, input, cursors and native message boxes. Everything
// above it (windows, the message loop, drawing) is shared code in platform/.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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
  // Shows a message box and returns when the viewer has dismissed it.
  virtual void ShowMessageBox(const std::string& text, const std::string& caption,
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

// Builds the backend named by PELLORA_BACKEND (sdl by default, or
// headless); null with a one-line reason when it cannot start.
std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string& error);

}  // namespace pellora
