#include "platform/os/environment.h"

#include <windows.h>

#include <cstdlib>

#include "platform/os/win32/wide.h"

namespace pellora {

void ChangeEnvironment(const std::string& name, const std::optional<std::string>& value) {
  // Both copies: the C library's, which getenv reads, and the system's,
  // which the system calls and child processes see.
  std::wstring wideName = Utf8ToWide(name);
  std::wstring wideValue = value ? Utf8ToWide(*value) : std::wstring();
  _wputenv_s(wideName.c_str(), wideValue.c_str());
  SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
}

}  // namespace pellora
