#include "platform/os/process_stats.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace pellora {

uint64_t CurrentResidentBytes() {
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  unsigned long long size = 0, resident = 0;
  int n = std::fscanf(f, "%llu %llu", &size, &resident);
  std::fclose(f);
  return n == 2 ? resident * uint64_t(::sysconf(_SC_PAGESIZE)) : 0;
}

uint64_t PeakResidentBytes() {
  struct rusage usage;
  if (::getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return uint64_t(usage.ru_maxrss) * 1024;
}

}  // namespace pellora
