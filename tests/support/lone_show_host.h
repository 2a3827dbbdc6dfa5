// The host of a show window that runs without the player around it (tests
// and benchmarks): the end of the show closes nothing, and the window
// realises its palette and centres its dialogs on itself.
#pragma once

#include "platform/ui/window.h"
#include "show/show_host.h"
#include "show/show_sound.h"

namespace pellora::test {

class LoneShowHost : public ShowHost {
 public:
  void CloseProgram() override {}
  CWnd& PaletteOwner() override { return *window; }
  Rect CentringRect() override { return window->GetWindowRect(); }

  CWnd* window = nullptr;  // the show window, once made
  CShowSound sound{nullptr};
};

}  // namespace pellora::test
