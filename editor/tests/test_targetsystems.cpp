#include "targetsystems.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

TEST(TargetSystemsTest, MaskIsTheBitSetPlusOne)
{
    EXPECT_EQ(kTargetSystemNames.front(), "Other");
    EXPECT_EQ(kTargetSystemNames[6], "Windows NT 3.5 (NOT tested!!!)");
    EXPECT_EQ(kTargetSystemNames.back(), "Windows 7 64-bit");

    TargetSystemChecks all;
    all.fill(true);
    EXPECT_EQ(targetSystemChecks(kAllTargetSystems), all);
    EXPECT_EQ(targetSystemChecks(0), all); // 0 stands for every bit set
    EXPECT_EQ(targetSystemChecks(1), TargetSystemChecks{});
    EXPECT_EQ(targetSystemMask(all), 4194304);
    EXPECT_EQ(targetSystemMask(TargetSystemChecks{}), 1);

    // 63 is the Windows 9x family (entries 1 to 5), 4194241 the NT family.
    TargetSystemChecks nineX{};
    for (int i = 1; i <= 5; ++i)
        nineX[static_cast<size_t>(i)] = true;
    EXPECT_EQ(targetSystemMask(nineX), 63);
    EXPECT_EQ(targetSystemChecks(63), nineX);
    TargetSystemChecks nt = all;
    for (int i = 0; i <= 5; ++i)
        nt[static_cast<size_t>(i)] = false;
    EXPECT_EQ(targetSystemMask(nt), 4194241);
    EXPECT_EQ(targetSystemChecks(4194241), nt);

    // Any stored integer is read without overflow.
    EXPECT_TRUE(targetSystemChosen(INT32_MIN, 0));
    EXPECT_FALSE(targetSystemChosen(INT32_MIN, 31));
}

struct ConvertCase {
    int32_t value, build, expected;
};

TEST(TargetSystemsTest, ConvertsMasksOfOlderBuilds)
{
    const ConvertCase cases[] = {
        {4194304, 3, 4194304}, {63, 14, 63},       {12345, 14, 12345},  {0, 20, 0},     // kept
        {1024, 9, 4194304},    {2048, 12, 4194304}, {4096, 13, 4194304},               // old all-values
        {1024, 11, 2048},      {513, 13, 1537},     {1025, 12, 30721},  {0, 10, 131072},
        {2048, 13, 32768},     {1024, 10, 2048},    {63, 5, 63},        {1, 12, 1},
        {8193, 12, 1},         // bits 12 and above are dropped
    };
    for (const auto &c : cases)
        EXPECT_EQ(ConvertTargetSystems(c.value, c.build), c.expected) << c.value << " from build " << c.build;
}

} // namespace
} // namespace wharf
