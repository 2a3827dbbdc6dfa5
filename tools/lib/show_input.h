// Opening any show file the tools accept (self-running, bare package,
// Windows executable, or a show description packed on the fly) and reading
// its document.
#pragma once

#include <memory>
#include <string>

#include "app/package_location.h"
#include "platform/os/file.h"

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

// The file a command reads a show from: the file itself, or for a show
// description a bare package built from it in a scratch file that lives as
// long as this object, so that the description is read exactly as the
// packed show would be.
class ShowInput {
 public:
  // False with a message when the file cannot be opened or the
  // description has errors; the description's warnings go to standard
  // error.
  bool Open(const std::string& path, std::string& message);
  const std::string& Path() const { return path_; }
  const PackageLocation& Location() const { return location_; }

 private:
  ScratchFile scratch_;
  std::string path_;
  PackageLocation location_;
};

// Why a file cannot be opened, as the system says it ("No such file or
// directory").
std::string OpenFailureReason(const std::string& path);

// The document, or null with the reason, naming the file.
std::unique_ptr<CDiapoDoc> LoadShowFile(const std::string& path, PackageLocation& location, std::string& message);
// The same for a show file opened already; path names it in messages.
std::unique_ptr<CDiapoDoc> LoadShowInput(const ShowInput& input, const std::string& path, std::string& message);

}  // namespace pellora::tools
