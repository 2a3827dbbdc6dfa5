#include "document/stored_names.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora {

std::string LocalPath(const std::string& stored) {
  std::string path = Cp1252ToUtf8(stored);
  if (path.find('\\') == std::string::npos || FileExists(path)) return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace pellora
