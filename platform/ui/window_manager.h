// The platform's window system: the handle table, z-order, invalid areas,
// timers, the posted-message queue, input routing and the composition of
// window surfaces onto the screen. Internal to platform/.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "platform/backend.h"
#include "platform/base/types.h"
#include "platform/draw/surface.h"
#include "platform/os/signals.h"

namespace pellora {

class CWinApp;
class CWnd;

struct MSG {
  HWND hwnd = 0;
  uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class WindowManager {
 public:
  static WindowManager& Instance();

  // Handles.
  HWND Register(CWnd* window);
  void Unregister(HWND hwnd);
  CWnd* Lookup(HWND hwnd) const;
  std::vector<CWnd*> OwnedBy(HWND owner) const;

  // Visibility and stacking.
  void SetVisible(CWnd* window, bool visible);
  bool IsVisible(HWND hwnd) const;
  bool AnyVisible() const { return !zOrder_.empty(); }
  void WindowMoved(CWnd* window, const Rect& oldRect);
  bool Iconic() const { return iconic_; }
  // Activates the topmost visible window other than leaving, as the
  // platform does when the active window is hidden or destroyed.
  void ActivateNext(HWND leaving);
  HWND active = 0;
  HWND focus = 0;
  // The window that takes every mouse event wherever the pointer is; 0 for
  // none.
  HWND capture = 0;
  // The cursor the screen shows (ui/cursor.h sets it).
  CursorKind cursor = CursorKind::Arrow;
  // The application object while one exists (AfxGetApp); it outlives
  // Reset, which forgets the windows between tests.
  CWinApp* app = nullptr;

  // Invalid areas in client coordinates.
  void Invalidate(HWND hwnd, const Rect& rect, bool erase);
  void Validate(HWND hwnd, const Rect* rect);
  Rect InvalidRect(HWND hwnd) const;
  bool TakeEraseFlag(HWND hwnd);

  // Timers.
  void SetTimer(HWND hwnd, uintptr_t id, uint32_t period);
  bool KillTimer(HWND hwnd, uintptr_t id);
  void KillTimers(HWND hwnd);
  uint64_t NextTimerDue() const;

  // Posted messages (any thread).
  void Post(const MSG& msg);
  void PostQuit(int exitCode);
  bool QuitPosted() const { return quitPosted_; }
  int ExitCode() const { return exitCode_; }
  void ClearQuit() { quitPosted_ = false; }

  // The next message to handle, in the platform's order: posted messages,
  // input, paint, timers. False when nothing is waiting.
  bool PeekMessage(MSG& msg);
  // Sleeps until something may be waiting or the deadline passes.
  void WaitMessage(uint64_t deadline);
  // The environment asked the program to end: a quit input event or a
  // termination signal.
  bool QuitRequested() { return quitRequested_ || TerminationPending(); }
  void ClearQuitRequest() {
    quitRequested_ = false;
    ClearTerminationPending();
  }

  // Modal windows: input to other windows is dropped while one runs.
  void PushModal(HWND hwnd) { modal_.push_back(hwnd); }
  void PopModal() { if (!modal_.empty()) modal_.pop_back(); }
  HWND TopModal() const { return modal_.empty() ? 0 : modal_.back(); }

  // Screen composition. Drawing reports the changed part of a window's
  // surface; the screen is presented when enough has been drawn for one
  // frame at the platform's drawing speed, and whenever the loop waits.
  void NoteDrawn(CWnd* window, const Rect& surfaceRect);
  // The same with an explicit cost in pixels (a scroll moves many pixels
  // but costs what it uncovers).
  void NoteDrawn(CWnd* window, const Rect& surfaceRect, int64_t cost);
  // While a paint is under way the screen is not presented: the erase and
  // the paint reach the display together.
  void BeginPaint() { ++painting_; }
  void EndPaint();
  void Present();
  void PresentIfDirty();
  const Surface& Screen() const { return screen_; }
  uint64_t PresentCount() const { return presentCount_; }

  // Forgets every window, timer and message (used between tests).
  void Reset();

 private:
  WindowManager() = default;
  bool TranslateInput(const InputEvent& event, MSG& msg);
  HWND WindowAt(Point screenPoint) const;
  void EnsureScreen();
  void MarkScreenDirty(const Rect& screenRect);
  int64_t FrameBudget() const;

  struct Timer {
    HWND hwnd;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
  };
  struct WindowState {
    CWnd* window = nullptr;
    bool visible = false;
    Rect invalid;
    bool erase = false;
  };

  std::map<HWND, WindowState> windows_;
  std::vector<HWND> zOrder_;  // bottom first
  HWND nextHandle_ = 0x100;
  std::vector<Timer> timers_;
  std::vector<HWND> modal_;
  bool iconic_ = false;

  mutable std::mutex queueMutex_;
  std::deque<MSG> posted_;
  bool quitPosted_ = false;
  int exitCode_ = 0;
  bool quitRequested_ = false;

  Surface screen_;
  Rect dirty_;
  int64_t drawnSinceFrame_ = 0;
  bool screenShown_ = false;
  uint64_t presentCount_ = 0;
  int painting_ = 0;
};

}  // namespace pellora
