#include "platform/os/process_stats.h"

#include <windows.h>
#include <psapi.h>

namespace pellora {
namespace {
bool Counters(PROCESS_MEMORY_COUNTERS& counters) {
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) != 0;
}
}  // namespace

uint64_t CurrentResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters;
  return Counters(counters) ? counters.WorkingSetSize : 0;
}

uint64_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters;
  return Counters(counters) ? counters.PeakWorkingSetSize : 0;
}

}  // namespace pellora
