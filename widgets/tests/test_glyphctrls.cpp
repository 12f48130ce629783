#include "glyphctrls.h"

#include "colors.h"
#include "fakeseams.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include <stdexcept>

namespace wharf {
namespace {

const QRgb kMagenta = qRgb(255, 0, 255);

QRgb rgbOf(TColor color) { return toQColor(color).rgb(); }

// A glyph strip of count images of size x size: image i is filled with
// colours[i] and has a black pixel at (1, 1) and a magenta one at (0, 0).
QImage strip(int size, const std::vector<QRgb> &colours)
{
    QImage image(size * static_cast<int>(colours.size()), size, QImage::Format_RGB32);
    for (size_t i = 0; i < colours.size(); ++i) {
        const int x0 = static_cast<int>(i) * size;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                image.setPixel(x0 + x, y, colours[i]);
        image.setPixel(x0 + 1, 1, qRgb(0, 0, 0));
        image.setPixel(x0, 0, kMagenta);
    }
    image.setPixel(0, size - 1, kMagenta); // bottom-left: the transparent colour
    return image;
}

QImage render(TGlyphSpeedButton &button)
{
    QImage image(button.size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    button.PaintButton(painter);
    return image;
}

TEST(CalcButtonLayoutTest, PlacesAGlyphWithoutCaption)
{
    const QFontMetrics metrics(QApplication::font());
    struct Case {
        QRect client;
        QSize glyph;
        TButtonLayout layout;
        int margin;
        int spacing;
        bool mark;
        QPoint glyphPos;
        QPoint markPos;
    };
    using L = TButtonLayout;
    const Case cases[] = {
        // Centred: margin = 25 / 2 - 16 / 2.
        {{0, 0, 25, 25}, {16, 16}, L::blGlyphTop, -1, 1, false, {4, 4}, {}},
        {{0, 0, 25, 25}, {16, 16}, L::blGlyphLeft, -1, -1, false, {4, 4}, {}}, // no caption: no spread
        {{0, 0, 30, 20}, {10, 10}, L::blGlyphLeft, 4, 1, false, {4, 5}, {}},
        {{0, 0, 30, 20}, {10, 10}, L::blGlyphRight, 4, 1, false, {16, 5}, {}},
        {{0, 0, 30, 20}, {10, 10}, L::blGlyphBottom, 2, 1, false, {10, 8}, {}},
        {{2, 3, 30, 20}, {10, 10}, L::blGlyphBottom, 2, 1, false, {12, 11}, {}},
        // The mark beside a glyph widens it by 6 and sits just right of it.
        {{0, 0, 40, 20}, {10, 10}, L::blGlyphTop, -1, 1, true, {12, 5}, {23, 10}},
        // Without glyph or caption the mark is centred.
        {{0, 0, 21, 17}, {0, 0}, L::blGlyphTop, -1, 1, true, {10, 8}, {7, 8}},
    };
    for (const Case &c : cases) {
        const ButtonLayout placed = CalcButtonLayout(c.client, c.glyph, QString(), metrics, c.layout, c.margin,
                                                     c.spacing, c.mark, false, Qt::AlignHCenter);
        EXPECT_EQ(placed.glyphPos, c.glyphPos) << static_cast<int>(c.layout) << " " << c.client.x();
        if (c.mark) {
            EXPECT_EQ(placed.markPos, c.markPos) << static_cast<int>(c.layout);
        }
        EXPECT_TRUE(placed.caption.isEmpty());
    }
}

TEST(CalcButtonLayoutTest, SpreadsFreeRoomInThreeAndKeepsRoomForTheMark)
{
    const QFontMetrics metrics(QApplication::font());
    const QString caption = QStringLiteral("Open");
    const QRect measured = metrics.boundingRect(QRect(0, 0, 100, 0), Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    const int tw = measured.width();
    const int th = measured.height();

    // Margin -1 and spacing -1: outer, between and outer room are equal.
    ButtonLayout placed = CalcButtonLayout(QRect(0, 0, 120, 24), QSize(16, 16), caption, metrics,
                                           TButtonLayout::blGlyphLeft, -1, -1, false, false, Qt::AlignHCenter);
    const int third = (120 - 16 - tw) / 3;
    EXPECT_EQ(placed.glyphPos, QPoint(third, 4));
    EXPECT_EQ(placed.textBounds, QRect(third + 16 + third, 12 - th / 2, tw, th));
    EXPECT_EQ(placed.caption, caption);

    // Margin given, spacing -1: the text is centred in what is left.
    placed = CalcButtonLayout(QRect(0, 0, 120, 24), QSize(16, 16), caption, metrics, TButtonLayout::blGlyphRight,
                              3, -1, false, false, Qt::AlignHCenter);
    const int spacing = (120 - (3 + 16)) / 2 - tw / 2;
    EXPECT_EQ(placed.glyphPos.x(), 120 - 3 - 16);
    EXPECT_EQ(placed.textBounds.x(), 120 - 3 - 16 - spacing - tw);

    // A mark beside the caption: 9 pixels of room, drawn 3 past the text.
    placed = CalcButtonLayout(QRect(0, 0, 120, 24), QSize(), caption, metrics, TButtonLayout::blGlyphLeft, -1, 1,
                              true, false, Qt::AlignHCenter);
    const int left = 120 / 2 - (tw + 9) / 2;
    EXPECT_EQ(placed.textBounds.x(), left);
    EXPECT_EQ(placed.markPos, QPoint(left + tw + 3, 12 - th / 2 + th / 2));
}

TEST(CalcButtonLayoutTest, ShortensACaptionThatDoesNotFit)
{
    const QFontMetrics metrics(QApplication::font());
    const QString caption = QStringLiteral("Properties of the selected file");
    const ButtonLayout placed = CalcButtonLayout(QRect(0, 0, 60, 20), QSize(), caption, metrics,
                                                 TButtonLayout::blGlyphTop, -1, 1, false, false, Qt::AlignHCenter);
    EXPECT_TRUE(placed.caption.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(caption.startsWith(placed.caption.chopped(3)));
    EXPECT_LE(placed.textBounds.width(), 60);

    const ButtonLayout none = CalcButtonLayout(QRect(0, 0, 2, 20), QSize(), caption, metrics,
                                               TButtonLayout::blGlyphTop, -1, 1, false, false, Qt::AlignHCenter);
    EXPECT_EQ(none.caption, QStringLiteral("..."));
    EXPECT_EQ(none.textBounds.width(), 2); // clipped to the room

    const ButtonLayout wrapped = CalcButtonLayout(QRect(0, 0, 60, 200), QSize(), caption, metrics,
                                                  TButtonLayout::blGlyphTop, -1, 1, false, true, Qt::AlignHCenter);
    EXPECT_EQ(wrapped.caption, caption);
    EXPECT_GT(wrapped.textBounds.height(), metrics.height());
}

TEST(GlyphImageTest, TransformsAreExact)
{
    const QRgb face = rgbOf(clBtnFace);
    struct Grey {
        QRgb in;
        QRgb out;
    };
    for (const Grey &g : {Grey{kMagenta, kMagenta}, Grey{face, face}, Grey{qRgb(255, 0, 0), qRgb(76, 76, 76)},
                          Grey{qRgb(255, 255, 255), qRgb(255, 255, 255)}, Grey{qRgb(10, 20, 30), qRgb(18, 18, 18)}})
        EXPECT_EQ(GrayedColor(g.in, kMagenta, face), g.out) << std::hex << g.in;

    struct Count {
        QSize size;
        int expected;
    };
    for (const Count &c : {Count{{48, 16}, 3}, Count{{112, 16}, 1}, Count{{80, 16}, 5}, Count{{50, 16}, 2},
                           Count{{16, 0}, 2}, Count{{0, 16}, 1}})
        EXPECT_EQ(DetectNumGlyphs(c.size, 2), c.expected) << c.size.width() << "x" << c.size.height();
}

TEST(GlyphImageTest, OneImageServesEveryLook)
{
    TButtonGlyph glyph;
    glyph.setGlyph(strip(4, {qRgb(255, 0, 0)}));
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    EXPECT_EQ(glyph.TransparentColor(), kMagenta);
    const QImage up = glyph.GlyphImage(TButtonPaintState::psUp);
    EXPECT_EQ(up.size(), QSize(4, 4));
    EXPECT_EQ(qAlpha(up.pixel(0, 0)), 0); // magenta is clear
    EXPECT_EQ(up.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psDown), up);

    // Disabled: the black pixel embossed, highlight one down and right.
    const QImage disabled = glyph.GlyphImage(TButtonPaintState::psDisabled);
    EXPECT_EQ(disabled.pixel(1, 1), rgbOf(clBtnShadow));
    EXPECT_EQ(disabled.pixel(2, 2), rgbOf(clBtnHighlight));
    EXPECT_EQ(qAlpha(disabled.pixel(3, 3)), 0); // the face is clear

    const QImage inactive = glyph.GlyphImage(TButtonPaintState::psInactive);
    EXPECT_EQ(inactive.pixel(2, 2), qRgb(76, 76, 76));
    EXPECT_EQ(qAlpha(inactive.pixel(0, 0)), 0);
}

TEST(GlyphImageTest, LooksUseTheirOwnImages)
{
    const QRgb up = qRgb(200, 0, 0);
    const QRgb disabled = qRgb(0, 200, 0);
    const QRgb down = qRgb(0, 0, 200);
    const QRgb exclusive = qRgb(200, 200, 0);
    const QRgb inactive = qRgb(0, 200, 200);
    TButtonGlyph glyph;
    glyph.setGlyph(strip(4, {up, disabled, down}));
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psDown).pixel(2, 2), down);
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psDisabled).pixel(2, 2), disabled);
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psExclusive).pixel(2, 2), up);

    glyph.setGlyph(strip(4, {up, disabled, down, exclusive, inactive}));
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psExclusive).pixel(2, 2), exclusive);
    EXPECT_EQ(glyph.GlyphImage(TButtonPaintState::psInactive).pixel(2, 2), inactive);
    glyph.setNumGlyphs(9);
    EXPECT_EQ(glyph.NumGlyphs(), 5);
    glyph.setNumGlyphs(0);
    EXPECT_EQ(glyph.NumGlyphs(), 5);
    glyph.setGlyph(QImage());
    EXPECT_TRUE(glyph.GlyphImage(TButtonPaintState::psUp).isNull());
}

