// A small timing harness: runs a piece of work several times and keeps
// the median, so that a target can be compared with a baseline measured in
// the same run.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace pellora::bench {

inline double MedianSeconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The same with the process's processor time, so that other work on the
// machine does not count.
inline double MedianCpuSeconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    std::clock_t start = std::clock();
    work();
    times.push_back(double(std::clock() - start) / CLOCKS_PER_SEC);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Prints one figure against its limit; false when the limit is missed.
inline bool Report(const char* what, double value, double limit, const char* unit, bool atMost = true) {
  bool ok = atMost ? value <= limit : value >= limit;
  std::printf("%-58s %10.3f %-6s (%s %.3f) %s\n", what, value, unit, atMost ? "limit" : "target", limit,
              ok ? "ok" : "MISSED");
  return ok;
}

}  // namespace pellora::bench
