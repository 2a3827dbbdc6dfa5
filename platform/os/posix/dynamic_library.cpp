#include "platform/os/dynamic_library.h"

#include <dlfcn.h>

namespace pellora {

DynamicLibrary::~DynamicLibrary() { Close(); }

bool DynamicLibrary::Open(const std::string& name, Unloading unloading) {
  Close();
  handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | (unloading == Unloading::Never ? RTLD_NODELETE : 0));
  return handle_ != nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void DynamicLibrary::Close() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace pellora
