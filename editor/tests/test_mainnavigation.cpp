#include "mainnavigation.h"

#include "editorresources.h"
#include "imagelist.h"
#include "navbar.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "pagetable.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace wharf;

namespace {

class MainNavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        navigation = new MainNavigation(toolbarImages(), window.get());
        navigation->resize(185, 560);
        window->resize(185, 560);
        window->show();
    }
    std::unique_ptr<QWidget> window;
    MainNavigation *navigation = nullptr;
};

TEST_F(MainNavigationTest, BuildsTheBarFromThePageTable)
{
    TNavBar *bar = navigation->bar();
    EXPECT_EQ(bar->objectName(), QStringLiteral("OB_Main"));
    EXPECT_EQ(bar->width(), 185);
    EXPECT_EQ(bar->HeaderHeight(), 25);
    EXPECT_EQ(bar->BorderWidth(), 1);
    EXPECT_EQ(bar->BevelOuter(), navbar::bvLowered);
    EXPECT_FALSE(bar->HeaderSettings().KeySupport());
    EXPECT_EQ(bar->HeaderSettings().HeaderFont().font.family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(bar->HeaderSettings().HeaderFont().font.pixelSize(), 11);
    ASSERT_EQ(bar->HeaderCount(), kPageCount);
    EXPECT_EQ(navigation->ActiveHeader(), kGeneralPage);
    ASSERT_NE(bar->Images(), nullptr);

    for (int page = 0; page < kPageCount; ++page) {
        const PageInfo &info = editorPages()[static_cast<size_t>(page)];
        TNavBarHeader *header = navigation->header(page);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header, bar->HeaderByIndex(page));
        EXPECT_EQ(header->objectName(), QString::fromLatin1(info.header));
        EXPECT_EQ(header->Caption(), QString::fromUtf8(info.headerCaption));
        EXPECT_EQ(header->ImageIndex(), 5 + page);
        EXPECT_FALSE(bar->Images()->Image(header->ImageIndex()).isNull()) << page;
        EXPECT_EQ(header->Color(), clGray);
        ASSERT_EQ(navigation->buttonCount(page), static_cast<int>(info.buttons.size()));
        for (int b = 0; b < navigation->buttonCount(page); ++b) {
            TNavButton *button = navigation->button(page, b);
            EXPECT_EQ(button->objectName(), QString::fromLatin1(info.buttons[static_cast<size_t>(b)].objectName));
            EXPECT_EQ(button->Caption(), QString::fromUtf8(info.buttons[static_cast<size_t>(b)].caption));
            EXPECT_EQ(button->size(), QSize(108, 60));
            EXPECT_EQ(button->GetButtonIndex(), b);
            ASSERT_NE(button->LargeImages(), nullptr);
            EXPECT_EQ(button->LargeImages()->Width(), 32);
            EXPECT_EQ(button->ImageIndex(), navButtonImageIndex(page, b));
            EXPECT_FALSE(button->LargeImages()->Image(button->ImageIndex()).isNull());
        }
    }
    EXPECT_EQ(navigation->header(kPageCount), nullptr);
    EXPECT_EQ(navigation->button(kGeneralPage, 3), nullptr);
    EXPECT_EQ(navigation->button(-1, 0), nullptr);
}

TEST_F(MainNavigationTest, HeadersAndButtonsReportChangesAndClicks)
{
    QSignalSpy changes(navigation, &MainNavigation::change);
    QSignalSpy clicks(navigation, &MainNavigation::buttonClicked);

    navigation->SetActiveHeader(kFilesPage);
    EXPECT_EQ(navigation->ActiveHeader(), kFilesPage);
    navigation->SetActiveHeader(kFilesPage);
    navigation->SetActiveHeader(kPageCount);
    navigation->SetActiveHeader(-1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), kGeneralPage);
    EXPECT_EQ(changes.at(0).at(1).toInt(), kFilesPage);

    // A click on a caption bar opens its header.
    TNavBarHeader *registry = navigation->header(kRegistryPage);
    QTest::mouseMove(registry, registry->CaptionRect().center());
    QTest::mouseClick(registry, Qt::LeftButton, {}, registry->CaptionRect().center());
    EXPECT_EQ(navigation->ActiveHeader(), kRegistryPage);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(1).toInt(), kRegistryPage);

    // A click on a button of the open header, and Click() itself.
    TNavButton *import = navigation->button(kRegistryPage, 2);
    ASSERT_TRUE(import->isVisible());
    QTest::mouseClick(import, Qt::LeftButton, {}, QPoint(54, 20));
    navigation->button(kCompilePage, 1)->Click();
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0), (QList<QVariant>{kRegistryPage, 2}));
    EXPECT_EQ(clicks.at(1), (QList<QVariant>{kCompilePage, 1}));

    // A hidden button leaves its place to the next one.
    const int top = navigation->button(kRegistryPage, 1)->y();
    navigation->setButtonVisible(kRegistryPage, 1, false);
    EXPECT_FALSE(navigation->isButtonVisible(kRegistryPage, 1));
    EXPECT_EQ(import->y(), top);
    navigation->setButtonVisible(kRegistryPage, 1, true);
    EXPECT_TRUE(navigation->isButtonVisible(kRegistryPage, 1));
    EXPECT_GT(import->y(), top);
}

TEST_F(MainNavigationTest, EveryButtonCaptionFitsItsButton)
{
    const QFont font = navigation->bar()->HeaderSettings().ButtonFont().font;
    const QFontMetrics metrics(font);
    for (int page = 0; page < kPageCount; ++page)
        for (int b = 0; b < navigation->buttonCount(page); ++b) {
            const TNavButton *button = navigation->button(page, b);
            EXPECT_LE(metrics.horizontalAdvance(button->Caption()), button->width() - 4)
                << button->Caption().toStdString() << " in " << font.toString().toStdString();
        }
}

TEST(FittedButtonFontTest, NarrowsOnlyWhatDoesNotFit)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    const QStringList captions{QStringLiteral("Layout"), QStringLiteral("Application information")};
    const int natural = QFontMetrics(font).horizontalAdvance(captions.at(1));

    // Fits as it is: unchanged.
    EXPECT_EQ(fittedButtonFont(font, captions, natural), font);

    // Too wide: the widest caption now fits, the family stays.
    for (const int width : {natural - 1, natural * 4 / 5, natural / 2}) {
        const QFont fitted = fittedButtonFont(font, captions, width);
        EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(captions.at(1)), width) << width;
        EXPECT_EQ(fitted.family(), font.family());
        EXPECT_GE(fitted.pixelSize(), 6);
    }

    // A point-sized font keeps working.
    QFont points(QStringLiteral("MS Sans Serif"), 8);
    const int pointsWidth = QFontMetrics(points).horizontalAdvance(captions.at(1));
    EXPECT_LE(QFontMetrics(fittedButtonFont(points, captions, pointsWidth - 10)).horizontalAdvance(captions.at(1)),
              pointsWidth - 10);
}

} // namespace
