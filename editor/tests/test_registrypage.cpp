#include "registrypage.h"

#include "editorfixture.h"
#include "files.h"
#include "inputwindow.h"
#include "mainform.h"
#include "mainnavigation.h"
#include "navbutton.h"
#include "pagetable.h"
#include "panelstatusbar.h"
#include "regeditor.h"
#include "qtprinters.h"
#include "systemform.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <deque>

namespace wharf {
namespace {

constexpr int kHKCU = 1;
constexpr int kHKLM = 2;

// The editor with the template project; the modal dialogs answer from
// queues: each TInputWindow takes the next answer (std::nullopt cancels)
// and records the text it was opened with, TRegEditor runs editorStep.
class RegistryPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override
    {
        start();
        fake.modal.handler = [this](QDialog &dialog) {
            if (auto *input = qobject_cast<TInputWindow *>(&dialog)) {
                offered.push_back(input->E_Input->text());
                captions.push_back(input->windowTitle());
                if (answers.empty() || !answers.front()) {
                    if (!answers.empty())
                        answers.pop_front();
                    return int(QDialog::Rejected);
                }
                input->E_Input->setText(*answers.front());
                answers.pop_front();
                return int(QDialog::Accepted);
            }
            if (auto *editor = qobject_cast<TRegEditor *>(&dialog))
                return editorStep ? editorStep(*editor) : int(QDialog::Rejected);
            if (auto *systems = qobject_cast<TSystemForm *>(&dialog))
                return systemsStep ? systemsStep(*systems) : int(QDialog::Rejected);
            return int(QDialog::Rejected);
        };
    }

    TMainForm &form() { return *windows.MainForm; }
    TRegistryPage &page() { return *qobject_cast<TRegistryPage *>(form().page(kRegistryPage)); }
    Project &doc() { return form().controller().document(); }
    std::vector<RegistryNode> &children(int root) { return doc().Registry.roots()[root].Children; }
    void select(const RegistryPath &path) { page().TV_RegKeys->setCurrentItem(page().itemAt(path)); }
    QString text(const RegistryPath &path) { return page().itemAt(path)->text(0); }
    int image(const RegistryPath &path) { return page().itemAt(path)->data(0, Qt::UserRole).toInt(); }
    void answer(const QString &text) { answers.push_back(text); }

    std::deque<std::optional<QString>> answers;
    std::vector<QString> offered;
    std::vector<QString> captions;
    std::function<int(TRegEditor &)> editorStep;
    std::function<int(TSystemForm &)> systemsStep;
};

TEST_F(RegistryPageTest, ThePageShowsTheSixRootsAndTheNavigationButtonsFollowTheSelection)
{
    ASSERT_NE(qobject_cast<TRegistryPage *>(form().page(kRegistryPage)), nullptr);
    QTreeWidget &tree = *page().TV_RegKeys;
    ASSERT_EQ(tree.topLevelItemCount(), 6);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("HKEY_CLASSES_ROOT"));
    EXPECT_EQ(tree.topLevelItem(5)->text(0), QStringLiteral("HKEY_DYN_DATA"));
    EXPECT_FALSE(page().TV_RegKeysEditing(tree.topLevelItem(0)));
    const char *const buttons[] = {"OB_AddRegKey", "OB_AddRegValue", "OB_ImportRegFile"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form().OB_Main->button(kRegistryPage, i)->objectName(), QString::fromLatin1(buttons[i]));

    answer(QStringLiteral("Key"));
    select({kHKLM});
    EXPECT_TRUE(form().OB_Main->isButtonVisible(kRegistryPage, 0));
    EXPECT_TRUE(form().OB_Main->isButtonVisible(kRegistryPage, 1));
    form().OB_ButtonClick(kRegistryPage, 0);  // "Add Registry key"
    ASSERT_EQ(children(kHKLM).size(), 1u);
    answer(QStringLiteral("V"));
    select({kHKLM, 0});
    page().MI_StringClick();
    select({kHKLM, 0, 0});
    EXPECT_FALSE(form().OB_Main->isButtonVisible(kRegistryPage, 0));
    EXPECT_FALSE(form().OB_Main->isButtonVisible(kRegistryPage, 1));
    EXPECT_EQ(doc().Selection.RegistryNode, (RegistryPath{kHKLM, 0, 0}));
    EXPECT_TRUE(page().TV_RegKeysEditing(page().itemAt({kHKLM, 0, 0})));
}

