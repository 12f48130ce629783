#include "navbutton.h"

#include "imagelist.h"
#include "navbar.h"
#include "navbar_events.h"
#include "navbarheader.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>

#include <memory>

namespace wharf {
namespace {

using namespace navtest;

const QColor kGray(128, 128, 128);

// One header on a bar with one 60 x 60 button on it, in a window that is
// shown off screen and active (so that focus can be checked).
class NavButtonTest : public ::testing::Test {
protected:
    NavButtonTest()
    {
        m_window.setAttribute(Qt::WA_DontShowOnScreen);
        m_window.resize(200, 300);
        bar->setGeometry(0, 0, 185, 300);
        button->setCaption(QStringLiteral("Go"));
        m_window.show();
        QApplication::setActiveWindow(&m_window);
    }

    QColor light() const { return painted(cl3DLight, button->palette()); }
    QColor dark() const { return painted(cl3DDkShadow, button->palette()); }
    QImage picture() const { return button->grab().toImage(); }

    QWidget m_window;
    TNavBar *bar = new TNavBar(&m_window);
    TNavBarHeader *header = bar->addHeader(QStringLiteral("Header"));
    TNavButton *button = header->addButton(QString());
};

TEST(TNavButtonAloneTest, DefaultsAndTheAutoSizeLock)
{
    TNavButton button;
    EXPECT_EQ(button.size(), QSize(60, 60));
    EXPECT_EQ(button.ButtonStyle(), navbar::bsLarge);
    EXPECT_EQ(button.ImageIndex(), -1);
    EXPECT_TRUE(button.Transparent());
    EXPECT_TRUE(button.AutoSize());
    EXPECT_TRUE(button.TabStop());
    EXPECT_TRUE(button.ParentColor());
    EXPECT_EQ(button.GetButtonIndex(), -1);
    button.setButtonIndex(3);
    EXPECT_EQ(button.GetButtonIndex(), -1);

    button.resize(100, 20);
    EXPECT_EQ(button.size(), QSize(60, 60));
    button.setAutoSize(false);
    button.resize(100, 20);
    EXPECT_EQ(button.size(), QSize(100, 20));
}

TEST_F(NavButtonTest, PointerStatesAndClicks)
{
    int clicks = 0;
    int doubleClicks = 0;
    button->OnClick = [&](TNavButton *sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    button->OnDblClick = [&](TNavButton *) { ++doubleClicks; };

    enter(button, {5, 5});
    EXPECT_TRUE(button->MouseOver());
    press(button, {5, 5});
    EXPECT_TRUE(button->Pressed());
    // Leaving while held clears both; coming back shows only the hover.
    move(button, {70, 5}, true);
    EXPECT_FALSE(button->MouseOver());
    EXPECT_FALSE(button->Pressed());
    move(button, {6, 5}, true);
    EXPECT_TRUE(button->MouseOver());
    EXPECT_FALSE(button->Pressed());
    release(button, {6, 5});
    EXPECT_EQ(clicks, 1);

    // Released outside: no click. The right button presses nothing.
    press(button, {5, 5});
    move(button, {70, 5}, true);
    release(button, {70, 5});
    press(button, {5, 5}, Qt::RightButton);
    EXPECT_FALSE(button->Pressed());
    release(button, {5, 5}, Qt::RightButton);
    EXPECT_EQ(clicks, 1);

    // A double click clicks once (the first press) and double-clicks once.
    click(button, {5, 5});
    mouse(button, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    release(button, {5, 5});
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubleClicks, 1);
    leave(button);
    EXPECT_FALSE(button->MouseOver());
}

TEST_F(NavButtonTest, WithoutImagesTheEdgesGoAroundTheWholeButton)
{
    EXPECT_EQ(pixel(picture(), 0, 0), kGray); // transparent over the header
    enter(button, {5, 5});
    QImage image = picture();
    EXPECT_EQ(pixel(image, 0, 0), light());
    EXPECT_EQ(pixel(image, 59, 59), dark());
    EXPECT_EQ(pixel(image, 1, 1), kGray);
    press(button, {5, 5});
    image = picture();
    EXPECT_EQ(pixel(image, 0, 0), dark());
    EXPECT_EQ(pixel(image, 59, 59), light());
}

TEST_F(NavButtonTest, WithImagesTheEdgeFramesTheImageWhichMovesWhenPressed)
{
    TImageList images(32, 32);
    QImage marker(32, 32, QImage::Format_ARGB32);
    marker.fill(Qt::transparent);
    marker.setPixel(0, 0, qRgb(255, 0, 0));
    images.Add(marker);
    button->setLargeImages(&images);

    // A list but no image: the edge is the image box, (60 - 32) / 2 = 14, 4.
    enter(button, {5, 5});
    QImage image = picture();
    EXPECT_EQ(pixel(image, 14, 4), light());
    EXPECT_EQ(pixel(image, 45, 35), dark());
    EXPECT_EQ(pixel(image, 0, 0), kGray);

    button->setImageIndex(0);
    image = picture();
    EXPECT_EQ(pixel(image, 12, 2), light()); // image box grown by 2
    EXPECT_EQ(pixel(image, 47, 37), dark());
    EXPECT_EQ(pixel(image, 14, 4), QColor(255, 0, 0));
    press(button, {5, 5});
    image = picture();
    EXPECT_EQ(pixel(image, 15, 5), QColor(255, 0, 0));
    EXPECT_NE(pixel(image, 14, 4), QColor(255, 0, 0));
    release(button, {5, 5});

    // The list's changes repaint; a destroyed list is forgotten.
    {
        TImageList temporary(16, 16);
        button->setSmallImages(&temporary);
        EXPECT_EQ(button->SmallImages(), &temporary);
    }
    EXPECT_EQ(button->SmallImages(), nullptr);
    button->setButtonStyle(navbar::bsSmall);
    image = picture(); // paints without the list
    EXPECT_EQ(pixel(image, 0, 0), light());
}

TEST_F(NavButtonTest, ADisabledButtonIsDrawnDisabled)
{
    TImageList images(32, 32);
    QImage marker(32, 32, QImage::Format_ARGB32);
    marker.fill(qRgb(255, 0, 0));
    images.Add(marker);
    button->setLargeImages(&images);
    button->setImageIndex(0);
    button->setCaption(QStringLiteral("WWWW"));
    const QImage enabled = picture();
    EXPECT_EQ(pixel(enabled, 30, 20), QColor(255, 0, 0));

    button->setEnabled(false);
    enter(button, {5, 5});
    const QImage disabled = picture();
    // The picture is greyed, the caption drawn another way, and the
    // pointer raises no edge.
    const QColor greyed = pixel(disabled, 30, 20);
    EXPECT_NE(greyed, QColor(255, 0, 0));
    EXPECT_EQ(greyed.red(), greyed.green());
    const QRect captionBox(0, 40, 60, 20);
    bool captionDiffers = false;
    for (int y = captionBox.top(); y <= captionBox.bottom(); ++y)
        for (int x = captionBox.left(); x <= captionBox.right(); ++x)
            captionDiffers = captionDiffers || pixel(disabled, x, y) != pixel(enabled, x, y);
    EXPECT_TRUE(captionDiffers);
    EXPECT_NE(pixel(disabled, 12, 2), light());

    button->setEnabled(true);
    EXPECT_EQ(pixel(picture(), 30, 20), QColor(255, 0, 0));
}

TEST_F(NavButtonTest, ColourWhenNotTransparent)
{
    button->setTransparent(false);
    EXPECT_EQ(pixel(picture(), 30, 30), kGray); // the header's colour
    button->setColor(clRed);
    EXPECT_FALSE(button->ParentColor());
    EXPECT_EQ(pixel(picture(), 30, 30), QColor(255, 0, 0));
    button->setParentColor(true);
    header->setColor(clNavy);
    EXPECT_EQ(pixel(picture(), 30, 30), QColor(0, 0, 128));
}

TEST_F(NavButtonTest, CaptionFontComesFromTheBarTheHeaderOrTheButton)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    // Auto-sized buttons get the settings' font copied into their own.
    button->setAutoSize(false);
    bar->HeaderSettings().setButtonFont({font, clRed});
    header->HeaderSettings().setButtonFont({font, clLime});
    button->setFont(navbar::ColoredFont{font, clBlue});
    button->setCaption(QStringLiteral("WWW"));
    auto shows = [&](const QColor &colour) {
        const QImage image = picture();
        for (int y = 36; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (pixel(image, x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(shows(QColor(255, 0, 0)));
    bar->setCommonStyle(false);
    EXPECT_TRUE(shows(QColor(0, 255, 0)));
    EXPECT_FALSE(shows(QColor(255, 0, 0)));
    header->setCommonStyle(false);
    EXPECT_TRUE(shows(QColor(0, 0, 255)));
}

TEST_F(NavButtonTest, WithoutKeySupportButtonsNeverTakeTheFocus)
{
    int clicks = 0;
    button->OnClick = [&](TNavButton *) { ++clicks; };
    EXPECT_FALSE(bar->HeaderSettings().KeySupport());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    click(button, {5, 5});
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->hasFocus());
    button->setFocus();
    EXPECT_FALSE(button->hasFocus());

    bar->HeaderSettings().setKeySupport(true);
    EXPECT_EQ(button->focusPolicy(), Qt::TabFocus);
    click(button, {5, 5});
    EXPECT_TRUE(button->hasFocus());
    key(button, Qt::Key_Return);
    EXPECT_EQ(clicks, 3);

    // Only the buttons of the open header may take it.
    TNavBarHeader *other = bar->addHeader(QStringLiteral("Other"));
    TNavButton *closedOne = other->addButton(QStringLiteral("x"));
    bar->SetActiveHeader(header);
    EXPECT_FALSE(closedOne->CanFocus());
    click(closedOne, {5, 5});
    EXPECT_FALSE(closedOne->hasFocus());
    EXPECT_TRUE(button->CanFocus());
}

TEST_F(NavButtonTest, FocusRectangleIsHiddenWhileThePointerIsOver)
{
    bar->HeaderSettings().setKeySupport(true);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(pixel(picture(), 1, 1), QColor(Qt::black));
    EXPECT_EQ(pixel(picture(), 2, 1), kGray); // dotted
    enter(button, {5, 5});
    EXPECT_EQ(pixel(picture(), 1, 1), kGray);
}

TEST_F(NavButtonTest, AcceleratorClicksAFocusedButton)
{
    int clicks = 0;
    button->OnClick = [&](TNavButton *) { ++clicks; };
    button->setCaption(QStringLiteral("&Go"));
    bar->HeaderSettings().setKeySupport(true);
    button->setFocus();
    key(button, Qt::Key_G, QStringLiteral("g"));
    key(button, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(clicks, 1);
}

TEST_F(NavButtonTest, ActionLinksOnlyThePropertiesThatStillFollowIt)
{
    QAction action(QStringLiteral("&Run"));
    action.setToolTip(QStringLiteral("Runs it"));
    action.setProperty("ImageIndex", 4);
    action.setProperty("HelpContext", 17);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });

    button->setAction(&action);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Run"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Runs it"));
    EXPECT_EQ(button->ImageIndex(), 4);
    EXPECT_EQ(button->HelpContext(), 17);

    action.setText(QStringLiteral("&Walk"));
    action.setEnabled(false);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Walk"));
    EXPECT_FALSE(button->isEnabled());
    button->setCaption(QStringLiteral("Mine"));
    action.setText(QStringLiteral("&Jump"));
    action.setEnabled(true);
    EXPECT_EQ(button->Caption(), QStringLiteral("Mine"));
    EXPECT_TRUE(button->isEnabled());
    action.setVisible(false);
    EXPECT_TRUE(button->isHidden());
    action.setVisible(true);

    // Without an own click handler the click executes the action.
    button->Click();
    EXPECT_EQ(triggered, 1);
    int clicks = 0;
    button->OnClick = [&](TNavButton *) { ++clicks; };
    button->Click();
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(NavButtonTest, ADestroyedActionIsForgotten)
{
    auto action = std::make_unique<QAction>(QStringLiteral("Run"));
    button->setAction(action.get());
    action.reset();
    EXPECT_EQ(button->Action(), nullptr);
    button->Click(); // nothing to run
}

} // namespace
} // namespace wharf
