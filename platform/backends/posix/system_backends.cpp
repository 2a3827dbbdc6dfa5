// The backends of Linux and the other POSIX systems: SDL first.
#include "platform/backends/backends.h"
#include "platform/headless/headless_backend.h"
#include "platform/sdl/sdl_backend.h"

namespace pellora {
namespace {

std::unique_ptr<Backend> CreateSdl(const std::vector<Monitor>&, int index, Size window, std::string& error) {
  return SdlBackend::Create(error, index, window);
}

constexpr BackendFactory kBackends[] = {
    {"sdl", &SdlBackend::ListMonitors, &CreateSdl},
    {"headless", &HeadlessBackend::MonitorsFromEnvironment, &HeadlessBackend::CreateForViewer},
};

}  // namespace

std::span<const BackendFactory> SystemBackends() { return kBackends; }

}  // namespace pellora