TEST_F(RegistryPageTest, NewKeyAddsWholePathsAndMergesWithExistingKeys)
{
    select({kHKLM});
    answer(QStringLiteral("software"));
    page().MI_NewKeyClick();
    EXPECT_EQ(captions.back(), QStringLiteral("New key"));
    EXPECT_EQ(offered.back(), QString());
    ASSERT_EQ(children(kHKLM).size(), 1u);
    children(kHKLM)[0].Entry.Uninstall = true;  // an existing key keeps its record
    EXPECT_TRUE(form().controller().ProjectModified());

    answer(QStringLiteral("Software\\Test"));
    page().MI_NewKeyClick();
    ASSERT_EQ(children(kHKLM).size(), 1u);
    const RegistryNode &software = children(kHKLM)[0];
    EXPECT_TRUE(software.Entry.Uninstall);
    ASSERT_EQ(software.Children.size(), 1u);
    const RegistryEntry &test = software.Children[0].Entry;
    EXPECT_TRUE(test.IsKey);
    EXPECT_TRUE(test.Create);
    EXPECT_FALSE(test.Uninstall);
    EXPECT_EQ(test.TargetSystems, 4194304);
    EXPECT_EQ(text({kHKLM, 0, 0}), QStringLiteral("Test"));
    EXPECT_TRUE(page().itemAt({kHKLM, 0})->isExpanded());
    // Naming an existing key itself leaves its record too.
    select({kHKLM});
    answer(QStringLiteral("SOFTWARE"));
    page().MI_NewKeyClick();
    ASSERT_EQ(children(kHKLM).size(), 1u);
    EXPECT_TRUE(children(kHKLM)[0].Entry.Uninstall);

    // An empty answer adds nothing on a root and a key "{emp}" below a key;
    // a trailing "\" adds no empty-named key; cancel adds nothing.
    answer(QString());
    page().MI_NewKeyClick();
    EXPECT_EQ(children(kHKLM).size(), 1u);
    select({kHKLM, 0, 0});
    answer(QString());
    answer(QStringLiteral("Deeper\\"));
    answers.push_back(std::nullopt);
    page().MI_NewKeyClick();
    page().MI_NewKeyClick();
    page().MI_NewKeyClick();
    const std::vector<RegistryNode> &below = children(kHKLM)[0].Children[0].Children;
    ASSERT_EQ(below.size(), 2u);
    EXPECT_EQ(below[0].Text, "{emp}");
    EXPECT_EQ(below[1].Text, "Deeper");
    EXPECT_TRUE(below[1].Children.empty());
    EXPECT_EQ(text({kHKLM, 0, 0, 1}), QStringLiteral("Deeper"));

    // A name a project file can't store is refused and adds nothing.
    select({kHKLM});
    fake.messages.shown.clear();
    answer(QStringLiteral("\u65e5\u672c"));
    page().MI_NewKeyClick();
    EXPECT_EQ(children(kHKLM).size(), 1u);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("cannot store")));

    // Nothing selected: the command does nothing and asks nothing.
    page().TV_RegKeys->setCurrentItem(nullptr);
    const size_t asked = offered.size();
    page().MI_NewKeyClick();
    EXPECT_EQ(offered.size(), asked);
}

