// The few kernel services the player uses besides files: multiply-divide,
// the process random generator and the millisecond tick count.
#pragma once

#include <cstdint>

namespace pellora {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer
// (halves away from zero); -1 when c is 0 or the result overflows 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// The process's pseudo-random generator: state = state * 214013 + 2531011,
// each number is bits 16..30 of the new state (0..32767).
void SeedRandom(uint32_t seed);
int Random();

// Milliseconds since the backend started (virtual time on the headless backend).
uint32_t GetTickCount();

}  // namespace pellora
