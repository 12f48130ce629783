#include "navbarheader.h"

#include "imagelist.h"
#include "navbar.h"
#include "navbar_events.h"
#include "navbardemo.h"
#include "navbarpaint.h"
#include "navbutton.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

namespace wharf {
namespace {

using namespace navtest;

// The editor's bar only 330 pixels high, so that the open first header
// (101 pixels) cannot show its three buttons.
class NavBarHeaderTest : public ::testing::Test {
protected:
    NavBarHeaderTest()
    {
        m_window.setAttribute(Qt::WA_DontShowOnScreen);
        m_window.resize(300, 330);
        bar->setGeometry(0, 0, 185, 330);
        m_window.show();
    }

    TNavBarHeader *header(int i) const { return m_nav.headers[static_cast<size_t>(i)]; }
    TNavButton *button(int i) const { return m_nav.buttons[static_cast<size_t>(i)]; }

    QWidget m_window;
    testing::EditorNavBar m_nav{&m_window};
    TNavBar *bar = m_nav.bar;
};

TEST_F(NavBarHeaderTest, ScrollingMovesByOneAndStopsAtBothEnds)
{
    TNavBarHeader *h = header(0);
    ASSERT_EQ(h->size(), QSize(181, 101));
    int scrolls = 0;
    h->OnScroll = [&](TNavBarHeader *) { ++scrolls; };
    TScrollButton *up = h->ScrollUpButton();
    TScrollButton *down = h->ScrollDownButton();
    EXPECT_EQ(up->pos(), QPoint(181 - 16 - 1, 25 + 1));
    EXPECT_EQ(down->pos(), QPoint(181 - 16 - 1, 101 - 16 - 1));
    EXPECT_EQ(up->ArrowStyle(), navbar::asUp);
    EXPECT_EQ(down->ArrowStyle(), navbar::asDown);
    EXPECT_TRUE(up->isHidden());
    EXPECT_FALSE(down->isHidden());

    down->click();
    EXPECT_EQ(h->FirstVisibleButton(), 1);
    // The button scrolled past keeps its place under the next one.
    EXPECT_EQ(button(0)->pos(), QPoint(36, 30));
    EXPECT_EQ(button(1)->pos(), QPoint(36, 30));
    EXPECT_EQ(button(2)->pos(), QPoint(36, 92));
    EXPECT_FALSE(up->isHidden());
    EXPECT_FALSE(down->isHidden());

    down->click();
    EXPECT_EQ(button(2)->pos(), QPoint(36, 30));
    EXPECT_TRUE(down->isHidden()); // the last button fits now
    h->SettingsChanged(down);
    EXPECT_EQ(h->FirstVisibleButton(), 2); // not past the last button
    EXPECT_EQ(scrolls, 3);

    for (int i = 0; i < 3; ++i)
        h->SettingsChanged(up);
    EXPECT_EQ(h->FirstVisibleButton(), 0);
    EXPECT_EQ(scrolls, 6);
    EXPECT_EQ(button(1)->pos(), QPoint(36, 92));
    EXPECT_EQ(button(2)->pos(), QPoint(36, 154));
    EXPECT_TRUE(up->isHidden());
}

TEST_F(NavBarHeaderTest, CheckScrollIsAskedOnlyWithoutAutoScroll)
{
    TNavBarHeader *h = header(0);
    int asked = 0;
    bool automatic = false;
    h->OnCheckScroll = [&](TNavBarHeader *, bool &upNeed, bool &downNeed, bool &isAutomatic) {
        ++asked;
        upNeed = true;
        downNeed = false;
        isAutomatic = automatic;
    };
    h->ArrangeButtons();
    EXPECT_EQ(asked, 0);

    bar->HeaderSettings().setAutoScroll(false);
    EXPECT_GT(asked, 0);
    EXPECT_FALSE(h->ScrollUpButton()->isHidden());
    EXPECT_TRUE(h->ScrollDownButton()->isHidden());

    // Automatic puts the computed visibility back.
    automatic = true;
    h->ArrangeButtons();
    EXPECT_TRUE(h->ScrollUpButton()->isHidden());
    EXPECT_FALSE(h->ScrollDownButton()->isHidden());
}

TEST_F(NavBarHeaderTest, SortFollowsButtonIndexUnlessRefused)
{
    TNavBarHeader *h = header(3); // three buttons
    bar->SetActiveHeader(h);
    int sorts = 0;
    h->OnSort = [&](TNavBarHeader *) { ++sorts; };
    TNavButton *last = button(8);
    ASSERT_EQ(last->ButtonIndex(), 2);
    last->setButtonIndex(0);
    EXPECT_GT(sorts, 0);
    EXPECT_EQ(last->pos(), QPoint(36, 30));
    EXPECT_EQ(button(6)->ButtonIndex(), 1);
    EXPECT_EQ(button(6)->pos(), QPoint(36, 92));
    EXPECT_EQ(h->ButtonByIndex(0), last);

    // A hidden button takes no place.
    button(6)->hide();
    EXPECT_EQ(button(7)->pos(), QPoint(36, 92));

    h->OnCanSort = [](TNavBarHeader *, bool &canSort) { canSort = false; };
    last->setButtonIndex(9);
    EXPECT_EQ(last->ButtonIndex(), 2);
    EXPECT_EQ(last->pos(), QPoint(36, 30)); // not moved
}

TEST(TNavBarHeaderAloneTest, WithoutABarTheCaptionIs22HighAndNothingIsSorted)
{
    TNavBarHeader header;
    header.resize(120, 200);
    auto *other = new QWidget(&header);
    auto *a = new TNavButton(&header);
    auto *b = new TNavButton(&header);
    a->move(7, 8);
    b->move(9, 100);
    EXPECT_EQ(header.OwnerBar(), nullptr);
    EXPECT_EQ(header.CaptionHeight(), 22);
    EXPECT_EQ(header.ButtonCount(), 2);
    header.ArrangeButtons();
    EXPECT_EQ(a->pos(), QPoint(7, 8));
    EXPECT_EQ(b->pos(), QPoint(9, 100));
    // The other windowed child comes first in the tab order and shifts the
    // look-up by one.
    EXPECT_EQ(a->ButtonIndex(), 1);
    EXPECT_EQ(b->ButtonIndex(), 2);
    EXPECT_EQ(header.ButtonByIndex(0), a);
    EXPECT_EQ(header.ButtonByIndex(1), b);
    EXPECT_EQ(header.ButtonByIndex(2), nullptr);
    EXPECT_EQ(header.ButtonByIndex(-1), nullptr);
    delete other;
    EXPECT_EQ(a->ButtonIndex(), 0);
    EXPECT_EQ(header.ButtonByIndex(0), a);
    EXPECT_EQ(header.HeaderIndex(), -1);
}

TEST_F(NavBarHeaderTest, SettingsSizeOnlyAutoSizedButtonsFromTheSettingsInEffect)
{
    TNavBarHeader *h = header(1);
    bar->SetActiveHeader(h);
    auto *autoSized = new TNavButton(h);
    EXPECT_EQ(autoSized->ButtonIndex(), 1);
    EXPECT_EQ(autoSized->geometry(), QRect((181 - 60) / 2, 92, 60, 60));

    bar->HeaderSettings().setButtonStyle(navbar::bsSmall);
    EXPECT_EQ(autoSized->ButtonStyle(), navbar::bsSmall);
    EXPECT_EQ(autoSized->geometry(), QRect(2, 92, 181 - 16 - 4, 20));
    EXPECT_EQ(button(3)->size(), QSize(108, 60)); // not auto-sized
    EXPECT_EQ(button(3)->ButtonStyle(), navbar::bsLarge);

    // The header's own settings do not apply under the bar's common style.
    h->HeaderSettings().setSmallHeight(30);
    EXPECT_EQ(autoSized->height(), 20);
    // Without it they do (its own style is still large).
    bar->setCommonStyle(false);
    EXPECT_EQ(autoSized->ButtonStyle(), navbar::bsLarge);
    EXPECT_EQ(autoSized->size(), QSize(60, 60));
    h->HeaderSettings().setLargeHeight(44);
    EXPECT_EQ(autoSized->size(), QSize(60, 44));
    // An outside resize is refused.
    autoSized->resize(10, 10);
    EXPECT_EQ(autoSized->size(), QSize(60, 44));
}

TEST_F(NavBarHeaderTest, ButtonAreaIsFilledTiledOrGradient)
{
    TNavBarHeader *h = header(0);
    const QColor gray(128, 128, 128);
    EXPECT_EQ(pixel(h->grab().toImage(), 3, 60), gray);

    QImage tile(2, 2, QImage::Format_RGB32);
    tile.setPixel(0, 0, qRgb(255, 0, 0));
    tile.setPixel(1, 0, qRgb(0, 255, 0));
    tile.setPixel(0, 1, qRgb(0, 0, 255));
    tile.setPixel(1, 1, qRgb(0, 0, 0));
    h->setBitmap(tile);
    QImage image = h->grab().toImage();
    // Tiles start at the button area's top-left corner (0, 25).
    EXPECT_EQ(pixel(image, 0, 25), QColor(255, 0, 0));
    EXPECT_EQ(pixel(image, 1, 25), QColor(0, 255, 0));
    EXPECT_EQ(pixel(image, 2, 26), QColor(0, 0, 255));
    EXPECT_EQ(pixel(image, 3, 26), QColor(0, 0, 0));

    // Source paint ors the tile with the header's colour.
    h->setBitmapCopy(navbar::bcSrcPaint);
    image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 0, 25), QColor(255, 128, 128));
    EXPECT_EQ(pixel(image, 3, 26), gray);

