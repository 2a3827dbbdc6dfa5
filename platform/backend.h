// The backend: what each backend folder (sdl/, win32/, headless/) implements
// for the framework above it: the screen, the clock, input, cursors, native
// message boxes and the sound devices. The framework's folders (draw/, ui/,
// audio/) reach it through CurrentBackend(); platform/backends/ chooses one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/base/types.h"

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
  virtual std::unique_ptr<WaveOut> CreateWaveOut() = 0;
  // A new media device (sounds other than modules); null when it has none.
  virtual std::unique_ptr<MediaDevice> CreateMediaDevice() = 0;
  // True when message boxes are to be drawn by the platform as dialogs
  // over the screen rather than shown by ShowMessageBox.
  virtual bool DrawsMessageBoxes() const { return false; }

  // A depth the program chose for this display (24, 8 or 4), reported by
  // GetScreenDepth whatever the environment says; 0 for none.
  void ChooseDepth(int depth) { chosenDepth_ = depth; }
  int ChosenDepth() const { return chosenDepth_; }

 private:
  int chosenDepth_ = 0;
};

// The backend of this process: the one the program installed, else a new
// one from the default factory the program named at its start.
//
// This is the one deliberate process-wide state of the framework. A
// process plays on one display with one clock and one set of devices, and
// everything the framework does reaches them: a window's timer, a drawing
// call's palette, a sound device's end of play. Handing a backend to each
// of those calls would put the backend into every signature of the
// framework's interface, which keeps the shape of the system's own calls.
Backend& CurrentBackend();
void InstallBackend(std::unique_ptr<Backend> backend);
std::unique_ptr<Backend> ReleaseBackend();
// What CurrentBackend makes when none is installed: the programs and the
// tests name the headless backend, so that library code always has a
// clock. Without a factory, CurrentBackend ends the program with a message.
void SetDefaultBackend(std::unique_ptr<Backend> (*factory)());

// Milliseconds since the backend started (virtual time on the headless
// backend), as the system's tick count.
uint32_t GetTickCount();

// A display of the desktop, where the show can play.
struct Monitor {
  std::string name;
  Rect bounds;  // position and size in desktop pixels
};

}  // namespace pellora
