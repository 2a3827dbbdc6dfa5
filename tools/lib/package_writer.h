// Writing show packages and self-running shows.
#pragma once

#include <string>
#include <vector>

namespace pellora {
class CDiapoDoc;
class CFile;
}

namespace pellora::tools {

// Writes the document's package at the file's position.
bool WritePackage(const CDiapoDoc& document, CFile& file, std::string& error);

// Writes the document as a bare package. The file appears complete or not
// at all: it is written under a temporary name and renamed.
bool WriteBarePackage(const CDiapoDoc& document, const std::string& outPath, std::string& error);

// Writes a self-running show: a copy of the player with its package slot
// patched to the package's offset, followed by the package.
bool WriteSelfRunningShow(const CDiapoDoc& document, const std::string& playerPath, const std::string& outPath,
                          std::string& error);

// The systems pack makes self-running shows for.
inline constexpr const char* kTargets[] = {"linux", "windows"};

// Where pack looks for the player of a target system, in this order:
// PELLORA_PLAYER_DIR when set, the running tool's folder, and the
// installed <tool folder>/../share/pellora/<target>/.
std::vector<std::string> PlayerCandidates(const std::string& target);
// The first candidate that is a file, or "".
std::string FindPlayer(const std::string& target);
// Why the file cannot be the player for the target system, or "" when its
// first bytes are those of a program of that system.
std::string PlayerRefusal(const std::string& path, const std::string& target);

}  // namespace pellora::tools
