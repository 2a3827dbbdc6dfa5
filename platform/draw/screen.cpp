#include "platform/draw/screen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"

namespace pellora {
Size GetScreenSize() { return CurrentBackend().ScreenSize(); }

void SetScreenDepthOverride(int depth) { CurrentBackend().ChooseDepth(depth); }

int GetScreenDepth() {
  Backend& backend = CurrentBackend();
  if (backend.ChosenDepth() != 0) return backend.ChosenDepth();
  int depth = backend.DisplayDepth();
  // The variable can only lower the depth a real display has.
  const char* env = std::getenv("PELLORA_DISPLAY_DEPTH");
  if (env) {
    if (std::strcmp(env, "8") == 0 && depth > 8) return 8;
    if (std::strcmp(env, "4") == 0) return 4;
  }
  return depth;
}

int DialogScaleFor(int screenHeight) { return std::max(1, screenHeight / 720); }

int GetDialogScale() { return DialogScaleFor(GetScreenSize().cy); }

int GetLogPixelsY() { return 96 * GetDialogScale(); }

}  // namespace pellora
