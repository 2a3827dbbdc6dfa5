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

std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string& error) {
  const char* name = std::getenv("PELLORA_BACKEND");
  if (!name || !*name || std::strcmp(name, "sdl") == 0) return SdlBackend::Create(error);
  if (std::strcmp(name, "headless") == 0) {
    HeadlessBackend::Options options;
    if (!HeadlessBackend::OptionsFromEnvironment(options, error)) return nullptr;
    return std::make_unique<HeadlessBackend>(options);
  }
  error = std::string("unknown PELLORA_BACKEND \"") + name + "\" (use sdl or headless)";
  return nullptr;
}

}  // namespace pellora
