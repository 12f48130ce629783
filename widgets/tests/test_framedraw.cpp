#include "framedraw.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace wharf {
namespace {

const QColor kMarker(255, 0, 255);

class FrameDrawTest : public ::testing::Test {
protected:
    FrameDrawTest()
    {
        // Every role the frames use gets its own colour.
        const std::pair<QPalette::ColorRole, QColor> roles[] = {
            {QPalette::Dark, QColor(10, 0, 0)},      {QPalette::Light, QColor(20, 0, 0)},
            {QPalette::ButtonText, QColor(30, 0, 0)}, {QPalette::Midlight, QColor(40, 0, 0)},
            {QPalette::Shadow, QColor(50, 0, 0)},
        };
        for (const auto &[role, colour] : roles)
            m_palette.setColor(QPalette::Active, role, colour);
        m_image.fill(kMarker);
    }

    QColor at(int x, int y) const { return QColor(m_image.pixel(x, y)); }
    QColor colour(TColor c) const { return toQColor(c, m_palette); }

    QPalette m_palette;
    QImage m_image{10, 8, QImage::Format_RGB32};
};

TEST_F(FrameDrawTest, SidesTakeTheirColoursAndTheLowerRightOneOwnsTwoCorners)
{
    QPainter painter(&m_image);
    const QRect inner = PaintFrameSides(painter, QRect(0, 0, 10, 8), clRed, clBlue, kAllSides, m_palette);
    painter.end();
    EXPECT_EQ(inner, QRect(1, 1, 8, 6));
    const QColor red(255, 0, 0), blue(0, 0, 255);
    EXPECT_EQ(at(0, 0), red);
    EXPECT_EQ(at(0, 6), red);
    EXPECT_EQ(at(8, 0), red);
    EXPECT_EQ(at(9, 0), blue); // top-right
    EXPECT_EQ(at(0, 7), blue); // bottom-left
    EXPECT_EQ(at(9, 7), blue);
    EXPECT_EQ(at(9, 3), blue);
    EXPECT_EQ(at(4, 7), blue);
    EXPECT_EQ(at(1, 1), kMarker);
    EXPECT_EQ(at(8, 6), kMarker);
}

TEST_F(FrameDrawTest, OnlyChosenSidesAreDrawnAndShrunk)
{
    QPainter painter(&m_image);
    const TSides sides = TSides(TSide::sdLeft) | TSide::sdBottom;
    const QRect inner = PaintFrameSides(painter, QRect(0, 0, 10, 8), clRed, clBlue, sides, m_palette);
    painter.end();
    EXPECT_EQ(inner, QRect(1, 0, 9, 7));
    EXPECT_EQ(at(0, 3), QColor(255, 0, 0));
    EXPECT_EQ(at(5, 7), QColor(0, 0, 255));
    EXPECT_EQ(at(5, 0), kMarker);
    EXPECT_EQ(at(9, 3), kMarker);
}

TEST_F(FrameDrawTest, RingsNestInward)
{
    QPainter painter(&m_image);
    EXPECT_EQ(DrawFrameRings(painter, QRect(0, 0, 10, 8), clRed, clRed, kAllSides, 0, m_palette), QRect(0, 0, 10, 8));
    EXPECT_EQ(DrawFrameRings(painter, QRect(0, 0, 10, 8), clRed, clRed, kAllSides, 2, m_palette), QRect(2, 2, 6, 4));
    painter.end();
    EXPECT_EQ(at(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(at(8, 6), QColor(255, 0, 0));
    EXPECT_EQ(at(2, 2), kMarker);
}

TEST_F(FrameDrawTest, ComboFrameStylesRingColoursAndInsets)
{
    struct Case {
        TFrameStyle style;
        int inset;
        TColor outerUpperLeft, outerLowerRight, innerUpperLeft, innerLowerRight; // inner only for two rings
    };
    const Case cases[] = {
        {TFrameStyle::fsFlat, 1, clWindowFrame, clWindowFrame, 0, 0},
        {TFrameStyle::fsStatus, 1, clBtnShadow, clBtnHighlight, 0, 0},
        {TFrameStyle::fsPopup, 1, clBtnHighlight, clBtnShadow, 0, 0},
        {TFrameStyle::fsLowered, 2, clBtnShadow, clBtnHighlight, clBtnText, cl3DLight},
        {TFrameStyle::fsRaised, 2, cl3DLight, clBtnText, clBtnHighlight, clBtnShadow},
        {TFrameStyle::fsButtonDown, 2, clBtnText, clBtnText, clBtnShadow, clBtnShadow},
        {TFrameStyle::fsButtonUp, 2, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
    };
    for (const Case &c : cases) {
        m_image.fill(kMarker);
        QPainter painter(&m_image);
        const QRect inner = PaintComboFrame(painter, QRect(0, 0, 10, 8), c.style, kAllSides, m_palette);
        painter.end();
        const int n = c.inset;
        EXPECT_EQ(inner, QRect(n, n, 10 - 2 * n, 8 - 2 * n)) << static_cast<int>(c.style);
        EXPECT_EQ(at(0, 4), colour(c.outerUpperLeft)) << static_cast<int>(c.style);
        EXPECT_EQ(at(9, 4), colour(c.outerLowerRight)) << static_cast<int>(c.style);
        if (n == 2) {
            EXPECT_EQ(at(4, 1), colour(c.innerUpperLeft)) << static_cast<int>(c.style);
            EXPECT_EQ(at(4, 6), colour(c.innerLowerRight)) << static_cast<int>(c.style);
        }
        EXPECT_EQ(at(n, n), kMarker) << static_cast<int>(c.style);
    }
    QPainter painter(&m_image);
    m_image.fill(kMarker);
    EXPECT_EQ(PaintComboFrame(painter, QRect(0, 0, 10, 8), TFrameStyle::fsNone, kAllSides, m_palette), QRect(0, 0, 10, 8));
    painter.end();
    EXPECT_EQ(at(0, 0), kMarker);
}

TEST_F(FrameDrawTest, GrooveAndBumpAreTwoOffsetFrames)
{
    for (bool groove : {true, false}) {
        m_image.fill(kMarker);
        QPainter painter(&m_image);
        const TFrameStyle style = groove ? TFrameStyle::fsGroove : TFrameStyle::fsBump;
        const QRect inner = PaintComboFrame(painter, QRect(0, 0, 10, 8), style, kAllSides, m_palette);
        painter.end();
        const QColor a = colour(groove ? clBtnShadow : clBtnHighlight);
        const QColor b = colour(groove ? clBtnHighlight : clBtnShadow);
        EXPECT_EQ(inner, QRect(2, 2, 6, 4));
        EXPECT_EQ(at(0, 3), a);
        EXPECT_EQ(at(1, 3), b);
        EXPECT_EQ(at(8, 3), a);
        EXPECT_EQ(at(9, 3), b);
        EXPECT_EQ(at(4, 0), a);
        EXPECT_EQ(at(4, 1), b);
        EXPECT_EQ(at(4, 6), a);
        EXPECT_EQ(at(4, 7), b);
        EXPECT_EQ(at(9, 0), b); // corner pixels of the chosen right and bottom sides
        EXPECT_EQ(at(0, 7), b);
        EXPECT_EQ(at(2, 2), kMarker);
    }

    // An open side: the ends of the top run are cut by the corner pixels.
    m_image.fill(kMarker);
    QPainter painter(&m_image);
    PaintComboFrame(painter, QRect(0, 0, 10, 8), TFrameStyle::fsGroove, TSides(TSide::sdTop), m_palette);
    painter.end();
    EXPECT_EQ(at(9, 0), colour(clBtnShadow));    // top without right
    EXPECT_EQ(at(0, 1), colour(clBtnHighlight)); // top without left
    EXPECT_EQ(at(5, 1), colour(clBtnHighlight));
    EXPECT_EQ(at(0, 3), kMarker);
}

TEST(FontItemHeightTest, IsTheTextHeightPlusTwo)
{
    const QFont font(QStringLiteral("DejaVu Sans"), 9);
    EXPECT_EQ(FontItemHeight(font), QFontMetrics(font).height() + 2);
}

} // namespace
} // namespace wharf
