// Memory figures of the running process, for benchmarks.
#pragma once

#include <cstdint>

namespace pellora {

// Resident memory now, and the most the process has held so far, in bytes.
uint64_t CurrentResidentBytes();
uint64_t PeakResidentBytes();

}  // namespace pellora
