// The SDL backend's life: its start on a display, its clock and waits,
// its cursors and its sound devices.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include "platform/sdl/sdl_media_device.h"
#include "platform/sdl/sdl_wave_out.h"

namespace pellora {

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
  if (!backend->CreateScreenWindow(display, {mode.w, mode.h}, window, error)) return nullptr;
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

uint64_t SdlBackend::Now() { return SDL_GetTicks64(); }

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

std::unique_ptr<WaveOut> SdlBackend::CreateWaveOut() { return CreateSdlWaveOut(); }

std::unique_ptr<MediaDevice> SdlBackend::CreateMediaDevice() { return CreateSdlMediaDevice(); }

}  // namespace pellora
