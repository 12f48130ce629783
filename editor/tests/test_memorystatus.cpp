#include "memorystatus.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

TEST(MemoryStatus, ReadsTheKernelFigures)
{
    const auto status = parseMemInfo("MemTotal:       16000000 kB\nMemFree:         1000000 kB\n"
                                     "MemAvailable:    4000000 kB\nBuffers:  10 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalPhysical, 16000000ull * 1024);
    EXPECT_EQ(status->availPhysical, 4000000ull * 1024);
    EXPECT_EQ(status->memoryLoad, 75);

    // An old kernel without MemAvailable: the free memory stands in.
    const auto old = parseMemInfo("MemTotal: 1000 kB\nMemFree: 500 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->memoryLoad, 50);

    EXPECT_FALSE(parseMemInfo(""));
    EXPECT_FALSE(parseMemInfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(parseMemInfo("MemTotal: lots\n"));
}

TEST(MemoryStatus, ThisMachineHasSomeMemory)
{
    const MemoryStatus status = GlobalMemoryStatus();
    EXPECT_GT(status.totalPhysical, 0u);
    EXPECT_GE(status.memoryLoad, 0);
    EXPECT_LE(status.memoryLoad, 100);
}

TEST(MemoryStatus, TextInKilobytesWithThousandsSeparators)
{
    EXPECT_EQ(availableMemoryText(1234567 * 1024ull, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("Available memory: 1,234,567 KB"));
    EXPECT_EQ(availableMemoryText(1023, QLocale::c()), QStringLiteral("Available memory: 0 KB"));
    EXPECT_EQ(availableMemoryText(2048ull * 1024, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("Available memory: 2.048 KB"));
}

} // namespace
} // namespace wharf
