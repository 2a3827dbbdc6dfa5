#include "tools/lib/picture_facts.h"

namespace pellora::tools {

bool LoadBackgroundPicture(const std::string& path, CDIB&, std::string& error) {
  error = "cannot decode the background picture " + path + ": this build has no picture readers";
  return false;
}

}  // namespace pellora::tools
