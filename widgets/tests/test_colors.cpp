#include "colors.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

TEST(ColorsTest, StoredRgbValuesKeepTheirByteOrder)
{
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(toQColor(makeColor(0x00336699)), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(fromQColor(QColor(0x99, 0x66, 0x33)), makeColor(0x00336699));
    EXPECT_EQ(redOf(clBtnFace), 15); // stored bytes, no system colour resolved
    EXPECT_EQ(rgbColor(1, 2, 3), makeColor(0x030201));
}

TEST(ColorsTest, SystemColoursComeFromThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(4, 5, 6));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(7, 8, 9));
    EXPECT_EQ(toQColor(clBtnFace, palette), QColor(1, 2, 3));
    EXPECT_EQ(toQColor(clBtnShadow, palette), QColor(4, 5, 6));
    EXPECT_EQ(toQColor(clGrayText, palette), QColor(7, 8, 9));
    EXPECT_EQ(colorToRgb(clBtnFace, palette), rgbColor(1, 2, 3));
    EXPECT_EQ(colorToRgb(clRed, palette), clRed);
    // A system colour without a palette role has its classic value.
    EXPECT_EQ(toQColor(clInactiveCaption, palette), QColor(0xBF, 0xCD, 0xDB));
}

TEST(ColorsTest, RecognisesOnlyTheTwentyFiveSystemColours)
{
    EXPECT_EQ(systemColorIndex(clBtnFace), 15);
    EXPECT_EQ(systemColorIndex(clInfoBk), 24);
    EXPECT_FALSE(systemColorIndex(makeColor(0x80000019)).has_value());
    EXPECT_FALSE(isSystemColor(clWhite));
    EXPECT_EQ(toQColor(makeColor(0x80000019)), QColor(0x19, 0, 0));
    EXPECT_EQ(toQColor(clNone).alpha(), 0);
}

} // namespace
} // namespace wharf
