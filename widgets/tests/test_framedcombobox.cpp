#include "framedcombobox.h"

#include "comboevents.h"
#include "fakeseams.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QTimer>

namespace wharf {
namespace {

using testing::pressBackspace;
using testing::pressEscape;
using testing::pressKey;
using testing::turnWheel;
using testing::typeText;

class FramedComboTest : public ::testing::Test {
protected:
    FramedComboTest()
    {
        m_combo.addItems({QStringLiteral("Black"), QStringLiteral("Blue"), QStringLiteral("Lime")});
        m_combo.setCurrentIndex(-1); // an empty edit field to type into
    }

    QString editText() const { return m_combo.lineEdit()->text(); }
    QString selectedText() const { return m_combo.lineEdit()->selectedText(); }

    testing::FakeSeams m_fake;
    TCustomFramedComboBox m_combo{nullptr, m_fake.seams()};
    testing::ComboEvents m_events{m_combo};
};

TEST_F(FramedComboTest, DefaultsOfTheBaseClass)
{
    EXPECT_EQ(m_combo.Style(), TComboBoxStyle::csDropDown);
    EXPECT_TRUE(m_combo.isEditable());
    EXPECT_EQ(m_combo.completer(), nullptr); // the own completion replaces Qt's
    EXPECT_TRUE(m_combo.BeepOnInvalidKey());
    EXPECT_TRUE(m_combo.FlatButtons());
    EXPECT_EQ(m_combo.FrameColor(), clBtnShadow);
    EXPECT_EQ(m_combo.FrameStyle(), TFrameStyle::fsFlat);
    EXPECT_EQ(m_combo.FrameFlatStyle(), TFrameStyle::fsStatus);
    EXPECT_EQ(m_combo.FrameFocusStyle(), TFrameStyle::fsLowered);
    EXPECT_EQ(m_combo.FrameSides(), kAllSides);
    EXPECT_FALSE(m_combo.FrameVisible());
    EXPECT_FALSE(m_combo.FrameFlat());
    EXPECT_EQ(m_combo.DropDownWidth(), 0);
    EXPECT_EQ(m_combo.SearchTimer->objectName(), QStringLiteral("SearchTimer"));
    EXPECT_EQ(m_combo.SearchTimer->interval(), 1500);
}

TEST_F(FramedComboTest, TypingCompletesToTheFirstMatchingItem)
{
    typeText(m_combo, QStringLiteral("b"));
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(editText(), QStringLiteral("Black"));
    EXPECT_EQ(selectedText(), QStringLiteral("lack"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("b"));
    EXPECT_EQ(m_events.match, 1);
    EXPECT_EQ(m_events.click, 1);
    EXPECT_EQ(m_events.change, 1);

    typeText(m_combo, QStringLiteral("lu"));
    EXPECT_EQ(m_combo.currentIndex(), 1);
    EXPECT_EQ(editText(), QStringLiteral("Blue"));
    EXPECT_EQ(selectedText(), QStringLiteral("e"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("blu"));

    // No item begins with "blux": the completed tail goes, the key is typed.
    typeText(m_combo, QStringLiteral("x"));
    EXPECT_EQ(editText(), QStringLiteral("blux"));
    EXPECT_EQ(selectedText(), QString());
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("blux"));
    EXPECT_EQ(m_events.match, 3);

    // Backspace takes the search text back and completes again.
    pressBackspace(m_combo);
    EXPECT_EQ(editText(), QStringLiteral("Blue"));
    EXPECT_EQ(selectedText(), QStringLiteral("e"));
    EXPECT_EQ(m_combo.SearchText(), QStringLiteral("blu"));
    EXPECT_TRUE(m_fake.beep.beeps.empty());
}

TEST_F(FramedComboTest, BackspaceToNothingAndEscapeClearTheSelection)
{
    typeText(m_combo, QStringLiteral("l"));
    ASSERT_EQ(m_combo.currentIndex(), 2);
    m_events.reset();
    pressBackspace(m_combo);
    EXPECT_EQ(m_combo.currentIndex(), -1);
    EXPECT_EQ(editText(), QString());
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_EQ(m_events.click, 1);
    pressBackspace(m_combo); // nothing typed: only the beep
    EXPECT_EQ(m_fake.beep.beeps.size(), 1u);

    typeText(m_combo, QStringLiteral("bl"));
    m_events.reset();
    pressEscape(m_combo);
    EXPECT_EQ(m_combo.currentIndex(), -1);
    EXPECT_EQ(editText(), QString());
    EXPECT_EQ(m_combo.SearchText(), QString());
    EXPECT_EQ(m_events.click, 1);
    EXPECT_EQ(m_events.change, 1);
}

TEST_F(FramedComboTest, KeyPressHandlersMaySwallowOrReplaceTheCharacter)
{
    QChar replacement;
    QObject::connect(&m_combo, &TCustomFramedComboBox::OnKeyPress, [&](QObject *, QChar &key) { key = replacement; });
    typeText(m_combo, QStringLiteral("b"));
    EXPECT_EQ(editText(), QString());
    EXPECT_EQ(m_combo.currentIndex(), -1);

    replacement = u'L';
    typeText(m_combo, QStringLiteral("x"));
    EXPECT_EQ(editText(), QStringLiteral("Lime"));
}

TEST_F(FramedComboTest, MaxLengthRefusesFurtherCharactersWithABeep)
{
    m_combo.SetMaxLength(3);
    typeText(m_combo, QStringLiteral("xyz"));
    EXPECT_EQ(editText(), QStringLiteral("xyz"));
    typeText(m_combo, QStringLiteral("w"));
    EXPECT_EQ(editText(), QStringLiteral("xyz"));
    EXPECT_EQ(m_fake.beep.beeps.size(), 1u);
}

TEST_F(FramedComboTest, PastedTextIsCompleted)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("li"));
    m_combo.setCurrentIndex(-1);
    pressKey(m_combo, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    EXPECT_EQ(editText(), QStringLiteral("Lime"));
    EXPECT_EQ(selectedText(), QStringLiteral("me"));
    EXPECT_EQ(m_combo.currentIndex(), 2);
    EXPECT_EQ(m_events.match, 1);
}

TEST_F(FramedComboTest, LeavingWithATextThatIsNoItem)
{
    m_combo.setEditText(QStringLiteral("lime"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&m_combo, &leave);
    EXPECT_EQ(m_combo.currentIndex(), 2);
    EXPECT_EQ(m_events.notInList, 0);

    m_combo.setEditText(QStringLiteral("Mauve"));
    QCoreApplication::sendEvent(&m_combo, &leave);
    EXPECT_EQ(m_events.notInList, 1);

    // The open list taking the focus is no leaving.
    QFocusEvent toPopup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(&m_combo, &toPopup);
    EXPECT_EQ(m_events.notInList, 1);
}

TEST_F(FramedComboTest, WheelStepsThroughTheItemsAndStopsAtTheEnds)
{
    m_combo.setCurrentIndex(0);
    turnWheel(m_combo, true); // at the first item: nothing
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_events.change, 0);
    turnWheel(m_combo, false);
    turnWheel(m_combo, false);
    EXPECT_EQ(m_combo.currentIndex(), 2);
    EXPECT_EQ(m_events.change, 2);
    EXPECT_EQ(m_events.click, 2);
    turnWheel(m_combo, false); // at the last item: nothing
    EXPECT_EQ(m_combo.currentIndex(), 2);
    EXPECT_EQ(m_events.change, 2);
    turnWheel(m_combo, true);
    EXPECT_EQ(m_combo.currentIndex(), 1);
    EXPECT_EQ(m_events.change, 3);

    m_combo.setCurrentIndex(-1);
    turnWheel(m_combo, true); // before the first item: item 0, quietly
    EXPECT_EQ(m_combo.currentIndex(), 0);
    EXPECT_EQ(m_events.change, 3);
}

TEST_F(FramedComboTest, FlatFrameFollowsFocusAndMouse)
{
    m_combo.SetFrameFlat(true);
    EXPECT_TRUE(m_combo.FrameVisible());
    EXPECT_FALSE(m_combo.hasFrame()); // the own frame replaces the style's
    EXPECT_EQ(m_combo.FrameStyle(), TFrameStyle::fsStatus);

    m_combo.HotStateUpdate(true, true);
    EXPECT_EQ(m_combo.FrameStyle(), TFrameStyle::fsLowered);
    EXPECT_EQ(m_events.mouseEnter, 1);
    m_combo.HotStateUpdate(false, true);
    m_combo.HotStateUpdate(true, false);
    EXPECT_EQ(m_combo.FrameStyle(), TFrameStyle::fsLowered); // still focused
    EXPECT_EQ(m_events.mouseLeave, 1);
    m_combo.HotStateUpdate(true, true);
    m_combo.HotStateUpdate(false, false); // leaving focus also ends the mouse-over
    EXPECT_FALSE(m_combo.MouseOver());
    EXPECT_EQ(m_combo.FrameStyle(), TFrameStyle::fsStatus);

    m_combo.SetFrameVisible(false);
    EXPECT_TRUE(m_combo.hasFrame());
}

TEST_F(FramedComboTest, OwnFramePaintsOverTheStyle)
{
    QPalette palette = m_combo.palette();
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(10, 20, 30));  // clBtnShadow
    palette.setColor(QPalette::Active, QPalette::Base, QColor(250, 240, 0)); // clWindow
    palette.setColor(QPalette::Inactive, QPalette::Base, QColor(250, 240, 0));
    m_combo.setPalette(palette);
    m_combo.resize(120, 22);
    m_combo.SetFrameVisible(true);
    const QImage image = m_combo.grab().toImage();
    const QColor frame(10, 20, 30), fill(250, 240, 0);
    EXPECT_EQ(QColor(image.pixel(0, 0)), frame);
    EXPECT_EQ(QColor(image.pixel(119, 10)), frame);
    EXPECT_EQ(QColor(image.pixel(1, 10)), fill); // the inner ring in Color
    EXPECT_EQ(QColor(image.pixel(60, 20)), fill);

