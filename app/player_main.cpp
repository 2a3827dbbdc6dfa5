// The self-running player: reads the show appended to its own file.
#include <cstdio>

#include "app/package_slot.h"
#include "app/show_player_app.h"
#include "platform/backend.h"
#include "platform/file.h"

int main() {
  using namespace pellora;
  std::string error;
  std::unique_ptr<Backend> backend = CreateBackendFromEnvironment(error);
  if (!backend) {
    std::fprintf(stderr, "pellora-player: %s\n", error.c_str());
    return 1;
  }
  InstallBackend(std::move(backend));
  int status;
  {
    CShowPlayerApp app(ShowSource{ExecutablePath(), PackageSlotOffset()});
    status = app.Run();
  }
  ReleaseBackend();
  return status;
}
