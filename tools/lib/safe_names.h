// File names for what a package stores under names of its own: whatever a
// stored name holds (a path of any system, a drive, "..", a device name,
// control characters), the name given is one plain file name that stays in
// the folder it is written to, on Linux and on Windows.
#pragma once

#include <string>
#include <vector>

namespace pellora::tools {

// The stored name's (Windows-1252) base name made safe, as UTF-8, or
// fallback when nothing of it is left; numbered ("photo-2.jpg") when used
// already holds it, compared without letter case; added to used.
std::string SafeFileName(const std::string& storedName, const std::string& fallback, std::vector<std::string>& used);

}  // namespace pellora::tools
