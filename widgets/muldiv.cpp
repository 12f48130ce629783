#include "muldiv.h"

#include <cstdlib>
#include <limits>

namespace wharf {

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t divisor = c;
    int64_t quotient = product / divisor;
    const int64_t remainder = product % divisor;
    // Round half away from zero: compare twice the remainder with the divisor.
    if (2 * std::llabs(remainder) >= std::llabs(divisor))
        quotient += ((product < 0) != (divisor < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<int32_t>::max() || quotient < std::numeric_limits<int32_t>::min())
        return -1;
    return static_cast<int32_t>(quotient);
}

int32_t MulDivTrunc(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return 0;
    const int64_t quotient = static_cast<int64_t>(a) * b / c;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(quotient)));
}

} // namespace wharf