TEST_F(RegistryPageTest, NewValuesRefuseASecondValueOfTheSameNameAndOpenTheValueDialog)
{
    select({kHKCU});
    answer(QStringLiteral("Name"));
    page().MI_NewKeyClick();  // a key "Name" does not conflict with a value "Name"
    int edits = 0;
    editorStep = [&](TRegEditor &) {
        ++edits;
        return int(QDialog::Rejected);
    };

    select({kHKCU});
    answer(QStringLiteral("Name"));
    page().MI_StringClick();
    EXPECT_EQ(captions.back(), QStringLiteral("New value"));
    EXPECT_EQ(offered.back(), QStringLiteral("{emp}"));
    ASSERT_EQ(children(kHKCU).size(), 2u);
    const RegistryNode &value = children(kHKCU)[1];
    EXPECT_FALSE(value.Entry.IsKey);
    EXPECT_EQ(value.Entry.ValueType, "String");
    EXPECT_EQ(value.Entry.Data, "{emp}");
    EXPECT_TRUE(value.Entry.Create);
    EXPECT_TRUE(value.Entry.Overwrite);
    EXPECT_EQ(value.Entry.TargetSystems, 4194304);
    EXPECT_EQ(image({kHKCU, 1}), TRegistryPage::kStringImage);
    EXPECT_EQ(edits, 1);  // the dialog came up (and was cancelled)
    EXPECT_EQ(doc().Selection.RegistryNode, (RegistryPath{kHKCU, 1}));

    // A second "name" is refused with the message and asked again; DWORD
    // offers the refused answer the second time.
    select({kHKCU});
    answer(QStringLiteral("name"));
    answer(QStringLiteral("Count"));
    offered.clear();
    page().MI_DWORDClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("You cannot create two values/keys with the same name!"));
    EXPECT_EQ(offered, (std::vector<QString>{QString(), QStringLiteral("name")}));
    ASSERT_EQ(children(kHKCU).size(), 3u);
    EXPECT_EQ(children(kHKCU)[2].Entry.ValueType, "DWORD");
    EXPECT_EQ(children(kHKCU)[2].Entry.Data, "0");
    EXPECT_EQ(image({kHKCU, 2}), TRegistryPage::kNumberImage);

    // String offers "{emp}" every time; BOOL's default is "TRUE"; an empty
    // answer is the default value "{emp}".
    select({kHKCU});
    answer(QStringLiteral("Name"));
    answers.push_back(std::nullopt);
    offered.clear();
    page().MI_StringClick();
    EXPECT_EQ(offered, (std::vector<QString>{QStringLiteral("{emp}"), QStringLiteral("{emp}")}));
    EXPECT_EQ(children(kHKCU).size(), 3u);
    select({kHKCU});
    answer(QString());
    page().MI_BoolClick();
    EXPECT_EQ(children(kHKCU)[3].Text, "{emp}");
    EXPECT_EQ(children(kHKCU)[3].Entry.Data, "TRUE");

    // Below a value nothing can be added.
    select({kHKCU, 3});
    const size_t asked = offered.size();
    page().MI_StringClick();
    EXPECT_EQ(offered.size(), asked);
}

