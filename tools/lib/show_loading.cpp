#include "tools/lib/show_loading.h"

#include "app/package_loader.h"
#include "document/diapo_doc.h"

namespace pellora::tools {

std::unique_ptr<CDiapoDoc> LoadShowFile(const std::string& path, PackageLocation& location, std::string& message) {
  std::optional<PackageLocation> found = LocatePackage(path);
  if (!found) {
    message = "cannot open " + path;
    return nullptr;
  }
  location = *found;
  auto document = std::make_unique<CDiapoDoc>();
  if (ReadShowPackage(*document, path, location.offset, message) != LoadResult::Loaded) {
    if (message.empty()) message = "cannot open " + path;
    return nullptr;
  }
  return document;
}

}  // namespace pellora::tools
