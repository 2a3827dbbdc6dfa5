#include "platform/sdl/sdl_backend.h"

#include <cstdio>

#include "platform/messages.h"
#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/sdl_wave_out.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace pellora {
namespace {

uint32_t VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + uint32_t(key - SDLK_F1);
  switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    default: return uint32_t(key) < 0x80 ? uint32_t(key) : 0xFF;
  }
}

}  // namespace

namespace {

// Starts SDL's video on a real display; false with a one-line reason.
bool InitVideo(std::string& error) {
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Only real displays: SDL would otherwise settle for an invisible
  // off-screen driver and play the show to nobody.
  const char* forced = SDL_getenv("SDL_VIDEODRIVER");
  if (!forced || !*forced) {
    std::string drivers;
    if (const char* w = SDL_getenv("WAYLAND_DISPLAY"); w && *w) drivers += "wayland,";
    if (const char* x = SDL_getenv("DISPLAY"); x && *x) drivers += "x11,";
    drivers += "kmsdrm";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  bool noDisplay = (!forced || !*forced) && !SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY");
  // An X server that has no client left resets itself and turns new
  // connections away meanwhile: a bare server does so after a script's
  // probe, or after the display list was read here. Two seconds outlast it.
  int status = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  for (int attempt = 0; status != 0 && !noDisplay && attempt < 20; ++attempt) {
    SDL_Delay(100);
    status = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }
  if (status != 0) {
    error = noDisplay ? std::string("cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set")
                      : std::string("cannot open a display (") + SDL_GetError() + ")";
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (!forced || !*forced) && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
    error = "cannot open a display (no X11 or Wayland display is available)";
    SDL_Quit();
    return false;
  }
  return true;
}

}  // namespace

bool SdlBackend::ListMonitors(std::vector<Monitor>& monitors, std::string& error) {
  if (!InitVideo(error)) return false;
  monitors.clear();
  int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(i, &r) != 0) continue;
    const char* name = SDL_GetDisplayName(i);
    monitors.push_back({name ? name : "", {r.x, r.y, r.x + r.w, r.y + r.h}});
  }
  SDL_Quit();
  if (monitors.empty()) error = std::string("cannot list the displays (") + SDL_GetError() + ")";
  return !monitors.empty();
}

std::unique_ptr<SdlBackend> SdlBackend::Create(std::string& error, int display, Size window) {
  if (!InitVideo(error)) return nullptr;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
    error = std::string("cannot read the display's resolution (") + SDL_GetError() + ")";
    SDL_Quit();
    return nullptr;
  }
  std::unique_ptr<SdlBackend> backend(new SdlBackend());
  backend->screenSize_ = window.cx > 0 ? window : Size{mode.w, mode.h};
  if (mode.refresh_rate > 0) backend->refreshMs_ = 1000 / mode.refresh_rate;
  backend->wakeEvent_ = SDL_RegisterEvents(1);
  backend->arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  backend->wait_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
  if (!backend->CreateScreenWindow(display, mode, window, error)) return nullptr;
  SDL_StopTextInput();
  return backend;
}

SdlBackend::~SdlBackend() {
  ReleaseMixerAudio();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (arrow_) SDL_FreeCursor(arrow_);
  if (wait_) SDL_FreeCursor(wait_);
  SDL_Quit();
}

