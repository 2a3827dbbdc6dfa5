// A shared library loaded at run time by name, and its entry points looked
// up by name. Closed when the object goes away.
#pragma once

#include <string>

namespace pellora {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // False when the system cannot load a library of that name.
  bool Open(const std::string& name);
  bool IsOpen() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  void Close();

 private:
  void* handle_ = nullptr;
};

}  // namespace pellora
