#include "gradientfill.h"

#include "muldiv.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <limits>

namespace wharf {
namespace {

// A colour no gradient below produces: what is still this colour after a
// paint was not covered by it.
const QColor kMarker(255, 0, 255);

QImage render(const GradientFillLook &look, int w, int h)
{
    QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    PaintGradientFill(painter, QSize(w, h), look);
    return image;
}

GradientFillLook lookOf(TGradientStyle style, TColor begin = clBlack, TColor end = clWhite, int steps = 255)
{
    GradientFillLook look;
    look.style = style;
    look.beginColor = begin;
    look.endColor = end;
    look.steps = steps;
    return look;
}

QColor at(const QImage &image, int x, int y) { return QColor(image.pixel(x, y)); }

int uncovered(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += at(image, x, y) == kMarker;
    return count;
}

TEST(GradientStepColorTest, TruncatesEachStoredChannel)
{
    // Blue falls from 255 to 0 over 255 steps; red rises from 0 to 100.
    const TColor begin = rgbColor(0, 7, 255);
    const TColor end = rgbColor(100, 7, 0);
    EXPECT_EQ(GradientStepColor(begin, end, 0, 255), begin);
    EXPECT_EQ(GradientStepColor(begin, end, 255, 255), end);
    EXPECT_EQ(GradientStepColor(begin, end, 129, 255), rgbColor(50, 7, 126)); // 129*100/255 = 50.6
    EXPECT_EQ(GradientStepColor(begin, end, 1, 3), rgbColor(33, 7, 170));     // -85 truncated toward zero
    EXPECT_EQ(GradientStepColor(begin, end, 5, 0), begin);                    // no divisor: the begin colour
    // A system colour's low bytes are used as they are stored.
    EXPECT_EQ(GradientStepColor(clBtnFace, clBlack, 0, 10), rgbColor(15, 0, 0));
}

TEST(GradientFillTest, VerticalBandsOfTheLayoutPreview)
{
    // 181 x 121 with 255 steps, blue to black: 256 bands of 0 or 1 rows.
    const QImage image = render(lookOf(TGradientStyle::gsVertical, clBlue, clBlack), 181, 121);
    for (int y = 0; y < 121; ++y) {
        // The last band that starts on row y is the one left visible there.
        int band = 0;
        for (int k = 0; k <= 255; ++k)
            if (MulDivTrunc(k, 121, 256) == y)
                band = k;
        const QColor expected(0, 0, 255 - band);
        ASSERT_EQ(at(image, 0, y), expected) << "row " << y;
        ASSERT_EQ(at(image, 180, y), expected) << "row " << y;
    }
    EXPECT_EQ(at(image, 90, 0), QColor(0, 0, 253));  // bands 0 to 2 start on row 0
    EXPECT_EQ(at(image, 90, 60), QColor(0, 0, 126)); // bands 127 to 129 start on row 60
    EXPECT_EQ(at(image, 90, 120), QColor(0, 0, 0));  // the end colour exactly
}

TEST(GradientFillTest, HorizontalBandsSplitTheWidth)
{
    // 4 bands over 10 columns: 0-1, 2-4, 5-6, 7-9.
    const QImage image = render(lookOf(TGradientStyle::gsHorizontal, clBlack, clRed, 3), 10, 4);
    const int expected[10] = {0, 0, 85, 85, 85, 170, 170, 255, 255, 255};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(at(image, x, 3), QColor(expected[x], 0, 0)) << "column " << x;
}

TEST(GradientFillTest, CentreStylesMirrorAboutTheMiddle)
{
    const QImage rows = render(lookOf(TGradientStyle::gsVertCenter, clBlack, clWhite), 6, 11);
    const QImage columns = render(lookOf(TGradientStyle::gsHorizCenter, clBlack, clWhite), 11, 6);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(at(rows, 2, i), at(rows, 2, 10 - i)) << i;
        EXPECT_EQ(at(columns, i, 2), at(columns, 10 - i, 2)) << i;
        EXPECT_EQ(at(rows, 2, i), at(columns, i, 2)) << i;
    }
    EXPECT_EQ(at(rows, 0, 0), QColor(0, 0, 0));
    EXPECT_EQ(at(rows, 0, 1), QColor(51, 51, 51)); // step 1 of 5
    EXPECT_EQ(at(rows, 0, 5), QColor(255, 255, 255));
    EXPECT_EQ(uncovered(rows), 0);
}

TEST(GradientFillTest, RectanglesLeaveAMarginAndShrinkToTheCentre)
{
    // 4 steps on 40 x 40: each rectangle is 5 pixels in from the last.
    const QImage image = render(lookOf(TGradientStyle::gsRectangle, clBlack, rgbColor(0, 200, 0), 4), 40, 40);
    EXPECT_EQ(at(image, 4, 20), kMarker); // the margin in front of the first rectangle
    EXPECT_EQ(at(image, 20, 4), kMarker);
    EXPECT_EQ(at(image, 5, 5), QColor(0, 0, 0));
    EXPECT_EQ(at(image, 36, 36), QColor(0, 0, 0)); // the first rectangle ends at 42 - 5
    EXPECT_EQ(at(image, 37, 20), kMarker);
    EXPECT_EQ(at(image, 10, 20), QColor(0, 50, 0));
    EXPECT_EQ(at(image, 20, 20), QColor(0, 150, 0)); // step 3; step 4 is empty
}

TEST(GradientFillTest, EllipsesRunFromTheCornersToTheCentre)
{
    const QImage image = render(lookOf(TGradientStyle::gsElliptic, clBlack, clWhite, -5), 120, 80);
    EXPECT_EQ(uncovered(image), 0); // Steps is not used, even when negative
    EXPECT_LT(at(image, 0, 0).red(), 30);
    EXPECT_GT(at(image, 61, 41).red(), 240);
    EXPECT_LT(at(image, 30, 40).red(), at(image, 45, 40).red());
}

TEST(GradientFillTest, RadialStylesCoverTheAreaFromAnyStartAngle)
{
    for (TGradientStyle style : {TGradientStyle::gsRadial1, TGradientStyle::gsRadial2})
        for (int angle : {0, 45, 137, -90, 400, std::numeric_limits<int>::max()})
            for (QSize size : {QSize(181, 121), QSize(50, 170), QSize(13, 9)}) {
                GradientFillLook look = lookOf(style);
                look.startAngle = angle;
                const QImage image = render(look, size.width(), size.height());
                EXPECT_EQ(uncovered(image), 0)
                    << static_cast<int>(style) << " angle " << angle << " " << size.width() << "x" << size.height();
            }
}

TEST(GradientFillTest, RadialSweepsStartAtTheStartAngle)
{
    GradientFillLook look = lookOf(TGradientStyle::gsRadial1);
    const QImage one = render(look, 200, 200);
    EXPECT_LT(at(one, 101, 5).red(), 8);    // straight up: the begin colour
    EXPECT_GT(at(one, 100, 195).red(), 245); // half way round: almost the end colour
    EXPECT_NEAR(at(one, 195, 100).red(), 127, 8);
    EXPECT_NEAR(at(one, 5, 100).red(), 127, 8);

    look.style = TGradientStyle::gsRadial2;
    const QImage two = render(look, 200, 200);
    EXPECT_LT(at(two, 101, 5).red(), 8);
    EXPECT_LT(at(two, 100, 195).red(), 20); // the second sweep starts at the bottom
    EXPECT_GT(at(two, 195, 100).red(), 240);

    look.startAngle = 90; // now the begin colour points right
    const QImage turned = render(look, 200, 200);
    EXPECT_LT(at(turned, 195, 99).red(), 20);
    EXPECT_GT(at(turned, 100, 195).red(), 240);
}

TEST(GradientFillTest, DegenerateStepsAndSizesDrawSomethingDefined)
{
    struct Case {
        TGradientStyle style;
        int steps, w, h;
        bool covered; // false: nothing is drawn
    };
    const Case cases[] = {
        {TGradientStyle::gsHorizontal, 0, 9, 4, true},  {TGradientStyle::gsVertical, 0, 9, 4, true},
        {TGradientStyle::gsRectangle, 0, 9, 4, true},   {TGradientStyle::gsHorizontal, -1, 9, 4, false},
        {TGradientStyle::gsVertical, -7, 9, 4, false},  {TGradientStyle::gsRectangle, -1, 9, 4, false},
        {TGradientStyle::gsVertCenter, 255, 9, 1, true}, {TGradientStyle::gsHorizCenter, 255, 1, 9, true},
    };
    for (const Case &c : cases) {
        const QImage image = render(lookOf(c.style, clRed, clBlue, c.steps), c.w, c.h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(at(image, x, y), c.covered ? QColor(255, 0, 0) : kMarker)
                    << static_cast<int>(c.style) << " steps " << c.steps << " at " << x << "," << y;
    }
    // No style divides by a zero or one pixel extent.
    for (int style = 0; style <= static_cast<int>(TGradientStyle::gsRadial2); ++style)
        for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(1, 30), QSize(30, 1), QSize(2, 2), QSize(0, 5)})
            for (int steps : {-1, 0, 1, 255})
                render(lookOf(static_cast<TGradientStyle>(style), clRed, clBlue, steps), size.width(), size.height());
}

