// Writing show packages and self-running shows.
#pragma once

#include <string>

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

// The pellora-player that sits next to the running pellora tool.
std::string DefaultPlayerPath();

}  // namespace pellora::tools