    // A picture without width or height gives the plain colour.
    h->setBitmap(QImage(0, 5, QImage::Format_RGB32));
    EXPECT_EQ(pixel(h->grab().toImage(), 0, 25), gray);

    h->Gradient().setBackStyle(navbar::bsGradient);
    image = h->grab().toImage();
    EXPECT_LE(pixel(image, 3, 25).blue(), 2);
    EXPECT_GE(pixel(image, 3, 100).blue(), 250);
    EXPECT_EQ(pixel(image, 3, 100).red(), 0);
    EXPECT_LT(pixel(image, 3, 50).blue(), pixel(image, 3, 75).blue());
}

TEST_F(NavBarHeaderTest, CaptionBarLooks)
{
    TNavBarHeader *h = header(3);
    const QPalette &pal = h->palette();
    const QColor highlight = painted(clBtnHighlight, pal);
    const QColor shadow = painted(clBtnShadow, pal);
    const QColor face = painted(clBtnFace, pal);

    // Raised one-pixel bevel and the caption image at the left.
    QImage image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 0, 0), highlight);
    EXPECT_EQ(pixel(image, 180, 24), shadow);
    EXPECT_EQ(pixel(image, 1, 1), face);
    const QImage picture = m_nav.toolbarImages->Image(3 + 5);
    EXPECT_EQ(pixel(image, 3 + 8, 4 + 8), QColor(picture.pixel(8, 8)));

    // Pressed on the caption: raised then lowered ring.
    enter(h, {50, 5});
    press(h, {50, 5});
    image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 0, 0), highlight);
    EXPECT_EQ(pixel(image, 1, 1), shadow);
    EXPECT_EQ(pixel(image, 180, 24), shadow);
    EXPECT_EQ(pixel(image, 179, 23), highlight);
    move(h, {50, 60}, true);
    release(h, {50, 60});
    EXPECT_EQ(bar->ActiveHeader(), header(0));

    // Image at the right.
    bar->HeaderSettings().setLayout(navbar::glGlyphRight);
    image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 180 - 16 - 2 + 8, 4 + 8), QColor(picture.pixel(8, 8)));

    // Flat: a line along the bottom and no bevel, unless hot.
    leave(bar);
    bar->setFlat(true);
    EXPECT_TRUE(h->ScrollUpButton()->Flat());
    image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 0, 0), face);
    EXPECT_EQ(pixel(image, 90, 24), QColor(Qt::black));
    enter(h, {50, 5});
    image = h->grab().toImage();
    EXPECT_EQ(pixel(image, 0, 0), highlight);
}

