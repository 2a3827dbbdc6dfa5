// The files a show deals with: the names its package stores, and the
// folder of the temporary "dia" files it writes.
#pragma once

#include <string>

namespace pellora {

// The folder of the temporary files, with a trailing separator; recorded
// by the player at start-up.
extern std::string tempDirectory;
// tempDirectory, or the system's temporary directory when none was
// recorded (the tools and tests run without the player's start-up).
std::string TempDirectory();

// The file a stored name means on this system: the package stores names
// in Windows-1252, perhaps with Windows separators. The name is tried as
// it stands, then with its backslashes turned into slashes.
std::string LocalPath(const std::string& stored);

}  // namespace pellora