TEST_F(RegistryPageTest, RenameChecksNamesWithinTheirKind)
{
    AddRegistryEntry(doc().Registry, "HKEY_USERS", "K", RegistryEntry(), intermediateKeyRecord(), "{emp}");
    AddRegistryEntry(doc().Registry, "HKEY_USERS", "{emp}", [] {
        RegistryEntry r;
        r.Data = "1";
        return r;
    }(), intermediateKeyRecord(), "V");
    AddRegistryEntry(doc().Registry, "HKEY_USERS", "{emp}", [] {
        RegistryEntry r;
        r.Data = "2";
        return r;
    }(), intermediateKeyRecord(), "W");
    page().load();
    constexpr int kUsers = 3;
    QTreeWidgetItem *value = page().itemAt({kUsers, 1});
    QTreeWidgetItem *key = page().itemAt({kUsers, 0});
    const struct {
        QTreeWidgetItem *item;
        QString proposed;
        QString result;
        bool refused;
    } cases[] = {
        {value, QStringLiteral("k"), QStringLiteral("k"), false},       // a value may share a key's name
        {value, QStringLiteral("w"), QStringLiteral("k"), true},        // not another value's
        {value, QString(), QStringLiteral("{emp}"), false},             // the default value
        {key, QStringLiteral("W"), QStringLiteral("W"), false},
        {key, QString(), QStringLiteral("W"), true},                    // keys need a name ...
        {key, QStringLiteral("A\\B"), QStringLiteral("W"), true},       // ... of one level
        {key, QStringLiteral("Line\r\nBreak"), QStringLiteral("Line Break"), false},
    };
    for (const auto &c : cases) {
        fake.messages.shown.clear();
        QString s = c.proposed;
        page().TV_RegKeysEdited(c.item, s);
        EXPECT_EQ(s, c.result) << c.proposed.toStdString();
        EXPECT_EQ(fake.messages.shown.size(), c.refused ? 1u : 0u) << c.proposed.toStdString();
        EXPECT_EQ(c.item->text(0), c.result) << c.proposed.toStdString();
        EXPECT_EQ(QString::fromStdString(findRegistryNode(doc().Registry, TRegistryPage::pathOf(c.item))->Text), c.result)
            << c.proposed.toStdString();
    }

    // The tree's own in-place editor goes through the same check.
    QTreeWidget &tree = *page().TV_RegKeys;
    const auto renameInPlace = [&tree](QTreeWidgetItem *item, const QString &text) {
        tree.editItem(item);
        auto *editor = tree.viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits through a queued call and deletes the editor later.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    fake.messages.shown.clear();
    renameInPlace(value, QStringLiteral("W"));
    EXPECT_EQ(value->text(0), QStringLiteral("{emp}"));
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    renameInPlace(value, QStringLiteral("Renamed"));
    EXPECT_EQ(value->text(0), QStringLiteral("Renamed"));
    EXPECT_EQ(children(kUsers)[1].Text, "Renamed");
    tree.editItem(page().itemAt({kUsers}));  // roots keep their names
    EXPECT_EQ(tree.viewport()->findChild<QLineEdit *>(), nullptr);
}

TEST_F(RegistryPageTest, ThePopupMenuFollowsTheSelection)
{
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "K", RegistryEntry(), intermediateKeyRecord(), "V");
    children(kHKCU)[0].Children[0].Entry.Overwrite = false;
    children(kHKCU)[0].Children[0].Entry.Uninstall = true;
    page().load();
    TRegistryPage &p = page();
    const auto state = [&p] {
        std::string s;
        for (QAction *a : {p.MI_NewKey, p.MI_NewValue->menuAction(), p.MI_DeleteKey, p.MI_Properties->menuAction(),
                           p.MI_OverwriteVal, p.MI_Value})
            s += a->isVisible() ? '1' : '0';
        return s;
    };
    p.TV_RegKeys->setCurrentItem(nullptr);
    p.PM_RegistryPopup();
    EXPECT_EQ(state().substr(0, 4), "0100");
    select({kHKCU});
    p.PM_RegistryPopup();
    EXPECT_EQ(state(), "110000");
    select({kHKCU, 0});
    p.PM_RegistryPopup();
    EXPECT_EQ(state(), "111100");
    select({kHKCU, 0, 0});
    p.PM_RegistryPopup();
    EXPECT_EQ(state(), "001111");
    EXPECT_FALSE(p.MI_OverwriteVal->isChecked());
    EXPECT_TRUE(p.MI_UninstKey->isChecked());
    EXPECT_TRUE(p.MI_CreateKey->isChecked());

    // The flags flip the record and the check mark.
    p.MI_OverwriteVal->trigger();
    p.MI_UninstKey->trigger();
    const RegistryEntry &record = children(kHKCU)[0].Children[0].Entry;
    EXPECT_TRUE(record.Overwrite);
    EXPECT_FALSE(record.Uninstall);
    EXPECT_TRUE(p.MI_OverwriteVal->isChecked());
    EXPECT_TRUE(form().controller().ProjectModified());

    // Target systems through the target-system dialog.
    systemsStep = [](TSystemForm &systems) {
        for (int i = 0; i < systems.CLB_System->count(); ++i)
            systems.setChecked(i, false);
        systems.setChecked(0, true);
        return int(QDialog::Accepted);
    };
    p.MI_RegTargetSystemClick();
    EXPECT_NE(record.TargetSystems, 4194304);
    EXPECT_EQ(fake.modal.shown.back(), QStringLiteral("SystemForm"));
}

TEST_F(RegistryPageTest, DeleteRemovesTheNodeWithEverythingBelowIt)
{
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "A\\B", RegistryEntry(), intermediateKeyRecord(), "V");
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "C", RegistryEntry(), intermediateKeyRecord(), "{emp}");
    page().load();
    select({kHKCU});
    page().MI_DeleteKeyClick();  // a root stays
    EXPECT_EQ(children(kHKCU).size(), 2u);
    EXPECT_FALSE(form().controller().ProjectModified());
    select({kHKCU, 0});
    page().MI_DeleteKeyClick();
    ASSERT_EQ(children(kHKCU).size(), 1u);
    EXPECT_EQ(children(kHKCU)[0].Text, "C");
    EXPECT_EQ(page().itemAt({kHKCU})->childCount(), 1);
    EXPECT_EQ(TRegistryPage::pathOf(page().TV_RegKeys->currentItem()), doc().Selection.RegistryNode);
    EXPECT_TRUE(form().controller().ProjectModified());
}

