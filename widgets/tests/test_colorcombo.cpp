#include "colorcombo.h"

#include "comboevents.h"
#include "fakeseams.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QImage>
#include <QPainter>
#include <QTimer>

namespace wharf {
namespace {

using testing::pressBackspace;
using testing::pressEscape;
using testing::pressKey;
using testing::turnWheel;
using testing::typeText;

constexpr int kBlueItem = 13; // Default, then Black ... Blue at standard index 12
const TColor kUnlisted = makeColor(0x123456);

class ColorComboTest : public ::testing::Test {
protected:
    QStringList itemTexts() const
    {
        QStringList texts;
        for (int i = 0; i < m_combo.count(); ++i)
            texts << m_combo.itemText(i);
        return texts;
    }

    testing::FakeSeams m_fake;
    TColorComboBox m_combo{nullptr, m_fake.seams()};
    testing::ComboEvents m_events{m_combo};
};

TEST_F(ColorComboTest, ListHoldsTheShownGroupsInOrder)
{
    EXPECT_EQ(m_combo.Style(), TComboBoxStyle::csDropDownList);
    EXPECT_FALSE(m_combo.isEditable());
    ASSERT_EQ(m_combo.count(), 43);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_combo.itemText(0), QStringLiteral("Default"));
    EXPECT_EQ(m_combo.itemText(1), QStringLiteral("Black"));
    EXPECT_EQ(m_combo.itemText(kBlueItem), QStringLiteral("Blue"));
    EXPECT_EQ(m_combo.ItemColor(kBlueItem), clBlue);
    EXPECT_EQ(m_combo.itemText(16), QStringLiteral("White"));
    EXPECT_EQ(m_combo.ItemColor(16), clWhite);
    EXPECT_EQ(m_combo.itemText(17), QStringLiteral("ScrollBar"));
    EXPECT_EQ(m_combo.ItemColor(17), clScrollBar);
    EXPECT_EQ(m_combo.itemText(38), QStringLiteral("3DDkShadow"));
    EXPECT_EQ(m_combo.ItemColor(41), clInfoBk);
    EXPECT_EQ(m_combo.itemText(42), QStringLiteral("Custom"));

    m_combo.SetShowSysColors(false);
    QStringList expected{QStringLiteral("Default")};
    for (const TColorNameEntry &entry : kStandardColorEntries)
        expected << QString::fromUtf16(entry.name);
    expected << QStringLiteral("Custom");
    EXPECT_EQ(itemTexts(), expected); // 18 items