TEST(DrawButtonFrameTest, FramesFollowTheTable)
{
    struct Case {
        bool down;
        bool newStyle;
        bool flat;
        TColor outerTopLeft;
        TColor outerBottomRight;
        TColor innerTopLeft; // clNone: nothing inside the first frame
        TColor innerBottomRight; // clNone: no second frame
        QRect inside;
    };
    const QRect oneFrame(2, 2, 6, 4);
    const QRect twoFrames(3, 3, 4, 2);
    const Case cases[] = {
        {true, true, true, clWindowFrame, clBtnHighlight, clNone, clNone, oneFrame},
        {true, true, false, clWindowFrame, clBtnHighlight, clBtnShadow, clBtnFace, twoFrames},
        {true, false, true, clWindowFrame, clBtnHighlight, clNone, clNone, oneFrame},
        {true, false, false, clWindowFrame, clWindowFrame, clBtnShadow, clNone, oneFrame}, // a shadow line
        {false, true, true, clBtnHighlight, clBtnShadow, clNone, clNone, oneFrame},
        {false, true, false, clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow, twoFrames},
        {false, false, true, clBtnHighlight, clWindowFrame, clNone, clNone, oneFrame},
        {false, false, false, clWindowFrame, clWindowFrame, clBtnHighlight, clBtnShadow, twoFrames},
    };
    const QPalette palette = QApplication::palette();
    for (const Case &c : cases) {
        QImage image(10, 8, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        QRect inside;
        {
            QPainter painter(&image);
            inside = DrawButtonFrame(painter, QRect(0, 0, 10, 8), c.down, c.newStyle, c.flat, palette);
        }
        const bool two = c.innerTopLeft != clNone;
        EXPECT_EQ(inside, c.inside);
        EXPECT_EQ(image.pixel(0, 0), rgbOf(c.outerTopLeft));
        EXPECT_EQ(image.pixel(0, 6), rgbOf(c.outerTopLeft));
        EXPECT_EQ(image.pixel(0, 7), rgbOf(c.outerBottomRight)); // the corners go to bottom and right
        EXPECT_EQ(image.pixel(9, 0), rgbOf(c.outerBottomRight));
        if (two) {
            EXPECT_EQ(image.pixel(1, 1), rgbOf(c.innerTopLeft));
            const QRgb inner = c.innerBottomRight != clNone ? rgbOf(c.innerBottomRight) : qRgb(1, 2, 3);
            EXPECT_EQ(image.pixel(8, 6), inner); // without a second frame only a left and top line
        } else {
            EXPECT_EQ(image.pixel(1, 1), qRgb(1, 2, 3));
        }
    }
}

TEST(TGlyphSpeedButtonTest, DownLatchesOnlyInAGroup)
{
    QWidget parent;
    auto *a = new TGlyphSpeedButton(&parent);
    auto *b = new TGlyphSpeedButton(&parent);
    a->setDown(true);
    EXPECT_FALSE(a->Down()); // no group

    a->setGroupIndex(1);
    b->setGroupIndex(1);
    a->setDown(true);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->PaintState(), TButtonPaintState::psExclusive);
    a->setDown(false); // AllowAllUp false: stays down
    EXPECT_TRUE(a->Down());
    b->setDown(true); // another member going down raises it
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->PaintState(), TButtonPaintState::psUp);

    b->setAllowAllUp(true); // told to the group
    EXPECT_TRUE(a->AllowAllUp());
    b->setDown(false);
    EXPECT_FALSE(b->Down());
}

