#include "tools/pictures/parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace pellora::pictures {

void RunInParallel(size_t count, const std::function<void(size_t)>& work) {
  size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
  threads = std::min(threads, count);
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i; (i = next.fetch_add(1)) < count;) work(i);
  };
  std::vector<std::jthread> pool;
  for (size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
}

}  // namespace pellora::pictures
