// The names a show's package stores, as this system's paths.
#pragma once

#include <string>

namespace pellora {

// The file a stored name means on this system: the package stores names
// in Windows-1252, perhaps with Windows separators. The name is tried as
// it stands, then with its backslashes turned into slashes.
std::string LocalPath(const std::string& stored);

}  // namespace pellora