bool SdlBackend::CreateScreenWindow(int display, const SDL_DisplayMode& mode, Size window, std::string& error) {
  // The window exists, hidden, from the start: the screen size the player
  // works with is its drawable's size in pixels, which on a high-density
  // display is larger than the desktop mode's size in points. A window of
  // a given size is that many pixels: the show as on a screen that size.
  if (window.cx > 0) {
    window_ = SDL_CreateWindow("Quorvel Pellora", SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                               SDL_WINDOWPOS_CENTERED_DISPLAY(display), window.cx, window.cy, SDL_WINDOW_HIDDEN);
  } else {
    SDL_Rect bounds{0, 0, mode.w, mode.h};
    SDL_GetDisplayBounds(display, &bounds);
    window_ = SDL_CreateWindow("Quorvel Pellora", bounds.x, bounds.y, mode.w, mode.h,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP |
                                   SDL_WINDOW_ALLOW_HIGHDPI);
  }
  if (window_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (window_ && !renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  int w = 0, h = 0;
  if (renderer_ && SDL_GetRendererOutputSize(renderer_, &w, &h) == 0 && w > 0 && h > 0) screenSize_ = {w, h};
  if (renderer_)
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, screenSize_.cx,
                                 screenSize_.cy);
  if (!texture_) {
    error = std::string("cannot create the full-screen window (") + SDL_GetError() + ")";
    return false;
  }
  return true;
}

bool SdlBackend::EnsureWindow() {
  if (!window_ || !texture_) return false;
  if (!shown_) {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_StartTextInput();
    shown_ = true;
  }
  return true;
}

void SdlBackend::WaitForInput(uint64_t deadline) {
  uint64_t now = Now();
  if (deadline <= now) return;
  uint64_t wait = deadline - now;
  SDL_WaitEventTimeout(nullptr, int(wait > 1000 ? 1000 : wait));
  lastPump_ = Now();
}

void SdlBackend::Wake() {
  SDL_Event event{};
  event.type = wakeEvent_;
  SDL_PushEvent(&event);
}

Point SdlBackend::ToScreen(int x, int y) const {
  if (!window_) return {x, y};
  int ww = 0, wh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  if (ww <= 0 || wh <= 0) return {x, y};
  return {int(int64_t(x) * screenSize_.cx / ww), int(int64_t(y) * screenSize_.cy / wh)};
}

bool SdlBackend::Translate(const SDL_Event& sdl, InputEvent& event) {
  using Kind = InputEvent::Kind;
  switch (sdl.type) {
    case SDL_QUIT: event.kind = Kind::Quit; return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event.kind = sdl.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp;
      event.key = VirtualKey(sdl.key.keysym.sym);
      event.alt = (sdl.key.keysym.mod & KMOD_ALT) != 0;
      return true;
    case SDL_TEXTINPUT: {
      std::string text = Utf8ToCp1252(sdl.text.text);
      if (text.empty()) return false;
      event.kind = Kind::Char;
      event.character = text[0];
      // Further characters of one text event come as separate events.
      for (size_t i = 1; i < text.size(); ++i) {
        SDL_Event more{};
        more.type = SDL_TEXTINPUT;
        more.text.text[0] = 0;
        std::string one = Cp1252ToUtf8(text.substr(i, 1));
        SDL_strlcpy(more.text.text, one.c_str(), sizeof more.text.text);
        SDL_PushEvent(&more);
      }
      return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? Kind::MouseDown : Kind::MouseUp;
      event.button = sdl.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                     : sdl.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                              : MouseButton::Left;
      event.doubleClick = sdl.button.clicks >= 2;
      event.point = ToScreen(sdl.button.x, sdl.button.y);
      return true;
    case SDL_MOUSEMOTION:
      event.kind = Kind::MouseMove;
      event.point = ToScreen(sdl.motion.x, sdl.motion.y);
      return true;
    case SDL_WINDOWEVENT:
      switch (sdl.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED: event.kind = Kind::Minimized; return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: event.kind = Kind::Restored; return true;
        case SDL_WINDOWEVENT_EXPOSED: RepresentLast(); return false;
        default: return false;
      }
    default: return false;
  }
}

bool SdlBackend::PollInput(InputEvent& event) {
  // Asking the display for new events costs system calls; the loop asks
  // several times per idle pass, and waiting pumps them anyway.
  if (Now() - lastPump_ >= kPumpIntervalMs) {
    SDL_PumpEvents();
    lastPump_ = Now();
  }
  SDL_Event sdl;
  while (SDL_PeepEvents(&sdl, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    event = InputEvent{};
    if (Translate(sdl, event)) return true;
  }
  return false;
}

void SdlBackend::RepresentLast() {
  if (!renderer_ || !texture_) return;
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

void SdlBackend::Present(const Surface& screen, const Rect& dirty) {
  if (!EnsureWindow()) return;
  Rect r = dirty.Intersect(screen.Bounds());
  if (!r.IsEmpty()) {
    SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
    SDL_UpdateTexture(texture_, &area, screen.Row(r.top) + r.left, int(screen.width() * sizeof(uint32_t)));
  }
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  // Presentation waits for the display's refresh; where the driver does not
  // wait, keep to the refresh rate ourselves so drawing stays visible.
  uint64_t now = Now();
  if (now - lastPresent_ < uint64_t(refreshMs_)) SDL_Delay(uint32_t(refreshMs_ - (now - lastPresent_)));
  SDL_RenderPresent(renderer_);
  lastPresent_ = Now();
}

void SdlBackend::HideScreen() {
  if (window_ && shown_) SDL_HideWindow(window_);
  shown_ = false;
}

void SdlBackend::SetCursor(CursorKind cursor) {
  switch (cursor) {
    case CursorKind::None: SDL_ShowCursor(SDL_DISABLE); break;
    case CursorKind::Arrow:
      if (arrow_) SDL_SetCursor(arrow_);
      SDL_ShowCursor(SDL_ENABLE);
      break;
    case CursorKind::Wait:
      if (wait_) SDL_SetCursor(wait_);
      SDL_ShowCursor(SDL_ENABLE);
      break;
  }
}

bool SdlBackend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  uint32_t flags = icon == MessageBoxIcon::Error         ? SDL_MESSAGEBOX_ERROR
                   : icon == MessageBoxIcon::Exclamation ? SDL_MESSAGEBOX_WARNING
                                                         : SDL_MESSAGEBOX_INFORMATION;
  return SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), shown_ ? window_ : nullptr) == 0;
}

std::unique_ptr<WaveOut> SdlBackend::CreateWaveOut() { return CreateSdlWaveOut(); }

std::unique_ptr<MediaDevice> SdlBackend::CreateMediaDevice() { return CreateSdlMediaDevice(); }

}  // namespace pellora
