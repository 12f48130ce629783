#include "iconspage.h"

#include "editorfixture.h"
#include "entryicon.h"
#include "iconeditor.h"
#include "imagelist.h"
#include "mainform.h"
#include "pagetable.h"
#include "paths.h"
#include "projectcontroller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>

namespace wharf {
namespace {

TEST(HotKeyTest, EncodingAndDecodingTable)
{
    struct Case {
        int item;
        QString character;
        uint16_t stored;
    };
    const Case cases[] = {
        {hkCtrl, QStringLiteral("k"), 587},              // shown and stored as K
        {hkAlt, QStringLiteral("A"), 4 * 256 + 65},
        {hkShift, QStringLiteral("1"), 1 * 256 + 49},
        {hkCtrl, QStringLiteral("\u00e4"), 2 * 256 + 0xC4}, // upper case of a Latin letter
        {hkCtrl, QStringLiteral("\u20ac"), 2 * 256 + 0x80}, // the euro sign's Windows-1252 code
        {hkCtrl, QStringLiteral("\u00ff"), 2 * 256 + 0x9F}, // its upper case lies in 0x80..0x9F
        {hkCtrl, QStringLiteral("\u00b5"), 2 * 256 + 0xB5}, // upper case not storable: kept
        {hkShift, QString(), 0},                         // a modifier without a key is no hot key
        {hkNone, QStringLiteral("K"), 0},                // a key without a modifier neither
        {hkCtrl, QStringLiteral("\u03a9"), 0},           // no Windows-1252 code
        {hkCtrl, QStringLiteral("ab"), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EncodeHotKey(c.item, c.character), c.stored) << c.item << " " << c.character.toStdString();

    EXPECT_EQ(HotKeyItemOf(587), hkCtrl);
    EXPECT_EQ(HotKeyCharOf(587), QStringLiteral("K"));
    EXPECT_EQ(HotKeyItemOf(0x0141), hkShift);
    EXPECT_EQ(HotKeyItemOf(0x0441), hkAlt);
    EXPECT_EQ(HotKeyItemOf(0x0341), hkNone); // no single modifier
    EXPECT_EQ(HotKeyCharOf(0x0280), QStringLiteral("\u20ac"));
    // A stored modifier alone shows an empty key, not a NUL character.
    EXPECT_EQ(HotKeyItemOf(4), hkNone);
    EXPECT_TRUE(HotKeyCharOf(0x0200).isEmpty());
    // Nor a control code such as an older build's lone ALT (4): E_Char
    // would hold an invisible character the author could not type over.
    for (uint16_t stored : {4, 0x0201, 0x021F, 0x027F})
        EXPECT_TRUE(HotKeyCharOf(stored).isEmpty()) << stored;
}

class IconsPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override { start(); }

    TMainForm &form() { return *windows.MainForm; }
    TIconsPage &page() { return *qobject_cast<TIconsPage *>(form().page(kIconsPage)); }
    TIconEditor &editor() { return *windows.IconEditor; }
    Project &doc() { return form().controller().document(); }

    // Files of the project: {app}\tool.exe is a program with two icon
    // groups, {app}\readme.txt has no icon of its own.
    void addProjectFiles()
    {
        GroupEntry group;
        group.Name = "Main";
        FileEntry tool;
        tool.Source = joinPath(WHARF_FIXTURE_DIR, "twoicons.exe");
        tool.Destination = "{app}\\tool.exe";
        FileEntry readme;
        readme.Source = joinPath(WHARF_FIXTURE_DIR, "one.ico");
        readme.Destination = "{app}\\sub\\app.ico";
        group.Files = {tool, readme};
        doc().Groups.push_back(group);
    }

    // Runs the dialog with edit, then OK (or Cancel when ok is false).
    void answer(std::function<void(TIconEditor &)> edit, bool ok = true)
    {
        fake.modal.handler = [edit, ok](QDialog &dialog) {
            auto &e = static_cast<TIconEditor &>(dialog);
            if (edit)
                edit(e);
            (ok ? e.B_OK : e.B_Cancel)->click();
            return e.result();
        };
    }
};

TEST_F(IconsPageTest, TheDialogLoadsTheSelectedShortcutAndOkWritesItBack)
{
    addProjectFiles();
    ShortcutEntry entry;
    entry.Title = "Tool";
    entry.Path = "{prg}\\Tools";
    entry.Params = "/quiet";
    entry.Target = "{app}\\tool.exe";
    entry.Location = "{app}\\tool.exe";
    entry.WorkDir = "{app}";
    entry.ShowMode = 2;
    entry.HotKey = 0x0200; // CTRL stored without a key by an older build
    entry.IconIndex = 1;
    entry.TargetSystems = 2049;
    doc().Shortcuts.push_back(entry);
    doc().Selection.Shortcut = 0;
    page().load();
    EXPECT_TRUE(page().B_EditIcon->isEnabled());
    EXPECT_EQ(page().itemImageIndex(0), 1);
    form().controller().SetModified(false);

    answer([](TIconEditor &e) {
        EXPECT_EQ(e.windowTitle(), QStringLiteral("Icon properties"));
        EXPECT_EQ(e.CB_IconTarget->count(), 2);
        EXPECT_EQ(e.CB_IconTarget->itemText(1), QStringLiteral("{app}\\sub\\app.ico"));
        EXPECT_EQ(e.E_Location->text(), QStringLiteral("{prg}\\Tools"));
        EXPECT_EQ(e.E_Parameters->text(), QStringLiteral("/quiet"));
        EXPECT_EQ(e.CB_IconTarget->currentText(), QStringLiteral("{app}\\tool.exe"));
        EXPECT_EQ(e.E_IconTitle->text(), QStringLiteral("Tool"));
        EXPECT_EQ(e.CB_ShowMode->currentIndex(), 2);
        EXPECT_EQ(e.CB_HotKey->currentText(), QStringLiteral("CTRL"));
        EXPECT_TRUE(e.E_Char->text().isEmpty());
        EXPECT_TRUE(e.E_Char->isEnabled());
        EXPECT_EQ(e.SE_IconIndex->value(), 1);
        EXPECT_EQ(e.SE_IconIndex->maximum(), 65535);
        EXPECT_EQ(e.previewImage().size(), QSize(24, 24));
        EXPECT_EQ(e.TargetSystemsTag(), 2049);

        // The author empties the texts, sets a hot key and another icon.
        e.E_Location->clear();
        e.E_Parameters->clear();
        e.CB_IconTarget->setEditText(QString());
        e.E_IconTitle->clear();
        e.E_WorkDir->clear();
        e.CB_ShowMode->setCurrentIndex(1);
        int caret = 0;
        QString omega = QStringLiteral("\u03a9");
        EXPECT_EQ(e.E_Char->validator()->validate(omega, caret), QValidator::Invalid);
        e.E_Char->setText(QStringLiteral("K"));
        e.E_IconLocation->setText(QStringLiteral("{app}\\sub\\app.ico"));
        e.SE_IconIndex->setValue(0);
    });
    page().B_EditIconClick();

    const ShortcutEntry &stored = doc().Shortcuts[0];
    EXPECT_EQ(stored.Path, "{emp}");
    EXPECT_EQ(stored.Params, "{emp}");
    EXPECT_EQ(stored.Target, "{emp}");
    EXPECT_EQ(stored.Title, "{emp}");
    EXPECT_EQ(stored.WorkDir, ""); // an empty working folder stays empty
    EXPECT_EQ(stored.ShowMode, 1);
    EXPECT_EQ(stored.HotKey, 587);
    EXPECT_EQ(stored.Location, "{app}\\sub\\app.ico");
    EXPECT_EQ(stored.IconIndex, 0);
    EXPECT_EQ(stored.TargetSystems, 2049);
    EXPECT_TRUE(form().controller().ProjectModified());
    EXPECT_EQ(page().LV_Icons->item(0)->text(), QStringLiteral("{emp}"));
    // The controls show the marker too.
    EXPECT_EQ(editor().E_IconTitle->text(), QStringLiteral("{emp}"));
}

TEST_F(IconsPageTest, OkRefusesAModifierWithoutAKeyAndTextAFileCantHold)
{
    ShortcutEntry entry;
    entry.Title = "Tool";
    doc().Shortcuts.push_back(entry);
    doc().Selection.Shortcut = 0;
    page().load();
    const struct {
        const char *label;
        std::function<void(TIconEditor &)> edit;
        const char *message;
    } cases[] = {
        {"modifier without a key", [](TIconEditor &e) { e.CB_HotKey->setCurrentIndex(1); }, "key of the hot key"},
        {"text outside Windows-1252", [](TIconEditor &e) { e.E_IconTitle->setText(QStringLiteral("\u65e5")); },
         "cannot store"},
    };
    for (const auto &c : cases) {
        fake.messages.shown.clear();
        bool accepted = true;
        fake.modal.handler = [&](QDialog &dialog) {
            auto &e = static_cast<TIconEditor &>(dialog);
            c.edit(e);
            e.B_OK->click();
            accepted = e.result() == QDialog::Accepted;
            return int(QDialog::Rejected);
        };
        page().B_EditIconClick();
        EXPECT_FALSE(accepted) << c.label;
        ASSERT_EQ(fake.messages.shown.size(), 1u) << c.label;
        EXPECT_TRUE(fake.messages.shown[0].text.contains(QString::fromUtf8(c.message))) << c.label;
        EXPECT_EQ(doc().Shortcuts[0].Title, "Tool") << c.label;
        EXPECT_EQ(doc().Shortcuts[0].HotKey, 0) << c.label;
    }
}

TEST_F(IconsPageTest, ChoosingATargetFillsTitleIconAndWorkingFolder)
{
    addProjectFiles();
    doc().Shortcuts.push_back(ShortcutEntry{});
    doc().Selection.Shortcut = 0;
    editor().FormShow();
    EXPECT_FALSE(editor().E_Char->isEnabled());
    EXPECT_FALSE(editor().L_Plus->isEnabled());
    EXPECT_TRUE(editor().previewImage().isNull());

    editor().CB_IconTarget->setCurrentIndex(0);
    editor().CB_IconTargetChange();
    EXPECT_EQ(editor().E_IconTitle->text(), QStringLiteral("tool.exe"));
    EXPECT_EQ(editor().E_IconLocation->text(), QStringLiteral("{app}\\tool.exe"));
    EXPECT_EQ(editor().E_WorkDir->text(), QStringLiteral("{app}"));
    EXPECT_EQ(editor().previewImage().size(), QSize(32, 32));

    // Typed, deeper, with "/" separators.
    editor().CB_IconTarget->setEditText(QStringLiteral("{app}/bin/run.exe"));
    editor().CB_IconTargetChange();
    EXPECT_EQ(editor().E_IconTitle->text(), QStringLiteral("run.exe"));
    EXPECT_EQ(editor().E_WorkDir->text(), QStringLiteral("{app}/bin"));
    // No project file there: the preview is blank.
    EXPECT_TRUE(editor().previewImage().isNull());

    editor().CB_HotKey->setCurrentIndex(hkAlt);
    EXPECT_TRUE(editor().E_Char->isEnabled());
    EXPECT_TRUE(editor().L_Plus->isEnabled());
}

TEST_F(IconsPageTest, CancelRemovesANewShortcutAndLeavesAnEditedOneAlone)
{
    form().controller().SetModified(false);
    answer([](TIconEditor &e) { e.E_IconTitle->setText(QStringLiteral("changed")); }, false);
    page().B_AddIconClick();
    EXPECT_TRUE(doc().Shortcuts.empty());
    EXPECT_EQ(page().LV_Icons->count(), 0);
    EXPECT_FALSE(page().B_EditIcon->isEnabled());
    EXPECT_FALSE(form().controller().ProjectModified());

    answer([](TIconEditor &e) {
        // A new shortcut starts with the defaults.
        EXPECT_EQ(e.E_Location->text(), QStringLiteral("{prg}"));
        EXPECT_EQ(e.E_WorkDir->text(), QStringLiteral("{app}"));
        EXPECT_EQ(e.TargetSystemsTag(), kAllTargetSystems);
        e.E_IconTitle->setText(QStringLiteral("First"));
    });
    page().B_AddIconClick();
    ASSERT_EQ(doc().Shortcuts.size(), 1u);
    const ShortcutEntry before = doc().Shortcuts[0];
    form().controller().SetModified(false);

    answer([](TIconEditor &e) { e.E_IconTitle->setText(QStringLiteral("changed")); }, false);
    page().B_EditIconClick();
    EXPECT_EQ(doc().Shortcuts[0], before);
    EXPECT_EQ(page().LV_Icons->item(0)->text(), QStringLiteral("First"));
    EXPECT_FALSE(form().controller().ProjectModified());
}

// What the screen shows of widget (the window's backing store), next to
// what the widget paints when it is drawn afresh.
QImage shownOnScreen(QWidget &widget)
{
    QWidget *window = widget.window();
    const QRect area(widget.mapTo(window, QPoint(0, 0)), widget.size());
    return window->screen()->grabWindow(window->winId()).toImage().copy(area).convertToFormat(QImage::Format_RGB32);
}

QImage drawnAfresh(QWidget &widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// An edited title is painted anew where the old one stood: no highlight of
// the old, longer title stays beside the new one.
TEST_F(IconsPageTest, AnEditedTitleLeavesNoStaleHighlight)
{
    form().show();
    form().MI_Steps[kIconsPage]->trigger();
    QApplication::processEvents();
    ShortcutEntry entry;
    entry.Title = "A shortcut with a long title to wrap";
    entry.Target = "{app}\\tool.exe";
    doc().Shortcuts.push_back(entry);
    doc().Selection.Shortcut = 0;
    page().load();
    QApplication::processEvents();
    QListWidget *list = page().LV_Icons;
    ASSERT_EQ(list->count(), 1);
    ASSERT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(shownOnScreen(*list->viewport()), drawnAfresh(*list->viewport()));

    for (const char *title : {"Go", "A title that is longer again than the first one was"}) {
        answer([title](TIconEditor &e) { e.E_IconTitle->setText(QString::fromLatin1(title)); });
        page().B_EditIconClick();
        QApplication::processEvents();
        EXPECT_EQ(list->item(0)->text(), QString::fromLatin1(title));
        EXPECT_EQ(shownOnScreen(*list->viewport()), drawnAfresh(*list->viewport())) << title;
    }
}

TEST_F(IconsPageTest, EachShortcutKeepsItsOwnImage)
{
    addProjectFiles();
    const auto location = [](QString where, int index = 0) {
        return [where, index](TIconEditor &e) {
            e.E_IconTitle->setText(where);
            e.E_IconLocation->setText(where);
            e.SE_IconIndex->setValue(index);
        };
    };
    answer(location(QStringLiteral("{app}\\tool.exe")));
    page().B_AddIconClick();
    answer(location(QStringLiteral("{app}\\sub\\app.ico")));
    page().B_AddIconClick();
    // No project file there: the default image, whatever the list holds.
    answer(location(QStringLiteral("{app}\\nothing.exe")));
    page().B_AddIconClick();
    ASSERT_EQ(page().LV_Icons->count(), 3);
    EXPECT_EQ(page().itemImageIndex(0), 1);
    EXPECT_EQ(page().itemImageIndex(1), 2);
    EXPECT_EQ(page().itemImageIndex(2), 0);
    EXPECT_EQ(page().IL_Icons->Count(), 3);
    const QImage second = page().IL_Icons->Image(2);

    // Editing the first replaces its own image only.
    page().LV_Icons->setCurrentRow(0);
    const QImage firstBefore = page().IL_Icons->Image(1);
    answer(location(QStringLiteral("{app}\\tool.exe"), 1));
    page().B_EditIconClick();
    EXPECT_EQ(page().itemImageIndex(0), 1);
    EXPECT_NE(page().IL_Icons->Image(1), firstBefore);
    EXPECT_EQ(page().IL_Icons->Image(2), second);
    EXPECT_EQ(page().itemImageIndex(1), 2);

    // The one on the default image gets an image of its own.
    page().LV_Icons->setCurrentRow(2);
    answer(location(QStringLiteral("{app}\\tool.exe")));
    page().B_EditIconClick();
    EXPECT_EQ(page().itemImageIndex(2), 3);
    EXPECT_EQ(page().IL_Icons->Count(), 4);

    // Delete: no question, the buttons go off, the others keep their images.
    form().controller().SetModified(false);
    page().LV_Icons->setCurrentRow(0);
    EXPECT_TRUE(page().B_DeleteIcon->isEnabled());
    page().B_DeleteIconClick();
    EXPECT_TRUE(fake.messages.shown.empty());
    ASSERT_EQ(doc().Shortcuts.size(), 2u);
    EXPECT_EQ(doc().Shortcuts[0].Title, "{app}\\sub\\app.ico");
    EXPECT_EQ(page().itemImageIndex(0), 2);
    EXPECT_EQ(page().itemImageIndex(1), 3);
    EXPECT_FALSE(page().B_DeleteIcon->isEnabled());
    EXPECT_FALSE(page().B_EditIcon->isEnabled());
    EXPECT_TRUE(form().controller().ProjectModified());

    // A load shows the same pictures afresh.
    page().load();
    EXPECT_EQ(page().itemImageIndex(0), 1);
    EXPECT_EQ(page().itemImageIndex(1), 2);
    EXPECT_EQ(page().IL_Icons->Count(), 3);
}

} // namespace
} // namespace wharf
