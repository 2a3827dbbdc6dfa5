// A shared library loaded at run time by name, and its entry points looked
// up by name. Closed when the object goes away; one opened to stay stays
// in the process even then, for libraries whose threads may outlive any
// point at which they could be unloaded.
#pragma once

#include <string>

namespace pellora {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  enum class Unloading { OnClose, Never };
  // False when the system cannot load a library of that name.
  bool Open(const std::string& name, Unloading unloading = Unloading::OnClose);
  bool IsOpen() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  void Close();

 private:
  void* handle_ = nullptr;
};

}  // namespace pellora