TEST(GradientFillTest, SunkenFrameRingsAroundTheGradient)
{
    GradientFillLook look = lookOf(TGradientStyle::gsVertical, clRed, clRed);
    look.ctl3D = true;
    const QImage image = render(look, 20, 10);
    const QColor grey(128, 128, 128), white(255, 255, 255), black(0, 0, 0), silver(192, 192, 192);
    EXPECT_EQ(at(image, 0, 0), grey);
    EXPECT_EQ(at(image, 10, 0), grey);
    EXPECT_EQ(at(image, 0, 5), grey);
    EXPECT_EQ(at(image, 19, 0), white); // the lower-right colour takes both far corners
    EXPECT_EQ(at(image, 0, 9), white);
    EXPECT_EQ(at(image, 19, 5), white);
    EXPECT_EQ(at(image, 10, 9), white);
    EXPECT_EQ(at(image, 1, 1), black);
    EXPECT_EQ(at(image, 10, 1), black);
    EXPECT_EQ(at(image, 1, 5), black);
    EXPECT_EQ(at(image, 18, 5), silver);
    EXPECT_EQ(at(image, 10, 8), silver);
    EXPECT_EQ(at(image, 18, 1), silver);
    EXPECT_EQ(at(image, 2, 2), QColor(255, 0, 0));
    EXPECT_EQ(at(image, 17, 7), QColor(255, 0, 0));
}

