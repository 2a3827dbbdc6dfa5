#include "music/mod_done_window.h"

#include "music/mod_player.h"

namespace pellora {

bool CModDoneWindow::Create() {
  WindowSpec spec;
  spec.title = "module output";
  spec.style = WS_POPUP;
  return CreateFromSpec(spec);
}

LRESULT CModDoneWindow::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == MM_WOM_DONE) {
    ModWaveDone(wParam, lParam);
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace pellora
