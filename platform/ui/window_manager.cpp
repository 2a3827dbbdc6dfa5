#include "platform/ui/window_manager.h"

#include <algorithm>

#include "platform/ui/cursor.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

namespace pellora {
namespace {
// Drawing speed: the drawing of one whole screen's worth of pixels shows
// up over this many presented frames, so that a transition drawn in many
// small steps is seen as an animation on any screen size.
constexpr int64_t kFramesPerScreenful = 60;

LPARAM PointParam(Point p) { return LPARAM((uint32_t(uint16_t(p.y)) << 16) | uint16_t(p.x)); }
}  // namespace

WindowManager& WindowManager::Instance() {
  static WindowManager manager;
  return manager;
}

HWND WindowManager::Register(CWnd* window) {
  HWND hwnd = nextHandle_++;
  windows_[hwnd].window = window;
  return hwnd;
}

void WindowManager::Unregister(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  if (it->second.visible) SetVisible(it->second.window, false);
  windows_.erase(it);
  KillTimers(hwnd);
  if (active == hwnd) active = 0;
  if (focus == hwnd) focus = 0;
  if (capture == hwnd) capture = 0;
  modal_.erase(std::remove(modal_.begin(), modal_.end(), hwnd), modal_.end());
}

CWnd* WindowManager::Lookup(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.window;
}

std::vector<CWnd*> WindowManager::OwnedBy(HWND owner) const {
  std::vector<CWnd*> owned;
  for (const auto& [hwnd, state] : windows_)
    if (state.window->GetOwner() == owner) owned.push_back(state.window);
  return owned;
}

void WindowManager::SetVisible(CWnd* window, bool visible) {
  auto it = windows_.find(window->m_hWnd);
  if (it == windows_.end() || it->second.visible == visible) return;
  it->second.visible = visible;
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window->m_hWnd), zOrder_.end());
  if (visible) zOrder_.push_back(window->m_hWnd);
  MarkScreenDirty(window->GetWindowRect());
}

bool WindowManager::IsVisible(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it != windows_.end() && it->second.visible;
}

void WindowManager::WindowMoved(CWnd* window, const Rect& oldRect) {
  if (!IsVisible(window->m_hWnd)) return;
  MarkScreenDirty(oldRect);
  MarkScreenDirty(window->GetWindowRect());
}

void WindowManager::Invalidate(HWND hwnd, const Rect& rect, bool erase) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  Rect r = rect.Intersect(it->second.window->GetClientRect());
  if (r.IsEmpty()) return;
  it->second.invalid = it->second.invalid.Union(r);
  it->second.erase = it->second.erase || erase;
  CurrentBackend().Wake();
}

void WindowManager::Validate(HWND hwnd, const Rect* rect) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  // Rectangles cannot express what is left of a partly validated area; the
  // whole area stays invalid unless the validation covers it.
  if (!rect || (rect->Intersect(it->second.invalid) == it->second.invalid)) {
    it->second.invalid = {};
    it->second.erase = false;
  }
}

Rect WindowManager::InvalidRect(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? Rect{} : it->second.invalid;
}

bool WindowManager::TakeEraseFlag(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return false;
  bool erase = it->second.erase;
  it->second.erase = false;
  return erase;
}

void WindowManager::SetTimer(HWND hwnd, uintptr_t id, uint32_t period) {
  KillTimer(hwnd, id);
  timers_.push_back({hwnd, id, std::max<uint32_t>(period, 1), CurrentBackend().Now() + period});
}

bool WindowManager::KillTimer(HWND hwnd, uintptr_t id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void WindowManager::KillTimers(HWND hwnd) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                timers_.end());
}

uint64_t WindowManager::NextTimerDue() const {
  uint64_t due = UINT64_MAX;
  for (const Timer& t : timers_) due = std::min(due, t.due);
  return due;
}

void WindowManager::Post(const MSG& msg) {
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    posted_.push_back(msg);
  }
  CurrentBackend().Wake();
}

void WindowManager::PostQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
  CurrentBackend().Wake();
}

HWND WindowManager::WindowAt(Point p) const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    CWnd* w = Lookup(*it);
    if (w && w->GetWindowRect().Contains(p)) return *it;
  }
  return 0;
}

