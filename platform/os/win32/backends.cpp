#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace pellora {
namespace {

constexpr BackendFactory kBackends[] = {
    {"headless", &HeadlessBackend::MonitorsFromEnvironment, &HeadlessBackend::CreateForViewer},
};

}  // namespace

std::span<const BackendFactory> SystemBackends() { return kBackends; }

}  // namespace pellora
