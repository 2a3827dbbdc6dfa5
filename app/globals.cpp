#include "app/globals.h"

namespace pellora {

std::string exePath;
uint32_t packageOffset = 0;
CMainFrame* mainFrame = nullptr;
CDiapoDoc* showDocument = nullptr;

}  // namespace pellora