TEST_F(NavBarHeaderTest, DisabledBarEmbossesTheCaption)
{
    QFont font = testing::editorBarFont();
    font.setStyleStrategy(QFont::NoAntialias);
    bar->HeaderSettings().setHeaderFont({font, clWindowText});
    TNavBarHeader *h = header(3);
    const QColor highlight = painted(clBtnHighlight, h->palette());
    const QColor shadow = painted(clBtnShadow, h->palette());
    const QColor text = painted(clWindowText, h->palette());
    auto count = [](const QImage &image, const QColor &colour) {
        int n = 0;
        for (int y = 3; y < 22; ++y)
            for (int x = 25; x < 160; ++x)
                n += pixel(image, x, y) == colour;
        return n;
    };
    QImage image = h->grab().toImage();
    EXPECT_GT(count(image, text), 0);
    EXPECT_EQ(count(image, highlight), 0);

    bar->setEnabled(false);
    image = h->grab().toImage();
    EXPECT_EQ(count(image, text), 0);
    EXPECT_GT(count(image, highlight), 0);
    EXPECT_GT(count(image, shadow), 0);
}

TEST(TScrollButtonTest, ArrowPicturesAreTheProgramsOwn)
{
    const QImage up = navbar::programBitmap(QStringLiteral("ARROWUP"));
    const QImage down = navbar::programBitmap(QStringLiteral("ARROWDOWN"));
    ASSERT_EQ(up.size(), QSize(15, 15));
    ASSERT_EQ(down.size(), QSize(15, 15));
    EXPECT_TRUE(navbar::programBitmap(QStringLiteral("ARROWLEFT")).isNull());
    // The tip points up in one and down in the other.
    EXPECT_EQ(QColor(up.pixel(7, 5)), QColor(Qt::black));
    EXPECT_EQ(qAlpha(up.pixel(6, 5)), 0);
    EXPECT_EQ(QColor(down.pixel(7, 9)), QColor(Qt::black));
    EXPECT_EQ(qAlpha(down.pixel(6, 9)), 0);
    EXPECT_EQ(up.mirrored(false, true), down);

    TScrollButton button;
    EXPECT_TRUE(button.isHidden());
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    button.setArrowStyle(navbar::asDown);
    EXPECT_EQ(button.Glyph(), down);
}

} // namespace
} // namespace wharf
