#include "platform/base/mul_div.h"

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

}  // namespace pellora