TEST(TGlyphSpeedButtonTest, PressAndReleaseClickOnlyInside)
{
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent);
    int clicks = 0;
    button->OnClick = [&](TGlyphSpeedButton *) { ++clicks; };

    button->MouseDown(Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psDown);
    button->MouseMove({}, QPoint(40, 5));
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psUp);
    button->MouseMove({}, QPoint(5, 25)); // the bottom row counts as inside
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psDown);
    button->MouseUp(Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psUp);

    button->MouseDown(Qt::LeftButton, {}, QPoint(5, 5));
    button->MouseUp(Qt::LeftButton, {}, QPoint(-3, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psUp);

    // In a group a click inside latches; outside the state comes back.
    button->setGroupIndex(2);
    button->MouseDown(Qt::LeftButton, {}, QPoint(5, 5));
    button->MouseUp(Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psExclusive);
    button->MouseDown(Qt::LeftButton, {}, QPoint(5, 5));
    button->MouseUp(Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psExclusive);
    EXPECT_EQ(clicks, 2);

    button->setEnabled(false);
    button->MouseDown(Qt::LeftButton, {}, QPoint(5, 5));
    button->MouseUp(Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 2);
}

TEST(TGlyphSpeedButtonTest, ClickGivesTheDialogItsResult)
{
    QDialog dialog;
    auto *button = new TGlyphSpeedButton(&dialog);
    button->setModalResult(QDialog::Accepted);
    button->Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    button->setModalResult(0);
    button->Click();
    EXPECT_EQ(dialog.result(), 0);
}