TEST_F(RegistryPageTest, TheValueDialogShowsDwordsAsNumbersAndStoresThemInHex)
{
    RegistryEntry dword;
    dword.ValueType = "DWORD";
    dword.Data = "$000000FF";
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "{emp}", dword, intermediateKeyRecord(), "D");
    page().load();
    select({kHKCU, 0});
    TRegEditor &editor = *windows.RegEditor;
    editorStep = [](TRegEditor &e) {
        EXPECT_EQ(e.L_ValueType->text(), QStringLiteral("DWORD"));
        EXPECT_FALSE(e.SB_EditInt->isHidden());
        EXPECT_FALSE(e.L_Hex->isHidden());
        EXPECT_EQ(e.CB_Value->currentText(), QStringLiteral("255"));
        e.SB_EditIntUpClick();
        EXPECT_EQ(e.CB_Value->currentText(), QStringLiteral("256"));
        EXPECT_EQ(e.L_Hex->text(), QStringLiteral("Hex: $00000100"));
        e.B_OK->click();
        return e.result();
    };
    page().TV_RegKeysDblClick();
    EXPECT_EQ(fake.modal.shown.back(), QStringLiteral("RegEditor"));
    EXPECT_EQ(children(kHKCU)[0].Entry.Data, "$00000100");
    EXPECT_TRUE(form().controller().ProjectModified());

    // Typed text: the hexadecimal form follows; the whole unsigned range and
    // negative numbers; no number gives 0; the spin wraps within 32 bits.
    const struct {
        const char *typed;
        const char *hex;
        const char *stored;
    } cases[] = {
        {"4294967295", "Hex: $FFFFFFFF", "$FFFFFFFF"},
        {"-1", "Hex: $FFFFFFFF", "$FFFFFFFF"},
        {"$1f", "Hex: $0000001F", "$0000001F"},
        {"abc", "Hex: $00000000", "$00000000"},
    };
    for (const auto &c : cases) {
        editor.FormShow();
        editor.CB_Value->lineEdit()->setText(QString::fromLatin1(c.typed));
        editor.CB_ValueChange();
        EXPECT_EQ(editor.L_Hex->text(), QString::fromLatin1(c.hex)) << c.typed;
        EXPECT_TRUE(editor.CB_ValueKeyPress(Qt::Key_Return));
        EXPECT_EQ(children(kHKCU)[0].Entry.Data, c.stored) << c.typed;
    }
    editor.FormShow();
    EXPECT_EQ(editor.CB_Value->currentText(), QStringLiteral("0"));
    editor.SB_EditIntDownClick();
    EXPECT_EQ(editor.CB_Value->currentText(), QStringLiteral("4294967295"));
}

TEST_F(RegistryPageTest, TheValueDialogForStringsAndBools)
{
    RegistryEntry boolean;
    boolean.ValueType = "BOOL";
    boolean.Data = "FALSE";
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "{emp}", RegistryEntry(), intermediateKeyRecord(), "S");
    children(kHKCU)[0].Entry.Data = "text";
    AddRegistryEntry(doc().Registry, "HKEY_CURRENT_USER", "{emp}", boolean, intermediateKeyRecord(), "B");
    page().load();
    TRegEditor &editor = *windows.RegEditor;

    // The room right of the text box: a drop-down button's, or only the frame.
    const auto arrowRoom = [&] {
        editor.show();
        QCoreApplication::processEvents();
        return editor.CB_Value->width() - 1 - editor.CB_Value->lineEdit()->geometry().right();
    };
    select({kHKCU, 0});
    editor.FormShow();
    EXPECT_TRUE(editor.SB_EditInt->isHidden());
    EXPECT_TRUE(editor.L_Hex->isHidden());
    EXPECT_EQ(editor.CB_Value->count(), 0);
    EXPECT_LE(arrowRoom(), 6); // a String has no drop-down button
    EXPECT_EQ(editor.CB_Value->currentText(), QStringLiteral("text"));
    editor.SB_EditIntUpClick();  // only DWORDs step
    EXPECT_EQ(editor.CB_Value->currentText(), QStringLiteral("text"));
    editor.CB_Value->setEditText(QString());
    editor.B_OKClick();
    EXPECT_EQ(children(kHKCU)[0].Entry.Data, "{emp}");
    editor.CB_Value->setEditText(QString(300, QLatin1Char('x')));
    editor.B_OKClick();
    EXPECT_EQ(children(kHKCU)[0].Entry.Data.size(), 255u);

    select({kHKCU, 1});
    editor.FormShow();
    ASSERT_EQ(editor.CB_Value->count(), 2);
    EXPECT_GE(arrowRoom(), 12);
    EXPECT_EQ(editor.CB_Value->itemText(0), QStringLiteral("TRUE"));
    EXPECT_EQ(editor.CB_Value->currentText(), QStringLiteral("FALSE"));
    editor.CB_Value->setCurrentIndex(0);
    editor.B_OKClick();
    EXPECT_EQ(children(kHKCU)[1].Entry.Data, "TRUE");
    editor.hide();
}

