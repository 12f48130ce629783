#pragma once
// The integer multiply-divide rules that the drawing code relies on. Both
// form the product in 64 bits, so a * b never overflows.

#include <cstdint>

namespace wharf {

// a * b / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit 32 bits (the platform's multiply-divide).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// a * b / c with the quotient truncated toward zero; 0 when c is 0. A result
// that does not fit 32 bits keeps its low 32 bits.
int32_t MulDivTrunc(int32_t a, int32_t b, int32_t c);

} // namespace wharf