    // The flat button: filled with Color, with a black arrow pointing down.
    const int scrollBar = m_combo.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &m_combo);
    const int left = 120 - scrollBar - 2;
    const int cx = left + scrollBar / 2 - 1;
    const int cy = 2 + 22 / 2;
    EXPECT_EQ(QColor(image.pixel(left + 1, 3)), fill);
    EXPECT_EQ(QColor(image.pixel(cx, cy - 1)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(cx, cy - 4)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(cx - 4, cy - 1)), fill);
}

TEST_F(FramedComboTest, DropDownWidthWidensTheList)
{
    m_combo.SetDropDownWidth(300);
    EXPECT_EQ(m_combo.view()->minimumWidth(), 300);
    m_combo.SetDropDownWidth(0);
    EXPECT_EQ(m_combo.view()->minimumWidth(), 0);
}

TEST(FramedComboListTest, TheListShowsEightItemsWhateverTheStyle)
{
    testing::FakeSeams fake;
    TCustomFramedComboBox combo(nullptr, fake.seams());
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    for (int i = 0; i < 40; ++i)
        combo.addItem(QStringLiteral("Item %1").arg(i));
    combo.show();
    combo.showPopup();
    ASSERT_TRUE(combo.DroppedDown());
    const int row = combo.view()->sizeHintForRow(0);
    EXPECT_LE(combo.view()->parentWidget()->height(), 10 * row);
    combo.hidePopup();
}

TEST(FramedComboEmptyTest, AnEmptyComboOpensNoList)
{
    testing::FakeSeams fake;
    TCustomFramedComboBox combo(nullptr, fake.seams());
    combo.show();
    combo.showPopup();
    EXPECT_FALSE(combo.DroppedDown());
    combo.HotStateUpdate(true, true); // so hot tracking still works
    EXPECT_TRUE(combo.MouseOver());
}

} // namespace
} // namespace wharf
