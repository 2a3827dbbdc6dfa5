// Opening any show file the tools accept (self-running, bare package,
// Windows executable) and reading its document.
#pragma once

#include <memory>
#include <string>

#include "app/show_file.h"

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

// The document, or null with the message the player would show (or why
// the file could not be opened).
std::unique_ptr<CDiapoDoc> LoadShowFile(const std::string& path, PackageLocation& location, std::string& message);

}  // namespace pellora::tools
