#include "platform/backend.h"

#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_backend.h"
#include "platform/media_device.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/wave_out.h"

namespace pellora {
namespace {
std::unique_ptr<Backend>& Slot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}
}  // namespace

std::unique_ptr<WaveOut> Backend::CreateWaveOut() { return nullptr; }
std::unique_ptr<MediaDevice> Backend::CreateMediaDevice() { return nullptr; }

Backend& CurrentBackend() {
  auto& slot = Slot();
  if (!slot) slot = std::make_unique<HeadlessBackend>(HeadlessBackend::Options{});
  return *slot;
}

void InstallBackend(std::unique_ptr<Backend> backend) { Slot() = std::move(backend); }

std::unique_ptr<Backend> ReleaseBackend() { return std::move(Slot()); }

namespace {

bool IsHeadless(std::string& error, bool& headless) {
  const char* name = std::getenv("PELLORA_BACKEND");
  headless = name && std::strcmp(name, "headless") == 0;
  if (!name || !*name || headless || std::strcmp(name, "sdl") == 0) return true;
  error = std::string("unknown PELLORA_BACKEND \"") + name + "\" (use sdl or headless)";
  return false;
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
  bool headless = false;
  if (!IsHeadless(error, headless)) return nullptr;
  std::vector<Monitor> monitors;
  if (!ListMonitors(monitors, error)) return nullptr;
  int index = 0;
  if (!ChooseMonitor(viewer, monitors.size(), index, error)) return nullptr;
  if (!headless) return SdlBackend::Create(error, index, viewer.window);
  HeadlessBackend::Options options;
  if (!HeadlessBackend::OptionsFromEnvironment(options, error)) return nullptr;
  const Rect& chosen = monitors[size_t(index)].bounds;
  options.screen = viewer.window.cx > 0 ? viewer.window : Size{chosen.Width(), chosen.Height()};
  return std::make_unique<HeadlessBackend>(options);
}

bool ListMonitors(std::vector<Monitor>& monitors, std::string& error) {
  bool headless = false;
  if (!IsHeadless(error, headless)) return false;
  return headless ? HeadlessBackend::MonitorsFromEnvironment(monitors, error) : SdlBackend::ListMonitors(monitors, error);
}

}  // namespace pellora