TEST(TGlyphSpeedButtonTest, RepeatsWhileHeldAndStopsOnAFailure)
{
    testing::FakeSeams fake;
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent, fake.seams());
    button->setAllowTimer(true);
    int clicks = 0;
    bool fail = false;
    button->OnClick = [&](TGlyphSpeedButton *) {
        ++clicks;
        if (fail)
            throw std::runtime_error("Disk full");
    };
    button->MouseDown(Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_NE(button->RepeatTimer(), nullptr);
    EXPECT_TRUE(button->RepeatTimer()->isActive());
    EXPECT_EQ(button->RepeatTimer()->interval(), 500);
    button->RepeatTimerTimer();
    EXPECT_EQ(button->RepeatTimer()->interval(), 100);
    EXPECT_EQ(clicks, 1);

    fail = true;
    EXPECT_NO_THROW(button->RepeatTimerTimer());
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button->RepeatTimer()->isActive());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Disk full"));

    fail = false;
    button->MouseUp(Qt::LeftButton, {}, QPoint(40, 40));
    button->RepeatTimerTimer(); // released: no more clicks
    EXPECT_EQ(clicks, 2);
    button->setAllowTimer(false);
    EXPECT_EQ(button->RepeatTimer(), nullptr);
}

TEST(TGlyphSpeedButtonTest, APressOpensTheDropDownMenu)
{
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent);
    button->resize(30, 22);
    int clicks = 0;
    button->OnClick = [&](TGlyphSpeedButton *) { ++clicks; };
    EXPECT_EQ(button->MenuPoint(), QPoint(0, 0));
    {
        QMenu menu;
        menu.addAction(QStringLiteral("First"));
        button->setDropDownMenu(&menu);
        EXPECT_EQ(button->MenuPoint(), QPoint(-1, 22));
        button->setMenuPosition(TDropDownMenuPos::dmpRight);
        EXPECT_EQ(button->MenuPoint(), QPoint(30, -1));

        button->MouseDown(Qt::LeftButton, {}, QPoint(4, 4));
        EXPECT_TRUE(menu.isVisible());
        EXPECT_TRUE(button->MenuTracking());
        button->MouseDown(Qt::LeftButton, {}, QPoint(4, 4)); // ignored while it is open
        menu.hide();
        EXPECT_FALSE(button->MenuTracking());
        EXPECT_EQ(button->PaintState(), TButtonPaintState::psUp);
        EXPECT_EQ(clicks, 0); // the menu was the answer to the press
    }
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST(TGlyphSpeedButtonTest, AnOpenDropDownMenuIsNotRepeatedlyClicked)
{
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent);
    button->resize(30, 22);
    button->setAllowTimer(true);
    int clicks = 0;
    button->OnClick = [&](TGlyphSpeedButton *) { ++clicks; };
    QMenu menu;
    menu.addAction(QStringLiteral("First"));
    button->setDropDownMenu(&menu);

    button->MouseDown(Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(button->MenuTracking());
    ASSERT_NE(button->RepeatTimer(), nullptr);
    // The press opened the menu; while the author picks from it the held
    // button does not click on its own.
    button->RepeatTimerTimer();
    button->RepeatTimerTimer();
    EXPECT_EQ(clicks, 0);
    menu.hide();
    button->RepeatTimerTimer();
    EXPECT_EQ(clicks, 0);
    button->setDropDownMenu(nullptr);
}

