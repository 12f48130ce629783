#include "headersettings.h"

#include "muldiv.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace wharf {
namespace {

using namespace navbar;

navbar::ColoredFont fontOf(const char *family, int pixels, TColor colour = clWindowText)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    return {font, colour};
}

TEST(THeaderSettingsTest, SettersReportOnlyChanges)
{
    THeaderSettings settings(fontOf("MS Sans Serif", 11));
    int changes = 0;
    QObject *sender = nullptr;
    settings.OnChange = [&](QObject *s) {
        ++changes;
        sender = s;
    };
    EXPECT_EQ(settings.Alignment(), taCenter);
    EXPECT_EQ(settings.BevelOuter(), bvRaised);
    EXPECT_EQ(settings.HeaderColor(), clBtnFace);
    EXPECT_FALSE(settings.KeySupport());
    EXPECT_TRUE(settings.AutoScroll());

    settings.setAlignment(taCenter);
    settings.setBevelOuter(bvRaised);
    settings.setHeaderColor(clBtnFace);
    settings.setLargeWidth(60);
    EXPECT_EQ(changes, 0);

    settings.setAlignment(taLeftJustify);
    settings.setBevelInner(bvLowered);
    settings.setKeySupport(true);
    settings.setLayout(glGlyphCenter);
    settings.setButtonStyle(bsSmall);
    settings.setAutoScroll(false);
    settings.setBevelWidth(3);
    settings.setHeaderColor(clRed);
    EXPECT_EQ(changes, 8);
    EXPECT_EQ(sender, &settings);

    // A bevel width below 1 is taken as 1.
    settings.setBevelWidth(0);
    EXPECT_EQ(settings.BevelWidth(), 1);
}

TEST(THeaderSettingsTest, SizesAreReachedByIndex)
{
    THeaderSettings settings(fontOf("MS Sans Serif", 11));
    int changes = 0;
    settings.OnChange = [&](QObject *) { ++changes; };
    EXPECT_EQ(settings.Size(1), 60);
    EXPECT_EQ(settings.Size(2), 60);
    EXPECT_EQ(settings.Size(3), 20);
    EXPECT_EQ(settings.Size(0), -1);
    EXPECT_EQ(settings.Size(4), -1);
    settings.setSize(4, 99);
    settings.setSize(3, 20);
    EXPECT_EQ(changes, 0);
    settings.setSmallHeight(24);
    settings.setLargeWidth(108);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(settings.SmallHeight(), 24);
    EXPECT_EQ(settings.LargeWidth(), 108);
}

TEST(THeaderSettingsTest, FontsReportWhenAssignedNotWhenChangedInPlace)
{
    THeaderSettings settings(fontOf("MS Sans Serif", 11));
    int changes = 0;
    settings.OnChange = [&](QObject *) { ++changes; };
    // The three fonts start as copies of the given one.
    EXPECT_EQ(settings.ButtonFont(), fontOf("MS Sans Serif", 11));
    EXPECT_EQ(settings.HighlightFont(), settings.HeaderFont());

    settings.HeaderFont().color = clRed;
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(settings.HeaderFont().color, clRed);

    settings.setHeaderFont(settings.HeaderFont()); // its own object
    EXPECT_EQ(changes, 0);
    const navbar::ColoredFont same = settings.HeaderFont();
    settings.setHeaderFont(same); // another object, equal values
    settings.setHighlightFont(fontOf("DejaVu Sans", 12, clBlue));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(settings.HighlightFont().color, clBlue);
    EXPECT_EQ(settings.HighlightFont().font.pixelSize(), 12);
}

TEST(THeaderSettingsTest, AssignCopiesTheCaptionLookOnly)
{
    THeaderSettings source(fontOf("DejaVu Sans", 14, clRed));
    source.setAlignment(taRightJustify);
    source.setBevelInner(bvLowered);
    source.setBevelOuter(bvNone);
    source.setBevelWidth(2);
    source.setHeaderColor(clYellow);
    source.setKeySupport(true);
    source.setLayout(glGlyphRight);
    source.setAutoScroll(false);
    source.setLargeWidth(90);
    source.setButtonStyle(bsSmall);

    THeaderSettings target(fontOf("MS Sans Serif", 11));
    int changes = 0;
    target.OnChange = [&](QObject *) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Alignment(), taRightJustify);
    EXPECT_EQ(target.BevelInner(), bvLowered);
    EXPECT_EQ(target.BevelOuter(), bvNone);
    EXPECT_EQ(target.BevelWidth(), 2);
    EXPECT_EQ(target.HeaderColor(), clYellow);
    EXPECT_EQ(target.HeaderFont(), source.HeaderFont());
    EXPECT_EQ(target.HighlightFont(), source.HighlightFont());
    // Not copied.
    EXPECT_EQ(target.ButtonFont(), fontOf("MS Sans Serif", 11));
    EXPECT_FALSE(target.KeySupport());
    EXPECT_EQ(target.Layout(), glGlyphLeft);
    EXPECT_TRUE(target.AutoScroll());
    EXPECT_EQ(target.LargeWidth(), 60);
    EXPECT_EQ(target.ButtonStyle(), bsLarge);
}

