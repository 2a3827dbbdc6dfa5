// The backends of Windows: its own first.
#include "platform/backends/backends.h"
#include "platform/headless/headless_backend.h"
#include "platform/win32/win32_backend.h"

namespace pellora {
namespace {

constexpr BackendFactory kBackends[] = {
    {"win32", &ListWin32Monitors, &CreateWin32Backend},
    {"headless", &HeadlessBackend::MonitorsFromEnvironment, &HeadlessBackend::CreateForViewer},
};

}  // namespace

std::span<const BackendFactory> SystemBackends() { return kBackends; }

}  // namespace pellora
