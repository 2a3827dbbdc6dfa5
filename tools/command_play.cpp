// pellora play FILE
#include <cstdio>

#include "app/show_file.h"
#include "app/show_player_app.h"
#include "tools/arguments.h"
#include "tools/command.h"

namespace pellora::tools {

int RunPlay(const std::vector<std::string>& args) {
  std::string file;
  if (ArgumentParser("play", "FILE").Parse(args, file) || file.empty())
    return Fail(kExitUsage, "play: usage: pellora play FILE");
  std::optional<PackageLocation> location = LocatePackage(file);
  if (!location) return Fail(kExitBadFile, "cannot open " + file);
  std::string error;
  std::optional<int> status = PlayShow(ShowSource{file, location->offset}, error);
  if (!status) return Fail(kExitBadFile, error);
  return *status;
}

}  // namespace pellora::tools
