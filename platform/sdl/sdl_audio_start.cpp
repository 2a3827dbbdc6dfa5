#include "platform/sdl/sdl_audio_start.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>

namespace pellora {
namespace {

using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

bool StartSdlAudio() {
  const char* debug = std::getenv("PELLORA_DEBUG");
  if (!debug || !*debug) {
    // SDL opens the same ALSA library, whose message handler is one for
    // the process; the library stays loaded for the process's life, as it
    // does for SDL.
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
      using SetHandler = int (*)(AlsaErrorHandler);
      if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&IgnoreAlsaMessage);
    }
  }
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace pellora
