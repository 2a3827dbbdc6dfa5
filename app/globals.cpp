#include "app/globals.h"

namespace pellora {

std::string exePath;
std::string tempDirectory;
uint32_t packageOffset = 0;
CMainFrame* mainFrame = nullptr;
CDiapoDoc* showDocument = nullptr;

}  // namespace pellora
