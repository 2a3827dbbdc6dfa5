// Presenting the composed screen in the SDL window, in step with the
// display's refresh.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include "platform/draw/surface.h"

namespace pellora {

bool SdlBackend::CreateScreenWindow(int display, Size desktop, Size window, std::string& error) {
  // The window exists, hidden, from the start: the screen size the player
  // works with is its drawable's size in pixels, which on a high-density
  // display is larger than the desktop mode's size in points. A window of
  // a given size is that many pixels: the show as on a screen that size.
  if (window.cx > 0) {
    window_ = SDL_CreateWindow("Quorvel Pellora", SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                               SDL_WINDOWPOS_CENTERED_DISPLAY(display), window.cx, window.cy, SDL_WINDOW_HIDDEN);
  } else {
    SDL_Rect bounds{0, 0, desktop.cx, desktop.cy};
    SDL_GetDisplayBounds(display, &bounds);
    window_ = SDL_CreateWindow("Quorvel Pellora", bounds.x, bounds.y, desktop.cx, desktop.cy,
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

}  // namespace pellora
