// Process-wide values of the player, set up at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace pellora {

class CDiapoDoc;
class CMainFrame;

// The file the package is read from: the running executable, or the show
// file that `pellora play` was given.
extern std::string exePath;
// File offset of the show package inside exePath.
extern uint32_t packageOffset;
extern CMainFrame* mainFrame;
extern CDiapoDoc* showDocument;

// The application's name, the caption of its message boxes.
inline constexpr char kAppName[] = "Quorvel Pellora 1.0";

}  // namespace pellora
