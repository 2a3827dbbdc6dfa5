// CMainFrame: the player's main frame window. It is created but never
// shown; its creation reads the package, creates and shows the black show
// window, asks for the password and starts the show. It owns the sound
// behind the show, whose devices send their messages to it, and is the
// show window's host.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/window.h"
#include "show/show_host.h"
#include "show/show_sound.h"

namespace pellora {

class CDiapoDoc;
class CShowPlayerApp;
class CShowWnd;

class CMainFrame : public CWnd, public ShowHost {
 public:
  explicit CMainFrame(CShowPlayerApp& app);
  ~CMainFrame() override;

  // Creates the frame's window (which runs OnCreate); false when the
  // start-up failed.
  bool CreateFrame();
  // Idle-time check for the end of the current sound; minimised, sounds
  // are neither replayed nor followed to the next slide.
  void SoundIdle();

  // The show window's host.
  void CloseProgram() override;
  CWnd& PaletteOwner() override;
  Rect CentringRect() override;
  RandomGenerator& Random() override;
  const DialogFonts& Fonts() override;
  VideoBridge& Bridge() override;

  CShowPlayerApp& App() const { return app_; }

  // Declared before the show window, which uses it to its end.
  CShowSound sound{this};
  std::unique_ptr<CShowWnd> showWindow;
  // The one show document: created and deleted by the frame.
  std::unique_ptr<CDiapoDoc> showDocument;

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  CShowPlayerApp& app_;
};

}  // namespace pellora