bool WindowManager::TranslateInput(const InputEvent& event, MSG& msg) {
  using Kind = InputEvent::Kind;
  HWND keyTarget = focus ? focus : active;
  if (HWND modal = TopModal(); modal && keyTarget != modal) keyTarget = modal;
  switch (event.kind) {
    case Kind::KeyDown:
    case Kind::KeyUp: {
      if (!keyTarget) return false;
      bool system = event.alt || event.key == VK_F10;
      msg.hwnd = keyTarget;
      if (event.kind == Kind::KeyDown) msg.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
      else msg.message = system ? WM_SYSKEYUP : WM_KEYUP;
      msg.wParam = event.key;
      msg.lParam = 1 | (event.alt ? kKeyAltDown : 0);
      return true;
    }
    case Kind::Char:
      if (!keyTarget || event.alt) return false;
      msg = {keyTarget, WM_CHAR, WPARAM(uint8_t(event.character)), 1};
      return true;
    case Kind::MouseDown:
    case Kind::MouseUp:
    case Kind::MouseMove: {
      HWND target = capture && Lookup(capture) ? capture : WindowAt(event.point);
      if (!target) return false;
      CWnd* window = Lookup(target);
      if (event.kind == Kind::MouseMove) {
        window->SendMessage(WM_SETCURSOR, target, LPARAM(WM_MOUSEMOVE) << 16 | 1);
      }
      // A modal window disables the rest: clicks elsewhere go nowhere.
      if (HWND modal = TopModal(); modal && target != modal) return false;
      Rect wr = window->GetWindowRect();
      Point origin = window->ClientOrigin();
      Point client{event.point.x - wr.left - origin.x, event.point.y - wr.top - origin.y};
      msg.hwnd = target;
      msg.lParam = PointParam(client);
      if (event.kind == Kind::MouseMove) {
        msg.message = WM_MOUSEMOVE;
        return true;
      }
      bool down = event.kind == Kind::MouseDown;
      if (down && active != target) window->SetActiveWindow();
      switch (event.button) {
        case MouseButton::Left:
          if (down && event.doubleClick && (window->Spec().classStyle & CS_DBLCLKS)) msg.message = WM_LBUTTONDBLCLK;
          else msg.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
          break;
        case MouseButton::Right: msg.message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case MouseButton::Middle: msg.message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
      }
      return true;
    }
    case Kind::Minimized:
    case Kind::Restored: {
      bool minimized = event.kind == Kind::Minimized;
      if (iconic_ == minimized) return false;
      iconic_ = minimized;
      std::vector<HWND> visible = zOrder_;
      for (HWND hwnd : visible)
        if (CWnd* w = Lookup(hwnd)) {
          Rect c = w->GetClientRect();
          w->SendMessage(WM_SIZE, minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                         LPARAM((uint32_t(c.Height()) << 16) | uint16_t(c.Width())));
          if (!minimized) Invalidate(hwnd, c, true);
        }
      if (CWnd* w = Lookup(active))
        w->SendMessage(WM_ACTIVATE, minimized ? WA_INACTIVE : WA_ACTIVE, 0);
      if (!minimized) MarkScreenDirty(screen_.Bounds());
      return false;
    }
    case Kind::Quit:
      quitRequested_ = true;
      return false;
  }
  return false;
}

bool WindowManager::PeekMessage(MSG& msg) {
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    while (!posted_.empty()) {
      msg = posted_.front();
      posted_.pop_front();
      if (!msg.hwnd || Lookup(msg.hwnd)) return true;
    }
  }
  InputEvent event;
  while (CurrentBackend().PollInput(event)) {
    if (TranslateInput(event, msg)) return true;
    // Translation may have sent messages that posted others.
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (!posted_.empty()) {
      msg = posted_.front();
      posted_.pop_front();
      if (!msg.hwnd || Lookup(msg.hwnd)) return true;
    }
  }
  for (HWND hwnd : zOrder_) {
    const WindowState& state = windows_.at(hwnd);
    if (!state.invalid.IsEmpty()) {
      msg = {hwnd, WM_PAINT, 0, 0};
      return true;
    }
  }
  uint64_t now = CurrentBackend().Now();
  Timer* due = nullptr;
  for (Timer& t : timers_)
    if (t.due <= now && (!due || t.due < due->due)) due = &t;
  if (due) {
    due->due = now + due->period;
    msg = {due->hwnd, WM_TIMER, due->id, 0};
    return true;
  }
  return false;
}