TEST(TGlyphSpeedButtonTest, PaintsItsLooks)
{
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent);
    button->resize(24, 24);
    button->setGlyph(strip(8, {qRgb(255, 0, 0)}));
    button->setGroupIndex(1);
    button->setDown(true);
    QImage image = render(*button);
    // Latched: the checkered face and highlight inside the sunken frames.
    EXPECT_EQ(image.pixel(0, 0), rgbOf(clWindowFrame));
    const QRgb a = image.pixel(2, 3);
    const QRgb b = image.pixel(3, 3);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == rgbOf(clBtnFace) && b == rgbOf(clBtnHighlight)) ||
                (b == rgbOf(clBtnFace) && a == rgbOf(clBtnHighlight)));
    // The glyph (8 x 8, centred, shifted by one when down).
    EXPECT_EQ(image.pixel(8 + 1 + 3, 8 + 1 + 3), qRgb(255, 0, 0));

    button->setEnabled(false);
    image = render(*button);
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psDisabled);
    EXPECT_EQ(image.pixel(8 + 1, 8 + 1), rgbOf(clBtnShadow)); // the embossed black pixel
    button->setEnabled(true);
    render(*button);
    EXPECT_EQ(button->PaintState(), TButtonPaintState::psExclusive);

    button->setDown(false);
    button->setAllowAllUp(true);
    button->setDown(false);
    button->setFlat(true);
    image = render(*button);
    EXPECT_EQ(image.pixel(0, 0), rgbOf(clBtnFace)); // no frame while the mouse is away
    EXPECT_EQ(image.pixel(8 + 3, 8 + 3), qRgb(76, 76, 76)); // grey while inactive
    EXPECT_FALSE(button->grab().isNull());
}

TEST(TGlyphSpeedButtonTest, FollowsAnAction)
{
    QWidget parent;
    auto *button = new TGlyphSpeedButton(&parent);
    QAction action(QStringLiteral("&Bold"));
    action.setCheckable(true);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    button->setGroupIndex(3);
    button->setAllowAllUp(true);
    button->setAction(&action);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Bold"));
    action.setChecked(true);
    EXPECT_TRUE(button->Down());
    action.setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    action.setEnabled(true);
    button->Click();
    EXPECT_EQ(triggered, 1);
}

} // namespace
} // namespace wharf
