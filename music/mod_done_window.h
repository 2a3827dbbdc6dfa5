// A hidden window that takes a module player's finished output blocks
// where no frame window does (the render tool, tests): its MM_WOM_DONE
// handler passes them to ModWaveDone.
#pragma once

#include "platform/ui/window.h"

namespace pellora {

class CModDoneWindow : public CWnd {
 public:
  bool Create();

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace pellora
