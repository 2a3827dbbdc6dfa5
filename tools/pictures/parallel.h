// Running independent pieces of work (one picture each) on every core.
#pragma once

#include <cstddef>
#include <functional>

namespace pellora::pictures {

// Calls work(i) once for each i below count, on up to as many threads as
// the machine has cores (at most four), and returns when all are done.
// work must not throw.
void RunInParallel(size_t count, const std::function<void(size_t)>& work);

}  // namespace pellora::pictures
