#include "drawobject.h"

#include "dialogfile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTextEdit>

using namespace wharf;

class DrawObjectTest : public ::testing::Test {
protected:
    Tfrm_DrawObject drawObject;

    template <typename T> T *proto(int type) { return qobject_cast<T *>(drawObject.prototype(type)); }
};

TEST_F(DrawObjectTest, EveryTypeRendersAtItsSize)
{
    for (int t = -1; t <= kControlTypeCount; ++t) {
        const QPixmap p = drawObject.renderControl({"[Controls]", "Type=" + std::to_string(t), "Caption=x",
                                                    "ItemsCount=2", "ItemsLine0=a", "ItemsLine1=b"},
                                                   60 + t, 30);
        EXPECT_EQ(p.size(), QSize(60 + t, 30)) << t;
    }
    EXPECT_FALSE(drawObject.isVisible());
    EXPECT_EQ(drawObject.prototype(11), nullptr);
}

TEST_F(DrawObjectTest, PrototypesTakeTheKeys)
{
    drawObject.renderControl({"[Controls]", "Type=0", "Text=secret", "PWChar=*", "ReadOnly=1", "Enabled=0"}, 50, 20);
    EXPECT_EQ(proto<QLineEdit>(ctEdit)->text(), "******");
    EXPECT_TRUE(proto<QLineEdit>(ctEdit)->isReadOnly());
    EXPECT_FALSE(proto<QLineEdit>(ctEdit)->isEnabled());
    // A blank or missing password character shows the text.
    drawObject.renderControl({"[Controls]", "Text=open", "PWChar= "}, 50, 20);
    EXPECT_EQ(proto<QLineEdit>(ctEdit)->text(), "open");
    EXPECT_TRUE(proto<QLineEdit>(ctEdit)->isEnabled());
    drawObject.renderControl({"[Controls]", "Type=99", "Text=odd"}, 50, 20);
    EXPECT_EQ(proto<QLineEdit>(ctEdit)->text(), "odd");

    drawObject.renderControl({"[Controls]", "Type=4", "ItemsCount=2", "ItemsLine0=a", "ItemsLine1=b", "ItemIndex=1",
                              "CanEdit=0"},
                             80, 21);
    EXPECT_EQ(proto<QComboBox>(ctComboBox)->count(), 2);
    EXPECT_EQ(proto<QComboBox>(ctComboBox)->currentText(), "b");
    EXPECT_FALSE(proto<QComboBox>(ctComboBox)->isEditable());

    drawObject.renderControl({"[Controls]", "Type=5", "ItemsCount=3", "ItemsLine0=a", "ItemsLine1=b",
                              "ItemsLine2=c", "ItemIndex=2"},
                             80, 80);
    const auto radios = drawObject.prototype(ctRadioGroup)->findChildren<QRadioButton *>();
    ASSERT_EQ(radios.size(), 3);
    EXPECT_TRUE(radios[2]->isChecked());

    drawObject.renderControl({"[Controls]", "Type=6", "TextCount=2", "TextLine0=one", "TextLine1=two",
                              "ScrollBars=3", "WordWrap=0"},
                             80, 80);
    EXPECT_EQ(proto<QTextEdit>(ctRichEdit)->toPlainText(), "one\ntwo");
    EXPECT_EQ(proto<QTextEdit>(ctRichEdit)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(proto<QTextEdit>(ctRichEdit)->lineWrapMode(), QTextEdit::NoWrap);

    // Check list items: checked and enabled per item, enabled when the key is missing.
    drawObject.renderControl({"[Controls]", "Type=8", "ItemsCount=2", "ItemsLine0=a", "ItemsLine1=b",
                              "Items0Checked=1", "Items1Enabled=0"},
                             80, 80);
    QListWidget *list = proto<QListWidget>(ctChkListBox);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_TRUE(list->item(0)->flags().testFlag(Qt::ItemIsEnabled));
    EXPECT_FALSE(list->item(1)->flags().testFlag(Qt::ItemIsEnabled));

    drawObject.renderControl({"[Controls]", "Type=9", "Position=150", "MinValue=10", "MaxValue=200"}, 80, 16);
    EXPECT_EQ(proto<QProgressBar>(ctProgressBar)->value(), 150);
    EXPECT_EQ(proto<QProgressBar>(ctProgressBar)->minimum(), 10);
}

TEST_F(DrawObjectTest, OpaqueControlsShowTheWhiteSurface)
{
    // Past their texts an opaque label and a check box are as white as the
    // surface they stand on.
    for (const char *type : {"Type=2", "Type=3"}) {
        const QImage image = drawObject.renderControl({"[Controls]", type, "Caption=x"}, 120, 20).toImage();
        EXPECT_EQ(image.pixelColor(115, 17), QColor(Qt::white)) << type;
    }
}

TEST_F(DrawObjectTest, ImagesAreGreyPlaceholders)
{
    const QImage image = drawObject.renderControl({"[Controls]", "Type=10", "FileName=/no/such.bmp"}, 40, 30).toImage();
    EXPECT_EQ(image.pixelColor(20, 15), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(39, 29), QColor(Qt::black));
}

// A radio group at the height the stock pages give two items: every item
// gets the height its text needs, inside the group.
TEST_F(DrawObjectTest, RadioItemsKeepTheRoomOfTheirText)
{
    drawObject.renderControl({"[Controls]", "Type=5", "Caption=Do you accept all the terms of the agreement?",
                              "ItemsCount=2", "ItemsLine0=I &accept the agreement",
                              "ItemsLine1=I do &not accept the agreement", "ItemIndex=1"},
                             305, 65);
    QWidget *group = drawObject.prototype(ctRadioGroup);
    const auto radios = group->findChildren<QRadioButton *>();
    ASSERT_EQ(radios.size(), 2);
    for (const QRadioButton *radio : radios) {
        EXPECT_GE(radio->height(), radio->sizeHint().height()) << radio->text().toStdString();
        EXPECT_GE(radio->width(), radio->sizeHint().width()) << radio->text().toStdString();
        EXPECT_TRUE(group->contentsRect().contains(radio->geometry())) << radio->text().toStdString();
    }
}
