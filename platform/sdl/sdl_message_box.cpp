// Native message boxes of the SDL backend.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <cstdio>

namespace pellora {

bool SdlBackend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  uint32_t flags = icon == MessageBoxIcon::Error         ? SDL_MESSAGEBOX_ERROR
                   : icon == MessageBoxIcon::Exclamation ? SDL_MESSAGEBOX_WARNING
                                                         : SDL_MESSAGEBOX_INFORMATION;
  return SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), shown_ ? window_ : nullptr) == 0;
}

}  // namespace pellora
