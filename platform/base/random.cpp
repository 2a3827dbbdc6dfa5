#include "platform/base/random.h"

namespace pellora {
namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) { randomState = seed; }

int Random() {
  randomState = randomState * 214013u + 2531011u;
  return int((randomState >> 16) & 0x7FFF);
}

}  // namespace pellora
