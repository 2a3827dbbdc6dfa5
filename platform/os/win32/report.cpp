#include "platform/os/report.h"

#include <windows.h>

#include <cstdio>

#include "platform/os/win32/wide.h"

namespace pellora {

void ReportLine(const std::string& line) {
  OutputDebugStringW(Utf8ToWide(line + "\n").c_str());
  // A console program, or one started with its error stream redirected,
  // still has somewhere to write.
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
  }
}

}  // namespace pellora
