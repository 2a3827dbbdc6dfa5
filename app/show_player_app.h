// CShowPlayerApp: the player's application object. It records where the
// show comes from, seeds the random generator and creates the invisible
// main frame, whose creation does the rest of the start-up.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/backends/backends.h"
#include "platform/base/random.h"
#include "platform/video/video_bridge.h"
#include "show/dialog_fonts.h"
#include "platform/ui/app.h"

namespace pellora {

class CMainFrame;

// The application's name, the caption of its message boxes.
inline constexpr char kAppName[] = "Quorvel Pellora 1.0";

// The file holding the show and the package's offset in it.
struct ShowSource {
  std::string path;
  uint32_t offset = 0;
};

// Plays the show on the backend the environment chooses, as the player
// does from start to end: the program's exit status, or nullopt with the
// reason when there is no backend to play on.
std::optional<int> PlayShow(const ShowSource& source, std::string& error, const ViewerOptions& viewer = {});

class CShowPlayerApp : public CWinApp {
 public:
  explicit CShowPlayerApp(ShowSource source);
  ~CShowPlayerApp() override;

  bool InitInstance() override;
  bool OnIdle(long count) override;
  int ExitInstance() override;

  // The file the package is read from: the running executable, or the
  // show file that `pellora play` was given.
  std::string exePath;
  // The system's temporary directory with a trailing separator, where
  // embedded pictures and sounds are written while they are used.
  std::string tempDirectory;
  // File offset of the show package inside exePath.
  uint32_t packageOffset = 0;
  // Set while the main frame's window exists.
  CMainFrame* mainFrame = nullptr;
  // Set when the password lock refused the viewer or was abandoned: the
  // show did not play, so the program ends with a failure status.
  bool lockRefused = false;
  // The process's random generator, seeded at start-up with the tick count.
  RandomGenerator random;
  // The fonts of the password lock and the title card.
  DialogFonts fonts;
  // The video drawing bridge, loaded from videoLibrary at start-up.
  VideoBridge videoBridge;
  std::string videoLibrary = kVideoBridgeLibrary;

 private:
  ShowSource source_;
  std::unique_ptr<CMainFrame> frame_;
  bool started_ = false;
};

}  // namespace pellora
