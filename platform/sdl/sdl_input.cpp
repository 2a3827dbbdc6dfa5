// Keyboard, mouse and window events of SDL turned into the framework's
// input events.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include "platform/base/text.h"
#include "platform/ui/messages.h"

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

}  // namespace pellora