void WindowManager::WaitMessage(uint64_t deadline) {
  PresentIfDirty();
  deadline = std::min(deadline, NextTimerDue());
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (!posted_.empty() || quitPosted_) return;
  }
  Backend& backend = CurrentBackend();
  if (deadline <= backend.Now()) return;
  backend.WaitForInput(deadline);
}

void WindowManager::EnsureScreen() {
  Size size = CurrentBackend().ScreenSize();
  if (screen_.width() != size.cx || screen_.height() != size.cy) {
    screen_ = Surface(size.cx, size.cy, 0);
    dirty_ = screen_.Bounds();
  }
}

void WindowManager::MarkScreenDirty(const Rect& screenRect) {
  EnsureScreen();
  dirty_ = dirty_.Union(screenRect.Intersect(screen_.Bounds()));
}

void WindowManager::NoteDrawn(CWnd* window, const Rect& surfaceRect) {
  NoteDrawn(window, surfaceRect, -1);
}

void WindowManager::NoteDrawn(CWnd* window, const Rect& surfaceRect, int64_t cost) {
  if (!IsVisible(window->m_hWnd)) return;
  EnsureScreen();
  Rect wr = window->GetWindowRect();
  Rect r = surfaceRect.Offset(wr.left, wr.top).Intersect(screen_.Bounds());
  if (r.IsEmpty()) return;
  dirty_ = dirty_.Union(r);
  drawnSinceFrame_ += cost >= 0 ? cost : int64_t(r.Width()) * r.Height();
  if (!painting_ && drawnSinceFrame_ >= FrameBudget()) Present();
}

int64_t WindowManager::FrameBudget() const {
  return std::max<int64_t>(1, int64_t(screen_.width()) * screen_.height() / kFramesPerScreenful);
}

void WindowManager::EndPaint() {
  if (painting_ > 0) --painting_;
  if (!painting_ && drawnSinceFrame_ >= FrameBudget()) Present();
}

void WindowManager::ActivateNext(HWND leaving) {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if (*it == leaving) continue;
    if (CWnd* w = Lookup(*it)) {
      w->SetActiveWindow();
      return;
    }
  }
  if (active == leaving) active = 0;
  if (focus == leaving) focus = 0;
}

void WindowManager::Present() {
  EnsureScreen();
  drawnSinceFrame_ = 0;
  if (zOrder_.empty()) {
    if (screenShown_) CurrentBackend().HideScreen();
    screenShown_ = false;
    dirty_ = {};
    return;
  }
  Rect dirty = dirty_;
  dirty_ = {};
  if (dirty.IsEmpty() && screenShown_) return;
  if (!screenShown_) dirty = screen_.Bounds();
  screen_.Fill(dirty, 0);
  for (HWND hwnd : zOrder_) {
    CWnd* w = Lookup(hwnd);
    Surface* s = w ? w->GetSurface() : nullptr;
    if (!s) continue;
    Rect wr = w->GetWindowRect();
    Rect part = wr.Intersect(dirty);
    if (part.IsEmpty()) continue;
    screen_.Blit(*s, part.Offset(-wr.left, -wr.top), {part.left, part.top});
  }
  screenShown_ = true;
  ++presentCount_;
  CurrentBackend().Present(screen_, dirty);
}

void WindowManager::PresentIfDirty() {
  if (!dirty_.IsEmpty() || (zOrder_.empty() && screenShown_)) Present();
}

void WindowManager::Reset() {
  windows_.clear();
  zOrder_.clear();
  timers_.clear();
  modal_.clear();
  active = focus = capture = 0;
  iconic_ = false;
  {
    std::lock_guard<std::mutex> lock(queueMutex_);
    posted_.clear();
  }
  quitPosted_ = false;
  quitRequested_ = false;
  exitCode_ = 0;
  screen_ = Surface();
  dirty_ = {};
  drawnSinceFrame_ = 0;
  screenShown_ = false;
  presentCount_ = 0;
  painting_ = 0;
}

}  // namespace pellora
