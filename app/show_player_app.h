// CShowPlayerApp: the player's application object. It records where the
// show comes from, seeds the random generator and creates the invisible
// main frame, whose creation does the rest of the start-up.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/app.h"
#include "platform/backend.h"

namespace pellora {

class CMainFrame;

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

 private:
  ShowSource source_;
  std::unique_ptr<CMainFrame> frame_;
  bool started_ = false;
};

}  // namespace pellora
