// The monitors of the desktop, the primary first.
#include "platform/win32/win32_backend.h"

#include "platform/os/win32/wide.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {
namespace {

struct MonitorList {
  std::vector<Monitor> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, ::LPARAM data) {
  auto* list = reinterpret_cast<MonitorList*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  Monitor entry{WideToUtf8(info.szDevice), {int(r.left), int(r.top), int(r.right), int(r.bottom)}};
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    list->monitors.insert(list->monitors.begin(), std::move(entry));
  else
    list->monitors.push_back(std::move(entry));
  return TRUE;
}

}  // namespace

bool ListWin32Monitors(std::vector<Monitor>& monitors, std::string& error) {
  BecomeDpiAware();
  MonitorList list;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<::LPARAM>(&list));
  if (list.monitors.empty()) {
    error = "cannot list the displays (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  monitors = std::move(list.monitors);
  return true;
}

}  // namespace pellora
