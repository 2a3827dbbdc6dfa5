// The displays of the SDL backend: SDL's video started on a real one, and
// the list of them.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

namespace pellora {

// Starts SDL's video on a real display; false with a one-line reason.
bool SdlBackend::InitVideo(std::string& error) {
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

}  // namespace pellora
