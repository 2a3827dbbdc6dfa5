#include "platform/backends/backends.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pellora {
namespace {

// The backend PELLORA_BACKEND names, or null with a reason.
const BackendFactory* ChosenBackend(std::string& error) {
  std::span<const BackendFactory> backends = SystemBackends();
  const char* name = std::getenv("PELLORA_BACKEND");
  if (!name || !*name) return &backends.front();
  std::string names;
  for (const BackendFactory& backend : backends) {
    if (std::strcmp(name, backend.name) == 0) return &backend;
    names += names.empty() ? "" : " or ";
    names += backend.name;
  }
  error = std::string("unknown PELLORA_BACKEND \"") + name + "\" (use " + names + ")";
  return nullptr;
}

// The display the show plays on, from 0: the viewer's choice, else
// PELLORA_MONITOR, else the primary display.
bool ChooseMonitor(const ViewerOptions& viewer, size_t count, int& index, std::string& error) {
  int number = viewer.monitor;
  if (number == 0) {
    if (const char* env = std::getenv("PELLORA_MONITOR"); env && *env) {
      char* end = nullptr;
      long value = std::strtol(env, &end, 10);
      if (*end || value < 1 || value > 1000) {
        error = std::string("PELLORA_MONITOR must be a display number from 1, not \"") + env + "\"";
        return false;
      }
      number = int(value);
    }
  }
  if (number == 0) number = 1;
  if (size_t(number) > count) {
    error = "there is no display " + std::to_string(number) + ": this desktop has " + std::to_string(count) +
            " (pellora play --list-monitors lists them)";
    return false;
  }
  index = number - 1;
  return true;
}

}  // namespace

std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string& error, const ViewerOptions& viewer) {
  const BackendFactory* backend = ChosenBackend(error);
  if (!backend) return nullptr;
  std::vector<Monitor> monitors;
  if (!backend->listMonitors(monitors, error)) return nullptr;
  int index = 0;
  if (!ChooseMonitor(viewer, monitors.size(), index, error)) return nullptr;
  Size window = viewer.window;
  const Rect& display = monitors[size_t(index)].bounds;
  if (window.cx > display.Width() || window.cy > display.Height()) {
    if (!viewer.fitWindow) {
      error = "a window of " + std::to_string(window.cx) + "x" + std::to_string(window.cy) + " is larger than display " +
              std::to_string(index + 1) + " (" + std::to_string(display.Width()) + "x" +
              std::to_string(display.Height()) + ")";
      return nullptr;
    }
    window = {std::min(window.cx, display.Width()), std::min(window.cy, display.Height())};
  }
  return backend->create(monitors, index, window, error);
}

bool ListMonitors(std::vector<Monitor>& monitors, std::string& error) {
  const BackendFactory* backend = ChosenBackend(error);
  return backend && backend->listMonitors(monitors, error);
}

}  // namespace pellora
