#include "ctlproperties.h"

#include "designerfixture.h"
#include "editclb.h"
#include "fontdialog.h"
#include "scriptmemo.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {

class CtlPropertiesTest : public DesignerFixture {
protected:
    Tfrm_CtlProperties &dialog() { return designer->ctlProperties(); }

    // Opens the dialog for the control at index through the Edit menu;
    // change runs while it is shown, then OK (or Cancel) is pressed.
    int edit(size_t index, std::function<void(Tfrm_CtlProperties &)> change, bool pressOk = true)
    {
        main().CtlClick(static_cast<long>(index));
        handlers["frm_CtlProperties"] = [change, pressOk](QDialog &d) {
            auto &form = static_cast<Tfrm_CtlProperties &>(d);
            if (change)
                change(form);
            if (pressOk)
                return ok(form);
            form.B_Cancel->click();
            return form.result();
        };
        return dialog().ShowModal();
    }

    std::vector<std::vector<QString>> gridRows()
    {
        std::vector<std::vector<QString>> rows;
        QTableWidget *grid = dialog().SG_CLBItems;
        for (int r = 0; r < grid->rowCount(); ++r) {
            std::vector<QString> row;
            for (int c = 0; c < 3; ++c)
                row.push_back(grid->item(r, c) ? grid->item(r, c)->text() : QString());
            rows.push_back(row);
        }
        return rows;
    }
};

// The fields are made in another order than they stand; Tab follows where
// they stand, so a hint typed after the name lands in the Hint box, which
// shows a long hint from its start.
TEST_F(CtlPropertiesTest, TabFromTheNameGoesToTheHintWhichShowsItsStart)
{
    const std::string hint = "Type the name of the folder the program is installed into, or choose one";
    const size_t i = addControl({"Type=0", "Name=Edit1", "Left=8", "Top=8", "Width=121", "Height=21", "Hint=" + hint});
    main().CtlClick(static_cast<long>(i));
    Tfrm_CtlProperties &f = dialog();
    f.FormShow();
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.E_Hint->text(), QString::fromStdString(hint));
    EXPECT_EQ(f.E_Hint->cursorPosition(), 0);

    f.E_Name->setFocus();
    for (QWidget *expected : std::initializer_list<QWidget *>{f.E_Hint, f.SE_Left, f.SE_Top}) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(f.focusWidget(), &tab);
        QWidget *now = f.focusWidget();
        EXPECT_TRUE(now == expected || now->focusProxy() == expected || expected->focusProxy() == now)
            << now->objectName().toStdString() << " instead of " << expected->objectName().toStdString();
    }
    f.hide();
}

TEST_F(CtlPropertiesTest, OkReplacesKeysInPlaceAndAppendsNewOnes)
{
    const size_t i = addControl({"Type=0", "Name=Edit1", "Left=10", "Top=20", "Width=100", "Height=21",
                                 "Custom=keep", "Text=old"});
    main().SetModified(false);
    EXPECT_EQ(edit(i, [](Tfrm_CtlProperties &f) {
        EXPECT_EQ(f.E_EditText->text(), "old");
        EXPECT_EQ(f.E_PWChar->text(), ""); // no PWChar key
        f.E_EditText->setText("new");
        f.SE_Left->setValue(30);
        f.SM_ChangeFunc->setLines({"Exit;"});
    }), QDialog::Accepted);

    const TStringList &keys = keysOf(i);
    ASSERT_GE(keys.size(), 9u);
    const TStringList head(keys.begin(), keys.begin() + 9);
    EXPECT_EQ(head, (TStringList{"[Controls]", "Type=0", "Name=Edit1", "Left=30", "Top=20", "Width=100", "Height=21",
                                 "Custom=keep", "Text=new"}));
    const TStringList tail(keys.begin() + 9, keys.end());
    EXPECT_EQ(tail, (TStringList{"Hint=", "Enabled=1", "ClickFuncCount=0", "Visible=1", "FontName=MS Sans Serif",
                                 "FontSize=8", "FontColor=0", "FontStyle=0", "PWChar= ", "ReadOnly=0",
                                 "ChangeFuncCount=1", "ChangeFuncLine0=Exit;"}));
    EXPECT_TRUE(main().document().modified());
    EXPECT_EQ(main().selectedControl(), long(i));
    EXPECT_EQ(main().pictureOf(i)->geometry().topLeft(), QPoint(30, 20));
}

