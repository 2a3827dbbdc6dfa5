// The self-running player: reads the show appended to its own file.
#include "app/package_slot.h"
#include "app/show_player_app.h"
#include "platform/os/file.h"
#include "platform/os/report.h"

int main() {
  using namespace pellora;
  std::string error;
  std::optional<int> status = PlayShow(ShowSource{ExecutablePath(), PackageSlotOffset()}, error);
  if (!status) {
    ReportLine("pellora-player: " + error);
    return 1;
  }
  return *status;
}
