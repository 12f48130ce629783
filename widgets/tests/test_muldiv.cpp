#include "muldiv.h"

#include <gtest/gtest.h>

#include <limits>

namespace wharf {
namespace {

struct MulDivCase {
    int32_t a, b, c, rounded, truncated;
};

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndTruncatesTowardZero)
{
    const MulDivCase cases[] = {
        {5, 1, 2, 3, 2},       {-5, 1, 2, -3, -2},   {5, -1, 2, -3, -2},    {-5, -1, 2, 3, 2},
        {7, 1, 3, 2, 2},       {8, 1, 3, 3, 2},      {255, 255, 256, 254, 254},
        {100000, 100000, 100000, 100000, 100000}, // the product needs 64 bits
        {0, 7, 3, 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.rounded) << c.a << "*" << c.b << "/" << c.c;
        EXPECT_EQ(MulDivTrunc(c.a, c.b, c.c), c.truncated) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST(MulDivTest, DivisionByZeroAndOverflowGiveMinusOne)
{
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::max(), 2, 1), -1);
    EXPECT_EQ(MulDivTrunc(1, 2, 0), 0);
}

} // namespace
} // namespace wharf
