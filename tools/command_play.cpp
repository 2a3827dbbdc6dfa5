// pellora play FILE
#include <cstdio>

#include "app/show_file.h"
#include "app/show_player_app.h"
#include "platform/backend.h"
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
  std::unique_ptr<Backend> backend = CreateBackendFromEnvironment(error);
  if (!backend) return Fail(kExitBadFile, error);
  InstallBackend(std::move(backend));
  int status;
  {
    CShowPlayerApp app(ShowSource{file, location->offset});
    status = app.Run();
  }
  ReleaseBackend();
  return status;
}

}  // namespace pellora::tools
