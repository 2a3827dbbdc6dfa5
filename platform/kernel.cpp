#include "platform/kernel.h"

#include "platform/backend.h"

namespace pellora {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = int64_t(a) * int64_t(b);
  bool negative = (product < 0) != (c < 0);
  uint64_t num = product < 0 ? uint64_t(-product) : uint64_t(product);
  uint64_t den = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
  uint64_t q = (num + den / 2) / den;
  if (q > (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) return -1;
  return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) { randomState = seed; }

int Random() {
  randomState = randomState * 214013u + 2531011u;
  return int((randomState >> 16) & 0x7FFF);
}

uint32_t GetTickCount() { return uint32_t(CurrentBackend().Now()); }

}  // namespace pellora
