#include "codec.h"

#include <gtest/gtest.h>

using namespace wharf;

TEST(CodecTest, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = fromWindows1252(all);
    EXPECT_EQ(toWindows1252(utf8), all);
}

TEST(CodecTest, KnownCharacters)
{
    EXPECT_EQ(fromWindows1252("\x80"), "\u20AC");
    EXPECT_EQ(fromWindows1252("Gr\xFC\xDF"), "Gr\u00FC\u00DF");
    EXPECT_EQ(toWindows1252("\u0152uvre \u2122"), "\x8C" "uvre \x99");
}

TEST(CodecTest, UnrepresentableTextIsRefused)
{
    EXPECT_THROW(toWindows1252("\u0416"), ECodecError);   // Cyrillic
    EXPECT_THROW(toWindows1252("\xC3"), ECodecError);     // cut UTF-8
    EXPECT_FALSE(fitsWindows1252("a\u4E2D"));
    EXPECT_TRUE(fitsWindows1252("caf\u00E9"));
}

TEST(CodecTest, CaseFolding)
{
    EXPECT_TRUE(sameTextIgnoreCase("AppName", "appname"));
    EXPECT_TRUE(sameTextIgnoreCase("\u00C4RGER", "\u00E4rger"));
    EXPECT_TRUE(sameTextIgnoreCase("\u0160", "\u0161"));
    EXPECT_FALSE(sameTextIgnoreCase("ab", "abc"));
    EXPECT_EQ(foldedText("\u00C9Tat"), "\u00E9tat");
}

TEST(CodecTest, Utf16RoundTrip)
{
    const std::string text = "A\u00E9\u20AC\U0001F600";
    EXPECT_EQ(fromUtf16Le(toUtf16Le(text)), text);
    EXPECT_EQ(toUtf16Le("A"), std::string("A\0", 2));
}