// Every list field and script: lines set into the key list come back
// unchanged after an OK, also those a memo can't show apart (one empty line,
// a last empty line), and an untouched OK leaves the whole list byte-identical,
// its closing empty line included.
TEST_F(CtlPropertiesTest, ListFieldsKeepTheirLinesThroughOk)
{
    struct Case {
        int type;
        const char *stem;
    };
    const Case fields[] = {{ctComboBox, "Items"}, {ctRadioGroup, "Items"}, {ctListBox, "Items"},
                           {ctChkListBox, "Items"}, {ctRichEdit, "Text"},  {ctEdit, "ClickFunc"},
                           {ctButton, "ClickFunc"}, {ctEdit, "ChangeFunc"}, {ctComboBox, "ChangeFunc"},
                           {ctRichEdit, "ChangeFunc"}};
    const TStringList values[] = {{"x", ""}, {""}, {"", ""}, {"a", "", "b"}, {}};
    for (const Case &field : fields)
        for (const TStringList &lines : values) {
            SCOPED_TRACE(std::to_string(field.type) + " " + field.stem + " " + std::to_string(lines.size()));
            const size_t i = addControl({"Type=" + std::to_string(field.type)});
            ASSERT_EQ(edit(i, {}), QDialog::Accepted); // every key the dialog writes is there now
            TStringList keys = keysOf(i);
            TKeyListStore store(keys);
            WriteScriptLines(store, kKeyListSection, lines, field.stem);
            keys.push_back("");
            main().BuildControl(keys, i);
            const TStringList before = keysOf(i);

            ASSERT_EQ(edit(i, {}), QDialog::Accepted);
            EXPECT_EQ(keysOf(i), before);
            // With another field changed the list still keeps its lines.
            ASSERT_EQ(edit(i, [](Tfrm_CtlProperties &f) { f.E_Hint->setText("changed"); }), QDialog::Accepted);
            TStringList after = keysOf(i);
            EXPECT_EQ(after.back(), "");
            EXPECT_EQ(ReadScriptLines(TKeyListStore(after), kKeyListSection, field.stem, after.size()), lines);
        }
}

TEST_F(CtlPropertiesTest, CancelChangesNothing)
{
    const size_t i = addControl({"Type=1", "Name=Button1", "Caption=Go"});
    main().SetModified(false);
    const TStringList before = keysOf(i);
    EXPECT_EQ(edit(i, [](Tfrm_CtlProperties &f) {
        f.E_ButtonCaption->setText("Stop");
        f.E_Name->setText("Other");
    }, false), QDialog::Rejected);
    EXPECT_EQ(keysOf(i), before);
    EXPECT_FALSE(main().document().modified());
    // The next showing starts from the key list again.
    edit(i, [](Tfrm_CtlProperties &f) { EXPECT_EQ(f.E_ButtonCaption->text(), "Go"); }, false);
}

TEST_F(CtlPropertiesTest, PagesTabsAndFontButtonFollowTheType)
{
    for (int type = 0; type < kControlTypeCount; ++type) {
        SCOPED_TRACE(type);
        const size_t i = addControl({"Type=" + std::to_string(type)});
        edit(i, [type](Tfrm_CtlProperties &f) {
            EXPECT_EQ(f.CtlBook->currentIndex(), type);
            const bool change = type == 0 || type == 4 || type == 6;
            EXPECT_EQ(f.PC_Scripts->isTabVisible(1), change);
            EXPECT_EQ(f.PC_Scripts->tabText(0),
                      type == 0 || type == 6 ? "Script for RETURN/Exit event" : "Script for Click event");
            EXPECT_EQ(f.B_Font->isEnabled(), type != 9 && type != 10);
        }, false);
    }
    // A type the designer does not know is edited as an edit box.
    const size_t odd = addControl({"Type=42"});
    edit(odd, [](Tfrm_CtlProperties &f) { EXPECT_EQ(f.CtlBook->currentIndex(), 0); }, false);
}