TEST(TGradientFillTest, RendersOnlyWhenSomethingChanged)
{
    TGradientFill fill;
    EXPECT_EQ(fill.size(), QSize(75, 75));
    EXPECT_EQ(fill.BeginColor(), clNavy);
    EXPECT_EQ(fill.EndColor(), clAqua);
    EXPECT_EQ(fill.GradientStyle(), TGradientStyle::gsVertical);
    EXPECT_EQ(fill.Steps(), 255);
    EXPECT_TRUE(fill.dirty());

    fill.resize(181, 121);
    const QImage first = fill.grab().toImage();
    EXPECT_EQ(fill.renderCount(), 1);
    EXPECT_FALSE(fill.dirty());
    EXPECT_EQ(QColor(first.pixel(0, 0)), QColor(0, 2, 128)); // band 2 of 255 is the last on row 0
    EXPECT_EQ(QColor(first.pixel(0, 120)), QColor(0, 255, 255));

    fill.grab();
    EXPECT_EQ(fill.renderCount(), 1); // a plain copy of the kept bitmap

    // Equal values change nothing.
    fill.SetBeginColor(clNavy);
    fill.SetEndColor(clAqua);
    fill.SetSteps(255);
    fill.SetGradientStyle(TGradientStyle::gsVertical);
    fill.SetStartAngle(0);
    fill.SetCtl3D(false);
    EXPECT_FALSE(fill.dirty());
    fill.grab();
    EXPECT_EQ(fill.renderCount(), 1);

    fill.SetBeginColor(clBlue);
    EXPECT_TRUE(fill.dirty());
    const QImage second = fill.grab().toImage();
    EXPECT_EQ(fill.renderCount(), 2);
    EXPECT_EQ(QColor(second.pixel(0, 0)), QColor(0, 2, 255));

    fill.resize(100, 50); // a new size renders again
    EXPECT_EQ(fill.grab().size(), QSize(100, 50));
    EXPECT_EQ(fill.renderCount(), 3);
    EXPECT_EQ(fill.bitmap().size(), QSize(100, 50));
}

TEST(TGradientFillTest, UncoveredMarginShowsWhiteNotAnEarlierPicture)
{
    TGradientFill fill;
    fill.resize(40, 40);
    fill.SetBeginColor(clRed);
    fill.grab();
    fill.SetGradientStyle(TGradientStyle::gsRectangle);
    fill.SetSteps(4);
    const QImage image = fill.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(255, 0, 0));
}

TEST(TGradientFillTest, PassesMouseAndKeyboardOn)
{
    TGradientFill fill;
    EXPECT_TRUE(fill.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(fill.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(fill.testAttribute(Qt::WA_OpaquePaintEvent));
}

} // namespace
} // namespace wharf
