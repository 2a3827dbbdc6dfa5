// The self-running player: reads the show appended to its own file.
#include <cstdio>

#include "app/package_slot.h"
#include "app/show_player_app.h"
#include "platform/os/file.h"

int main() {
  using namespace pellora;
  std::string error;
  std::optional<int> status = PlayShow(ShowSource{ExecutablePath(), PackageSlotOffset()}, error);
  if (!status) {
    std::fprintf(stderr, "pellora-player: %s\n", error.c_str());
    return 1;
  }
  return *status;
}