TEST(TGradientTest, ColourSetterAlwaysReportsOtherSettersOnlyChanges)
{
    TGradient gradient;
    int changes = 0;
    gradient.OnChange = [&](QObject *) { ++changes; };
    EXPECT_EQ(gradient.BackStyle(), bsNormal);
    EXPECT_EQ(gradient.GradientType(), gtt2b);
    EXPECT_EQ(gradient.StartColor(), clBlack);
    EXPECT_EQ(gradient.EndColor(), rgbColor(0, 0, 255));

    gradient.setBackStyle(bsNormal);
    gradient.setGradientType(gtt2b);
    EXPECT_EQ(changes, 0);
    // The owning header repaints on every colour write.
    gradient.setStartColor(clBlack);
    gradient.setEndColor(gradient.EndColor());
    EXPECT_EQ(changes, 2);
    gradient.setColor(3, clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(gradient.Color(3), clNone);

    TGradient copy;
    copy.setBackStyle(bsGradient);
    copy.setGradientType(gts2c);
    copy.setStartColor(clRed);
    copy.setEndColor(clLime);
    gradient.Assign(copy);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(gradient.BackStyle(), bsGradient);
    EXPECT_EQ(gradient.GradientType(), gts2c);
    EXPECT_EQ(gradient.StartColor(), clRed);
    EXPECT_EQ(gradient.EndColor(), clLime);
}

TEST(TGradientTest, TopToBottomOnAHundredPixelsUsesBandsOfZeroOrOnePixel)
{
    const QRect area(5, 10, 30, 100);
    const auto bands = TGradient::Bands(gtt2b, rgbColor(0, 0, 0), rgbColor(200, 100, 255), area);
    ASSERT_EQ(bands.size(), 256u);
    int covered = 0;
    for (size_t k = 0; k < bands.size(); ++k) {
        const QRect &r = bands[k].rect;
        EXPECT_TRUE(r.height() == 0 || r.height() == 1) << k;
        if (!r.isEmpty()) {
            EXPECT_EQ(r.x(), 5);
            EXPECT_EQ(r.width(), 30);
        }
        EXPECT_EQ(r.y(), 10 + MulDiv(static_cast<int>(k), 100, 256)) << k;
        covered += r.height();
    }
    EXPECT_EQ(covered, 100);
    EXPECT_EQ(bands.front().color, rgbColor(0, 0, 0));
    EXPECT_EQ(bands.back().color, rgbColor(200, 100, 255));
    // Step 1 of 255 rounds 200/255 = 0.78 up and 100/255 = 0.39 down.
    EXPECT_EQ(bands[1].color, rgbColor(1, 0, 1));
    // Rows are rounded to the nearest: band 128 starts at 50.0, band 129 at
    // 50.39 -> 50 (so band 128 is 0 high), band 130 at 50.78 -> 51.
    EXPECT_EQ(bands[128].rect.height(), 0);
    EXPECT_EQ(bands[129].rect, QRect(5, 60, 30, 1));
}

TEST(TGradientTest, EqualColoursFillUniformlyInEveryType)
{
    const QRect area(0, 0, 41, 37);
    for (TGradientType type : {gtl2r, gts2c, gtt2b, gttb2c}) {
        QImage image(41, 37, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TGradient gradient;
            gradient.setGradientType(type);
            gradient.setStartColor(rgbColor(10, 120, 200));
            gradient.setEndColor(rgbColor(10, 120, 200));
            gradient.PaintGradient(painter, area);
        }
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 41; ++x)
                ASSERT_EQ(image.pixel(x, y), qRgb(10, 120, 200)) << type << " at " << x << "," << y;
    }
}

TEST(TGradientTest, CentreTypesMirrorAndNeedTwoPixels)
{
    // Sides to centre over 7 columns: h = 3; column k and 6 - k share step
    // k of 3; the centre column has the end colour.
    const auto bands = TGradient::Bands(gts2c, rgbColor(0, 0, 0), rgbColor(90, 0, 0), QRect(0, 0, 7, 4));
    ASSERT_EQ(bands.size(), 8u);
    const std::vector<std::pair<int, int>> columnsAndRed = {{0, 0}, {6, 0}, {1, 30}, {5, 30},
                                                            {2, 60}, {4, 60}, {3, 90}, {3, 90}};
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].rect, QRect(columnsAndRed[i].first, 0, 1, 4)) << i;
        EXPECT_EQ(redOf(bands[i].color), columnsAndRed[i].second) << i;
    }
    EXPECT_TRUE(TGradient::Bands(gts2c, clBlack, clWhite, QRect(0, 0, 1, 50)).empty());
    EXPECT_TRUE(TGradient::Bands(gttb2c, clBlack, clWhite, QRect(0, 0, 50, 1)).empty());
    EXPECT_EQ(TGradient::Bands(gttb2c, clBlack, clWhite, QRect(0, 0, 50, 2)).size(), 4u);
    // An empty area draws nothing.
    EXPECT_TRUE(TGradient::Bands(gtl2r, clBlack, clWhite, QRect(0, 0, 0, 10)).empty());
    EXPECT_TRUE(TGradient::Bands(gtt2b, clBlack, clWhite, QRect(3, 3, 10, 0)).empty());
}

TEST(TGradientTest, LeftToRightPaintsFromStartToEndColour)
{
    QImage image(256, 3, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        TGradient gradient;
        gradient.setGradientType(gtl2r);
        gradient.setStartColor(rgbColor(255, 0, 0));
        gradient.setEndColor(rgbColor(0, 0, 255));
        gradient.PaintGradient(painter, image.rect());
    }
    // 256 columns: one per step.
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(255, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 1), qRgb(255 - MulDiv(100, 255, 255), 0, MulDiv(100, 255, 255)));
}

TEST(TGradientTest, SystemColoursAreUsedWithTheirStoredBytes)
{
    // clBtnFace is 0x8000000F: red 15, green 0, blue 0 as stored.
    const auto bands = TGradient::Bands(gtt2b, clBtnFace, clBtnFace, QRect(0, 0, 4, 4));
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().color, rgbColor(15, 0, 0));
}

} // namespace
} // namespace wharf
