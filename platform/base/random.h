// The random numbers of the show: the generator of the C run-time the
// player was made with.
#pragma once

#include <cstdint>

namespace pellora {

// The process's pseudo-random generator: state = state * 214013 + 2531011,
// each number is bits 16..30 of the new state (0..32767).
void SeedRandom(uint32_t seed);
int Random();

}  // namespace pellora
