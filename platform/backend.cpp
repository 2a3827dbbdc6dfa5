#include "platform/backend.h"

#include <cstdio>
#include <cstdlib>

namespace pellora {
namespace {

struct BackendSlot {
  std::unique_ptr<Backend> backend;
  std::unique_ptr<Backend> (*makeDefault)() = nullptr;
};

BackendSlot& Slot() {
  static BackendSlot slot;
  return slot;
}

}  // namespace

Backend& CurrentBackend() {
  BackendSlot& slot = Slot();
  if (!slot.backend) {
    if (!slot.makeDefault) {
      std::fputs("pellora: no backend installed and no default backend named\n", stderr);
      std::abort();
    }
    slot.backend = slot.makeDefault();
  }
  return *slot.backend;
}

void InstallBackend(std::unique_ptr<Backend> backend) { Slot().backend = std::move(backend); }

std::unique_ptr<Backend> ReleaseBackend() { return std::move(Slot().backend); }

void SetDefaultBackend(std::unique_ptr<Backend> (*factory)()) { Slot().makeDefault = factory; }

uint32_t GetTickCount() { return uint32_t(CurrentBackend().Now()); }

}  // namespace pellora
