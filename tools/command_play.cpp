// pellora play FILE
#include <cstdio>

#include "app/show_file.h"
#include "app/show_player_app.h"
#include "platform/backend.h"
#include "tools/command.h"

namespace pellora::tools {
namespace {

int RunPlay(const std::vector<std::string>& args) {
  if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-'))
    return Fail(kExitUsage, "play: usage: pellora play FILE");
  std::optional<PackageLocation> location = LocatePackage(args[0]);
  if (!location) return Fail(kExitBadFile, "cannot open " + args[0]);
  std::string error;
  std::unique_ptr<Backend> backend = CreateBackendFromEnvironment(error);
  if (!backend) return Fail(kExitBadFile, error);
  InstallBackend(std::move(backend));
  int status;
  {
    CShowPlayerApp app(ShowSource{args[0], location->offset});
    status = app.Run();
  }
  ReleaseBackend();
  return status;
}

const CommandRegistration registration({"play", "FILE", "plays a show file as the self-running player would",
                                         RunPlay});

}  // namespace
}  // namespace pellora::tools