    m_combo.SetShowDefaultColor(false);
    m_combo.SetShowCustomColor(false);
    EXPECT_EQ(m_combo.count(), 16);
    EXPECT_EQ(m_combo.itemText(0), QStringLiteral("Black"));
}

TEST_F(ColorComboTest, SelectedColorPicksTheFirstItemOfThatColour)
{
    struct Case {
        TColor color;
        int index;
    };
    // DefaultColor is 0 like Black: the Default entry comes first.
    const Case cases[] = {{0, 0}, {clBlue, kBlueItem}, {clBtnFace, 32}, {kUnlisted, 42}, {clWhite, 16}};
    for (const Case &c : cases) {
        m_events.reset();
        m_combo.SetSelectedColor(c.color);
        EXPECT_EQ(m_combo.currentIndex(), c.index) << std::hex << c.color;
        EXPECT_EQ(m_combo.SelectedColor(), c.color);
        EXPECT_EQ(m_events.change, 1);
    }
    EXPECT_EQ(m_combo.CustomColor(), kUnlisted);
    EXPECT_EQ(m_combo.ItemColor(42), kUnlisted);

    m_combo.SetDefaultColor(clBlue);
    m_combo.SetSelectedColor(clBlue);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    m_combo.setCurrentIndex(-1);
    EXPECT_EQ(m_combo.SelectedColor(), clBlue); // nothing selected: DefaultColor
}

TEST_F(ColorComboTest, UnlistedColourWithoutCustomEntrySelectsNothingAndReadsBack)
{
    m_combo.SetShowCustomColor(false);
    m_combo.SetSelectedColor(kUnlisted);
    EXPECT_EQ(m_combo.currentIndex(), -1);
    EXPECT_EQ(m_combo.SelectedColor(), kUnlisted);

    // Showing Custom again offers the colour there.
    m_combo.SetShowCustomColor(true);
    EXPECT_EQ(m_combo.currentIndex(), m_combo.count() - 1);
    EXPECT_EQ(m_combo.SelectedColor(), kUnlisted);

    m_combo.SetShowCustomColor(false);
    m_combo.SetSelectedColor(kUnlisted);
    m_combo.setCurrentIndex(kBlueItem); // a later choice wins
    EXPECT_EQ(m_combo.SelectedColor(), clBlue);
    m_combo.setCurrentIndex(-1);
    EXPECT_EQ(m_combo.SelectedColor(), m_combo.DefaultColor());
}

TEST_F(ColorComboTest, SwitchingGroupsKeepsTheSelectedColour)
{
    const TColor colours[] = {clBtnFace, clBlue, kUnlisted, 0};
    for (TColor colour : colours) {
        m_combo.SetSelectedColor(colour);
        for (int step = 0; step < 8; ++step) {
            m_combo.SetShowSysColors(step & 1);
            m_combo.SetShowDefaultColor(step & 2);
            m_combo.SetShowCustomColor(step & 4);
            EXPECT_EQ(m_combo.SelectedColor(), colour) << std::hex << colour << " step " << step;
        }
        m_combo.SetShowSysColors(true);
        m_combo.SetShowDefaultColor(true);
        m_combo.SetShowCustomColor(true);
    }
    m_events.reset();
    m_combo.SetShowSysColors(false); // the colour did not change: no OnChange
    EXPECT_EQ(m_events.change, 0);
}

TEST_F(ColorComboTest, FrameVisibleAndFontChangesKeepTheSelectedColour)
{
    m_combo.SetSelectedColor(kUnlisted);
    m_events.reset();
    m_combo.SetFrameVisible(true);
    EXPECT_EQ(m_combo.SelectedColor(), kUnlisted);
    EXPECT_EQ(m_events.change, 1);

    m_combo.SetSelectedColor(clRed);
    QFont font(QStringLiteral("DejaVu Sans"), 14);
    m_combo.setFont(font);
    EXPECT_EQ(m_combo.SelectedColor(), clRed);
    EXPECT_EQ(m_combo.MeasureItem(0, true), FontItemHeight(font));
    EXPECT_EQ(m_combo.MeasureItem(0, false), FontItemHeight(font) + 4);
}

TEST_F(ColorComboTest, DefaultAndCustomColoursGoIntoTheirEntries)
{
    m_combo.SetDefaultColor(clRed);
    m_combo.SetCustomColor(kUnlisted);
    EXPECT_EQ(m_combo.ItemColor(0), clRed);
    EXPECT_EQ(m_combo.ItemColor(42), kUnlisted);
    EXPECT_EQ(m_combo.SelectedColor(), clRed);

    m_combo.SetShowDefaultColor(false);
    m_combo.SetDefaultColor(clLime); // stored for when the entry returns
    EXPECT_EQ(m_combo.ItemColor(0), clBlack);
    m_combo.SetShowDefaultColor(true);
    EXPECT_EQ(m_combo.ItemColor(0), clLime);
}

TEST_F(ColorComboTest, TypedSearchIsForgottenWhenTheTimerFires)
{
    typeText(m_combo, QStringLiteral("b"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Black"));
    typeText(m_combo, QStringLiteral("l"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Black"));
    typeText(m_combo, QStringLiteral("u"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Blue"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("blu"));
    EXPECT_EQ(m_events.click, 3);
    EXPECT_EQ(m_events.change, 3);
    EXPECT_TRUE(m_combo.SearchTimer->isActive());

    m_combo.SearchTimerTimer();
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_FALSE(m_combo.SearchTimer->isActive());
    typeText(m_combo, QStringLiteral("l"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Lime"));
}

TEST_F(ColorComboTest, UnmatchedCharacterBeepsAndChangesNothing)
{
    typeText(m_combo, QStringLiteral("bl"));
    m_events.reset();
    typeText(m_combo, QStringLiteral("q"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Black"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("bl"));
    EXPECT_EQ(m_events.change, 0);
    ASSERT_EQ(m_fake.beep.beeps.size(), 1u);

    m_combo.SetBeepOnInvalidKey(false);
    typeText(m_combo, QStringLiteral("q"));
    EXPECT_EQ(m_fake.beep.beeps.size(), 1u);

    // A blank is a typed character too; it neither opens the list nor
    // matches anything here.
    pressKey(m_combo, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_FALSE(m_combo.DroppedDown());
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("bl"));
}

TEST_F(ColorComboTest, BackspaceAndEscapeReturnToTheFirstItem)
{
    typeText(m_combo, QStringLiteral("gr"));
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Green"));
    pressBackspace(m_combo); // "g"
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Green"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("g"));
    m_events.reset();
    pressBackspace(m_combo);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_EQ(m_events.change, 1);
    EXPECT_EQ(m_events.click, 1);
    pressBackspace(m_combo);
    EXPECT_EQ(m_fake.beep.beeps.size(), 1u);

    typeText(m_combo, QStringLiteral("wh"));
    m_events.reset();
    pressEscape(m_combo);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_EQ(m_events.change, 1);
}

TEST_F(ColorComboTest, NavigationKeysForgetTheSearchAndQtSearchesNothing)
{
    typeText(m_combo, QStringLiteral("b"));
    m_events.reset();
    pressKey(m_combo, Qt::Key_Down);
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Maroon"));
    EXPECT_EQ(m_events.change, 1);
    EXPECT_EQ(m_events.click, 1);

    // Keys typed with Ctrl are no search text, for Qt neither.
    pressKey(m_combo, Qt::Key_W, QStringLiteral("w"), Qt::ControlModifier);
    EXPECT_EQ(m_combo.currentText(), QStringLiteral("Maroon"));
}

TEST_F(ColorComboTest, WheelAtEitherEndDoesNothing)
{
    m_combo.setCurrentIndex(42);
    turnWheel(m_combo, false);
    EXPECT_EQ(m_combo.currentIndex(), 42);
    m_combo.setCurrentIndex(0);
    turnWheel(m_combo, true);
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_events.change + m_events.click, 0);
}

TEST_F(ColorComboTest, ClosingTheListOnCustomAsksForAColour)
{
    m_combo.SetCustomColor(kUnlisted);
    m_combo.SetCustomColors({QStringLiteral("ColorA=0000FF"), QStringLiteral("ColorC=$00FF00"), QStringLiteral("junk")});
    m_combo.setCurrentIndex(42);
    m_fake.colorDialogs.results.push_back({true, QColor(1, 2, 3), {QColor(255, 0, 0), QColor(4, 5, 6)}});
    m_combo.CloseUp(false);
    ASSERT_EQ(m_fake.colorDialogs.requests.size(), 1u);
    const ColorDialogRequest &request = m_fake.colorDialogs.requests.front();
    EXPECT_EQ(request.initial, toQColor(kUnlisted));
    EXPECT_TRUE(request.fullOpen);
    ASSERT_EQ(request.customColors.size(), 16);
    EXPECT_EQ(request.customColors.at(0), QColor(255, 0, 0));
    EXPECT_EQ(request.customColors.at(1), QColor(Qt::white));
    EXPECT_EQ(request.customColors.at(2), QColor(0, 255, 0));

    EXPECT_EQ(m_combo.CustomColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(m_combo.SelectedColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(m_combo.CustomColors(), QStringList({QStringLiteral("ColorA=0000FF"), QStringLiteral("ColorB=060504")}));
    EXPECT_EQ(m_events.change, 1); // the new colour is reported
    EXPECT_EQ(m_events.closeUp, 1);

    // Cancelled dialog: nothing changes.
    m_combo.CloseUp(false);
    EXPECT_EQ(m_fake.colorDialogs.requests.size(), 2u);
    EXPECT_EQ(m_combo.CustomColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(m_events.change, 1);

    // A cancelled list, or another entry selected: no dialog.
    m_combo.CloseUp(true);
    m_combo.setCurrentIndex(5);
    m_combo.CloseUp(false);
    EXPECT_EQ(m_fake.colorDialogs.requests.size(), 2u);
    EXPECT_EQ(m_events.closeUp, 4);

    m_combo.SetColorDlgOptions(TColorDialogOption::cdPreventFullOpen);
    m_combo.setCurrentIndex(42);
    m_combo.CloseUp(false);
    ASSERT_EQ(m_fake.colorDialogs.requests.size(), 3u);
    EXPECT_FALSE(m_fake.colorDialogs.requests.back().fullOpen);
}

TEST_F(ColorComboTest, OpenListChoosingCustomOrCancelling)
{
    m_combo.show();
    m_combo.showPopup();
    EXPECT_TRUE(m_combo.DroppedDown());
    EXPECT_EQ(m_events.dropDown, 1);
    m_combo.HotStateUpdate(true, true); // ignored while the list is open
    EXPECT_FALSE(m_combo.MouseOver());

    // Typing in the open list uses the own search and moves the list along.
    QAbstractItemView *list = m_combo.view();
    typeText(*list, QStringLiteral("cu"));
    EXPECT_EQ(m_combo.currentIndex(), 42);
    EXPECT_EQ(list->currentIndex().row(), 42);

    pressKey(*list, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(m_combo.DroppedDown());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_events.closeUp, 1);
    EXPECT_EQ(m_fake.colorDialogs.requests.size(), 1u);

    m_combo.showPopup();
    pressEscape(*list);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_events.closeUp, 2);
    EXPECT_EQ(m_fake.colorDialogs.requests.size(), 1u); // cancelled: no dialog
    EXPECT_EQ(m_combo.currentIndex(), 42);
}

TEST_F(ColorComboTest, RenamedNamesShowAtOnceAndSurviveARebuild)
{
    m_combo.setCurrentIndex(5);
    m_combo.ColorNames().SetStandardName(12, QStringLiteral("Azure"));
    EXPECT_EQ(m_combo.itemText(kBlueItem), QStringLiteral("Azure"));
    EXPECT_EQ(m_combo.currentIndex(), 5);
    EXPECT_TRUE(m_combo.NamesChanged());

    m_combo.ColorNames().SetDefault(QStringLiteral("Automatic"));
    m_combo.ColorNames().SetCustom(QStringLiteral("Other..."));
    m_combo.ColorNames().SetSystemName(15, QStringLiteral("Face"));
    EXPECT_EQ(m_combo.itemText(0), QStringLiteral("Automatic"));
    EXPECT_EQ(m_combo.itemText(42), QStringLiteral("Other..."));
    EXPECT_EQ(m_combo.itemText(32), QStringLiteral("Face"));

    m_combo.SetShowSysColors(false);
    m_combo.SetShowSysColors(true);
    EXPECT_EQ(m_combo.itemText(kBlueItem), QStringLiteral("Azure"));
    EXPECT_EQ(m_combo.itemText(32), QStringLiteral("Face"));
    // Default and Custom come back from the name table; the names keep them.
    EXPECT_EQ(m_combo.itemText(0), QStringLiteral("Default"));
    EXPECT_EQ(m_combo.itemText(42), QStringLiteral("Custom"));
    EXPECT_EQ(m_combo.ColorNames().Default(), QStringLiteral("Automatic"));

    // Without the Default entry the system names start one item earlier.
    m_combo.SetShowDefaultColor(false);
    m_combo.ColorNames().SetSystemName(0, QStringLiteral("Bar"));
    EXPECT_EQ(m_combo.itemText(16), QStringLiteral("Bar"));
}

TEST(TColorNamesTest, AssignCopiesOnlyTheShownGroups)
{
    testing::FakeSeams fake;
    TColorComboBox combo(nullptr, fake.seams());
    TColorNames copy;
    copy.SetShowSysColors(false);
    copy.SetShowCustomColor(false);
    copy.Assign(combo.ColorNames());
    EXPECT_EQ(copy.Default(), QStringLiteral("Default"));
    EXPECT_EQ(copy.StandardName(12), QStringLiteral("Blue"));
    EXPECT_EQ(copy.SystemName(0), QString());
    EXPECT_EQ(copy.Custom(), QString());
    EXPECT_EQ(copy.StandardName(16), QString());

    // Into a combo: standard names rename its items, Default only is stored.
    copy.SetStandardName(0, QStringLiteral("Ink"));
    copy.SetDefault(QStringLiteral("Auto"));
    combo.SetColorNames(copy);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Ink"));
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Default"));
    EXPECT_EQ(combo.ColorNames().Default(), QStringLiteral("Auto"));
    EXPECT_EQ(combo.ColorNames().SystemName(0), QString()); // copied from the empty names
}

class ColorItemDrawingTest : public ColorComboTest {
protected:
    ColorItemDrawingTest()
    {
        QPalette palette = m_combo.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Base, m_window);       // clWindow
            palette.setColor(group, QPalette::Highlight, m_highlight);
            palette.setColor(group, QPalette::HighlightedText, QColor(255, 255, 255));
        }
        m_combo.setPalette(palette);
        m_image.fill(QColor(255, 0, 255));
    }

    QColor at(int x, int y) const { return QColor(m_image.pixel(x, y)); }
    void draw(int index, bool selected, bool closed = false)
    {
        QPainter painter(&m_image);
        m_combo.DrawItem(painter, index, QRect(0, 0, 120, 18), selected, closed);
    }

    const QColor m_window{240, 250, 230};
    const QColor m_highlight{0, 0, 200};
    QImage m_image{120, 18, QImage::Format_RGB32};
};

TEST_F(ColorItemDrawingTest, SwatchLeftOfTheName)
{
    draw(5, false); // Navy: a dark colour framed black
    EXPECT_EQ(at(4, 4), QColor(0, 0, 0));
    EXPECT_EQ(at(17, 13), QColor(0, 0, 0));
    EXPECT_EQ(at(10, 8), QColor(0, 0, 128));
    EXPECT_EQ(at(3, 8), m_window);
    EXPECT_EQ(at(18, 8), m_window);
    EXPECT_EQ(at(110, 1), m_window);

    draw(12, true); // Yellow, selected: framed grey, the name part highlighted
    EXPECT_EQ(at(4, 4), QColor(128, 128, 128));
    EXPECT_EQ(at(10, 8), QColor(255, 255, 0));
    EXPECT_EQ(at(2, 1), m_window);
    EXPECT_EQ(at(110, 1), m_highlight);

    draw(5, false, true); // the closed control: 2 pixels of margin
    EXPECT_EQ(at(2, 2), QColor(0, 0, 0));
    EXPECT_EQ(at(3, 3), QColor(0, 0, 128));
    EXPECT_EQ(at(15, 8), QColor(0, 0, 0));
    EXPECT_EQ(at(16, 8), m_window);
}

TEST_F(ColorItemDrawingTest, SwatchesOnlyAndTheCustomDots)
{
    m_combo.SetShowColorNames(false);
    draw(16, false); // White fills the item, framed grey
    EXPECT_EQ(at(4, 4), QColor(128, 128, 128));
    EXPECT_EQ(at(115, 13), QColor(128, 128, 128));
    EXPECT_EQ(at(60, 8), QColor(255, 255, 255));
    EXPECT_EQ(at(2, 2), m_window);

    m_combo.SetCustomColor(clRed);
    draw(42, false);
    EXPECT_EQ(at(95, 8), QColor(128, 128, 128)); // the swatch ends 20 pixels early
    EXPECT_EQ(at(94, 8), QColor(255, 0, 0));
    EXPECT_EQ(at(96, 8), m_window);
    for (int x : {104, 105, 108, 109, 112, 113})
        EXPECT_EQ(at(x, 12), QColor(0, 0, 0)) << x;
    EXPECT_EQ(at(106, 12), m_window);
    EXPECT_EQ(at(104, 14), m_window);

    draw(42, true);
    EXPECT_EQ(at(104, 13), QColor(255, 255, 255)); // dots in the highlight text colour
    EXPECT_EQ(at(100, 2), m_highlight);
}

TEST_F(ColorItemDrawingTest, ClosedControlShowsTheSelectedColour)
{
    m_combo.resize(150, 24);
    m_combo.SetSelectedColor(clLime);
    const QImage image = m_combo.grab().toImage();
    int lime = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 30; ++x)
            lime += QColor(image.pixel(x, y)) == QColor(0, 255, 0);
    EXPECT_GT(lime, 50);
}

} // namespace
} // namespace wharf