TEST_F(RegistryPageTest, ImportAddsTheFileAndReportsWhatWasLeftOut)
{
    const std::string path = scratch.file("export.reg");
    ASSERT_TRUE(writeFile(path, "Windows Registry Editor Version 5.00\r\n\r\n"
                                "[HKEY_CURRENT_USER\\Software\\A]\r\n@=\"x\"\r\n\"Bin\"=hex:01\r\n\"N\"=dword:0000001f\r\n"
                                "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"));
    FileDialogResult chosen;
    chosen.accepted = true;
    chosen.files = {QString::fromStdString(path)};
    fake.fileDialogs.results.push_back(chosen);
    form().OB_ButtonClick(kRegistryPage, 2);  // "Import Registry file"

    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].filter, QStringLiteral("Registry files (*.reg)"));
    EXPECT_EQ(fake.fileDialogs.requests[0].defaultExt, QStringLiteral("reg"));
    const RegistryNode &a = children(kHKCU).at(0).Children.at(0);
    EXPECT_EQ(a.Text, "A");
    ASSERT_EQ(a.Children.size(), 2u);
    EXPECT_EQ(a.Children[1].Entry.Data, "$0000001F");
    EXPECT_EQ(text({kHKCU, 0, 0, 1}), QStringLiteral("N"));
    EXPECT_EQ(image({kHKCU, 0, 0, 1}), TRegistryPage::kNumberImage);
    EXPECT_TRUE(form().controller().ProjectModified());
    EXPECT_EQ(form().pb_LoadProgress->value(), 0);
    EXPECT_EQ(form().Sb_Main->panelText(TMainForm::kPercentPanel), QStringLiteral("OK"));
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("This Registry file contained some value types")));
    EXPECT_EQ(fake.messages.shown[1].type, MsgDlgType::Warning);
    EXPECT_TRUE(fake.messages.shown[1].text.startsWith(QStringLiteral("1 entry of this Registry file has not")));

    // A cancelled dialog changes nothing; a file that can't be read says so.
    form().controller().SetModified(false);
    page().B_RegImportClick();
    EXPECT_FALSE(form().controller().ProjectModified());
    chosen.files = {QString::fromStdString(scratch.file("missing.reg"))};
    fake.fileDialogs.results.push_back(chosen);
    page().B_RegImportClick();
    EXPECT_FALSE(form().controller().ProjectModified());
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_TRUE(fake.messages.shown[2].text.contains(QStringLiteral("missing.reg")));
    // Neither is a file without a single section (a big-endian one reads as such).
    const std::string other = scratch.file("other.reg");
    ASSERT_TRUE(writeFile(other, std::string("\xfe\xff\0[\0H", 6)));
    chosen.files = {QString::fromStdString(other)};
    fake.fileDialogs.results.push_back(chosen);
    page().B_RegImportClick();
    EXPECT_FALSE(form().controller().ProjectModified());
    ASSERT_EQ(fake.messages.shown.size(), 4u);
    EXPECT_TRUE(fake.messages.shown[3].text.contains(QStringLiteral("holds no Registry keys")));

    // Text a project file can't hold is left out and named, cut strings are
    // named, and what was imported can be saved.
    const std::string wide = scratch.file("wide.reg");
    ASSERT_TRUE(writeFile(wide, "\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\W]\r\n"
                                "\"\xe6\x97\xa5\"=\"x\"\r\n\"Long\"=\"" + std::string(256, 'l') + "\"\r\n"));
    chosen.files = {QString::fromStdString(wide)};
    fake.fileDialogs.results.push_back(chosen);
    page().B_RegImportClick();
    ASSERT_EQ(fake.messages.shown.size(), 6u);
    EXPECT_TRUE(fake.messages.shown[4].text.contains(QStringLiteral("HKEY_CURRENT_USER\\W\\\u65e5")));
    EXPECT_TRUE(fake.messages.shown[5].text.contains(QStringLiteral("HKEY_CURRENT_USER\\W\\Long")));
    const std::string savedTo = scratch.file("saved.wfp");
    fake.fileDialogs.results.clear();
    EXPECT_NO_THROW(form().controller().SaveProject(savedTo));
}

} // namespace
} // namespace wharf
