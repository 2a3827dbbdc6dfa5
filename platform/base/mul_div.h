// The platform's multiply-divide: the scaling that picture placement, the
// dialogs' units and font heights are computed with.
#pragma once

#include <cstdint>

namespace pellora {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer
// (halves away from zero); -1 when c is 0 or the result overflows 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

}  // namespace pellora
