// CMainFrame: the player's main frame window. It is created but never
// shown; its creation reads the package, creates and shows the black show
// window, asks for the password and starts the show. It also holds the
// sound state: the module player, and what plays through the media
// control interface; the devices' messages come to it.
#pragma once

#include <memory>
#include <string>

#include "platform/window.h"

namespace pellora {

class CDiapoDoc;
class CModPlayer;
class CShowWnd;

class CMainFrame : public CWnd {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // Creates the frame's window (which runs OnCreate); false when the
  // start-up failed.
  bool CreateFrame();

  // Module music: loads and plays a module, stops it, and tells whether
  // none is audible any more.
  void StartModule(const std::string& fileName, bool loop);
  void StopModule();
  bool ModuleFinished();
  // What plays through the media control interface.
  void NoteMciStarted(const std::string& fileName, bool loop);
  void ClearMci();
  // Idle-time check for the end of the current sound: replays a looping
  // sound, or lets the show move on when its slide waits for the end.
  void SoundIdle();

  bool moduleActive = false;  // a module was started and not stopped
  bool mciActive = false;     // a media sound was started and not stopped
  bool moduleLoop = false;    // the module plays again when it ends
  bool mciLoop = false;       // the media sound plays again when it ends
  bool mciPlaying = false;    // set at the start, cleared by the notification
  std::string mciFileName;    // the media sound, to play it again
  std::unique_ptr<CShowWnd> showWindow;
  // Created for the first module and kept for the later ones.
  std::unique_ptr<CModPlayer> modulePlayer;

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnMciNotify(WPARAM code, LPARAM device);
  std::unique_ptr<CDiapoDoc> document_;  // reached by others as showDocument
};

}  // namespace pellora
