// Native message boxes of the SDL backend.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include "platform/os/report.h"

namespace pellora {

bool SdlBackend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  ReportLine(caption + ": " + text);
  uint32_t flags = icon == MessageBoxIcon::Error         ? SDL_MESSAGEBOX_ERROR
                   : icon == MessageBoxIcon::Exclamation ? SDL_MESSAGEBOX_WARNING
                                                         : SDL_MESSAGEBOX_INFORMATION;
  return SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), shown_ ? window_ : nullptr) == 0;
}

}  // namespace pellora
