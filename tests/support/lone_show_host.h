// The host of a show window that runs without the player around it (tests
// and benchmarks): the end of the show closes nothing, and the window
// realises its palette and centres its dialogs on itself.
#pragma once

#include "platform/ui/window.h"
#include "platform/video/video_bridge.h"
#include "show/dialog_fonts.h"
#include "show/show_host.h"
#include "show/show_sound.h"

namespace pellora::test {

class LoneShowHost : public ShowHost {
 public:
  void CloseProgram() override {}
  CWnd& PaletteOwner() override { return *window; }
  Rect CentringRect() override { return window->GetWindowRect(); }
  RandomGenerator& Random() override { return random; }
  const DialogFonts& Fonts() override { return fonts; }
  VideoBridge& Bridge() override { return bridge; }

  CWnd* window = nullptr;  // the show window, once made
  CShowSound sound{nullptr};
  RandomGenerator random;
  DialogFonts fonts;
  VideoBridge bridge;
};

}  // namespace pellora::test