TEST_F(CtlPropertiesTest, EveryPageWritesItsKeys)
{
    struct Case {
        TStringList keys;
        std::function<void(Tfrm_CtlProperties &)> change;
        std::vector<std::pair<const char *, const char *>> expected;
    };
    const Case cases[] = {
        {{"Type=0", "PWChar= "}, [](auto &f) { EXPECT_EQ(f.E_PWChar->text(), " "); f.E_PWChar->setText("*"); },
         {{"PWChar", "*"}}},
        {{"Type=1"}, [](auto &f) { f.E_ButtonCaption->setText("&OK"); f.Ch_BDefault->setChecked(true); },
         {{"Caption", "&OK"}, {"Default", "1"}, {"Cancel", "0"}}},
        {{"Type=2", "WordWrap=1"}, [](auto &f) { EXPECT_TRUE(f.Ch_LabelWordWrap->isChecked()); f.Ch_LabelTransparent->setChecked(true); },
         {{"WordWrap", "1"}, {"Transparent", "1"}}},
        {{"Type=3"}, [](auto &f) { f.Ch_CheckboxChecked->setChecked(true); }, {{"Checked", "1"}, {"Caption", ""}}},
        {{"Type=4"}, [](auto &f) {
             EXPECT_TRUE(f.Ch_ComboAllowInput->isChecked());
             EXPECT_EQ(f.SE_ComboSelItem->value(), -1);
             f.M_ComboItems->setPlainText("a\nb\n");
             f.SE_ComboSelItem->setValue(1);
         },
         {{"ItemsCount", "2"}, {"ItemsLine1", "b"}, {"ItemIndex", "1"}, {"CanEdit", "1"}, {"ChangeFuncCount", "0"}}},
        {{"Type=5", "ItemsCount=1", "ItemsLine0=x"}, [](auto &f) { EXPECT_EQ(f.M_RGItems->toPlainText(), "x"); f.E_RGCaption->setText("Group"); },
         {{"Caption", "Group"}, {"ItemsCount", "1"}, {"ItemIndex", "-1"}}},
        {{"Type=6"}, [](auto &f) {
             EXPECT_TRUE(f.Ch_REWordWrap->isChecked());
             f.RE_RELines->setPlainText("one\ntwo");
             f.ch_HorzScrollBar->setChecked(true);
             f.Ch_VertScrollBar->setChecked(true);
             f.E_REFileName->setText("readme.txt");
         },
         {{"TextCount", "2"}, {"TextLine0", "one"}, {"ScrollBars", "3"}, {"FileName", "readme.txt"}, {"WordWrap", "1"}}},
        {{"Type=6", "ScrollBars=2"}, [](auto &f) { EXPECT_FALSE(f.ch_HorzScrollBar->isChecked()); EXPECT_TRUE(f.Ch_VertScrollBar->isChecked()); },
         {{"ScrollBars", "2"}}},
        {{"Type=6", "ScrollBars=3"}, [](auto &f) { f.Ch_VertScrollBar->setChecked(false); }, {{"ScrollBars", "1"}}},
        {{"Type=6"}, {}, {{"ScrollBars", "0"}, {"TextCount", "0"}}},
        {{"Type=7", "ItemIndex=0"}, [](auto &f) { f.M_LBItems->setPlainText("only"); }, {{"ItemsCount", "1"}, {"ItemIndex", "0"}}},
        {{"Type=9"}, [](auto &f) { EXPECT_EQ(f.SE_PBMaxValue->value(), 100); f.SE_PBPosition->setValue(-5); },
         {{"Position", "-5"}, {"MinValue", "0"}, {"MaxValue", "100"}, {"Smooth", "0"}}},
        {{"Type=10", "Autosize=0"}, [](auto &f) { EXPECT_FALSE(f.Ch_IAutosize->isChecked()); f.Ch_IStretch->setChecked(true); },
         {{"Autosize", "0"}, {"Stretch", "1"}, {"FileName", ""}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys[0]);
        const size_t i = addControl(c.keys);
        ASSERT_EQ(edit(i, c.change), QDialog::Accepted);
        for (const auto &[key, value] : c.expected)
            EXPECT_EQ(keyOf(i, key), value) << key;
    }
}

TEST_F(CtlPropertiesTest, SingleLineFieldsTakeNoLineBreaks)
{
    const size_t i = addControl({"Type=0", "Name=Edit1"});
    edit(i, [](Tfrm_CtlProperties &f) {
        f.E_Hint->setText("first\r\nsecond");
        f.E_EditText->setText("a\nb\rc");
    });
    EXPECT_EQ(keyOf(i, "Hint"), "first second");
    EXPECT_EQ(keyOf(i, "Text"), "a b c");
    for (const std::string &line : keysOf(i))
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
}

TEST_F(CtlPropertiesTest, NamesOfLettersDigitsAndUnderscoresOnly)
{
    addControl({"Type=1", "Name=Button1"});
    const size_t i = addControl({"Type=0", "Name=Edit1"});
    // Taken as typed, also a change of case of the control's own name.
    for (const char *good : {"E_Name2", "_x", "2nd", "EDIT1"}) {
        SCOPED_TRACE(good);
        fake.messages.shown.clear();
        EXPECT_EQ(edit(i, [good](Tfrm_CtlProperties &f) { f.E_Name->setText(QString::fromUtf8(good)); }),
                  QDialog::Accepted);
        EXPECT_EQ(keyOf(i, "Name"), good);
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_NE(main().findChild<QLabel *>(QStringLiteral("CC_") + QString::fromUtf8(good)), nullptr);
    }
    // An emptied name is generated, as for a control that comes without one.
    EXPECT_EQ(edit(i, [](Tfrm_CtlProperties &f) { f.E_Name->clear(); }), QDialog::Accepted);
    EXPECT_EQ(keyOf(i, "Name"), "Edit2");

    // A name in use (in any case), one outside the rule (a line break turns
    // into a blank) and text a dialog file can't store are refused.
    const TStringList before = keysOf(i);
    for (const char *bad : {"button1", "My field, 2", "two words", "x-y", "\xC3\x84rger", "a\nb", "\xE5\x90\x8D"}) {
        SCOPED_TRACE(bad);
        fake.messages.shown.clear();
        EXPECT_EQ(edit(i, [bad](Tfrm_CtlProperties &f) { f.E_Name->setText(QString::fromUtf8(bad)); }),
                  QDialog::Rejected);
        EXPECT_EQ(keysOf(i), before);
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    }

    // A control loaded with a name outside the rule keeps it through an OK
    // that leaves the name, and takes a sound one.
    TDialogContents contents;
    contents.controls.push_back({"[Controls]", "Type=2", "Name=My field, 2", "Caption=Old"});
    const std::string path = dir.file("odd.ddf");
    ASSERT_TRUE(writeFile(path, encodeDialogFile(contents)));
    main().LoadDialogFile(QString::fromStdString(path));
    ASSERT_EQ(main().document().controlCount(), 1u);
    fake.messages.shown.clear();
    EXPECT_EQ(edit(0, [](Tfrm_CtlProperties &f) { f.E_LabelCaption->setText("New"); }), QDialog::Accepted);
    EXPECT_EQ(keyOf(0, "Name"), "My field, 2");
    EXPECT_EQ(keyOf(0, "Caption"), "New");
    EXPECT_EQ(edit(0, [](Tfrm_CtlProperties &f) { f.E_Name->setText("My_field_2"); }), QDialog::Accepted);
    EXPECT_EQ(keyOf(0, "Name"), "My_field_2");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(CtlPropertiesTest, FontDialogKeepsWhatTheAuthorLeaves)
{
    // A system colour and a font this machine does not have.
    const size_t i = addControl({"Type=2", "FontName=MS Sans Serif", "FontSize=8", "FontColor=-2147483630",
                                 "FontStyle=16"});
    const auto fontDialog = [this](std::function<void(TFontDialog &)> change, bool pressOk) {
        handlers["FontDialog"] = [change, pressOk](QDialog &d) {
            auto &f = static_cast<TFontDialog &>(d);
            change(f);
            if (pressOk)
                return ok(f);
            f.B_Cancel->click();
            return f.result();
        };
    };
    fontDialog([](TFontDialog &f) {
        EXPECT_EQ(f.CB_FontName->currentText(), "MS Sans Serif");
        f.Ch_Bold->setChecked(true);
    }, true);
    edit(i, [](Tfrm_CtlProperties &f) { f.B_Font->click(); });
    EXPECT_EQ(keyOf(i, "FontName"), "MS Sans Serif");
    EXPECT_EQ(keyOf(i, "FontColor"), "-2147483630");
    EXPECT_EQ(keyOf(i, "FontStyle"), "17");

    // A colour chosen in the colour dialog replaces it; a cancelled font
    // dialog keeps everything.
    fake.colorDialogs.results = {ColorDialogResult{true, QColor(255, 0, 0), {}}};
    fontDialog([](TFontDialog &f) {
        f.B_Color->click();
        f.SE_FontSize->setValue(12);
    }, true);
    edit(i, [](Tfrm_CtlProperties &f) { f.B_Font->click(); });
    EXPECT_EQ(keyOf(i, "FontColor"), "255");
    EXPECT_EQ(keyOf(i, "FontSize"), "12");
    fontDialog([](TFontDialog &f) { f.SE_FontSize->setValue(30); }, false);
    edit(i, [](Tfrm_CtlProperties &f) { f.B_Font->click(); });
    EXPECT_EQ(keyOf(i, "FontSize"), "12");
}

TEST_F(CtlPropertiesTest, CheckListGrid)
{
    const size_t i = addControl({"Type=8", "ItemsCount=3", "ItemsLine0=a", "ItemsLine1=b", "ItemsLine2=c",
                                 "Items0Checked=1", "Items1Enabled=0"});
    const auto itemDialog = [this](std::function<void(Tfrm_EditCLB &)> change, bool pressOk) {
        handlers["frm_EditCLB"] = [change, pressOk](QDialog &d) {
            auto &f = static_cast<Tfrm_EditCLB &>(d);
            change(f);
            if (pressOk)
                return ok(f);
            f.B_Cancel->click();
            return f.result();
        };
    };
    using Rows = std::vector<std::vector<QString>>;
    edit(i, [&](Tfrm_CtlProperties &f) {
        // An item without its Enabled key shows as enabled.
        EXPECT_EQ(gridRows(), (Rows{{"a", "Yes", "Yes"}, {"b", "No", "No"}, {"c", "No", "Yes"}, {"", "", ""}}));

        itemDialog([](Tfrm_EditCLB &d) {
            EXPECT_TRUE(d.Ch_ItemEnabled->isChecked());
            d.E_ItemCaption->setText("dropped");
        }, false);
        f.B_Add->click();
        EXPECT_EQ(gridRows().size(), 4u);

        itemDialog([](Tfrm_EditCLB &d) {
            d.E_ItemCaption->setText("d");
            d.Ch_ItemChecked->setChecked(true);
        }, true);
        f.B_Add->click();
        ASSERT_EQ(gridRows().size(), 5u);
        EXPECT_EQ(gridRows()[3], (std::vector<QString>{"d", "Yes", "Yes"}));

        f.SG_CLBItems->setCurrentCell(3, 0);
        f.B_Up->click(); // a b d c
        EXPECT_EQ(f.SG_CLBItems->currentRow(), 2);
        f.SG_CLBItems->setCurrentCell(0, 0);
        f.B_Up->click(); // the first item stays
        f.B_Down->click(); // b a d c
        f.SG_CLBItems->setCurrentCell(3, 0);
        f.B_Down->click(); // the last item stays
        f.SG_CLBItems->setCurrentCell(4, 0);
        EXPECT_FALSE(f.B_Edit->isEnabled());
        EXPECT_FALSE(f.B_Delete->isEnabled());
        f.B_Up->click(); // the empty row is no item
        f.B_Delete->click();
        EXPECT_EQ(gridRows().size(), 5u);

        f.SG_CLBItems->setCurrentCell(1, 0);
        EXPECT_TRUE(f.B_Delete->isEnabled());
        f.B_Delete->click(); // b d c
        itemDialog([](Tfrm_EditCLB &d) {
            EXPECT_EQ(d.E_ItemCaption->text(), "b");
            d.Ch_ItemEnabled->setChecked(true);
        }, true);
        f.SG_CLBItems->setCurrentCell(0, 0);
        f.B_Edit->click();
    });
    EXPECT_EQ(keyOf(i, "ItemsCount"), "3");
    for (const auto &[key, value] : std::vector<std::pair<const char *, const char *>>{
             {"ItemsLine0", "b"}, {"Items0Enabled", "1"}, {"ItemsLine1", "d"}, {"Items1Checked", "1"},
             {"ItemsLine2", "c"}, {"Items2Checked", "0"}, {"Items2Enabled", "1"}})
        EXPECT_EQ(keyOf(i, key), value) << key;

    // Without items only the empty row shows, and OK stores a count of 0.
    const size_t empty = addControl({"Type=8"});
    edit(empty, [&](Tfrm_CtlProperties &) { EXPECT_EQ(gridRows(), (Rows{{"", "", ""}})); });
    EXPECT_EQ(keyOf(empty, "ItemsCount"), "0");
}

} // namespace
