// CMainFrame: the player's main frame window. It is created but never
// shown; its creation reads the package, creates and shows the black show
// window, asks for the password and starts the show. It also holds the
// sound state.
#pragma once

#include <memory>

#include "platform/window.h"

namespace pellora {

class CDiapoDoc;
class CShowWnd;

class CMainFrame : public CWnd {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // Creates the frame's window (which runs OnCreate); false when the
  // start-up failed.
  bool CreateFrame();
  // Idle-time check for the end of the current sound.
  void SoundIdle();

  std::unique_ptr<CShowWnd> showWindow;

 protected:
  int OnCreate() override;
  void OnDestroy() override;

 private:
  std::unique_ptr<CDiapoDoc> document_;  // reached by others as showDocument
};

}  // namespace pellora
