#include "extensionspage.h"

#include "buttonedits.h"
#include "editorfixture.h"
#include "entrygrid.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "files.h"
#include "mainform.h"
#include "pagetable.h"
#include "projectcontroller.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace wharf {
namespace {

TEST(SignedDialogIndexTest, BothWays)
{
    struct Case {
        bool uninstallation;
        int item;
        int32_t index;
    };
    const Case cases[] = {{false, 0, 1}, {false, 4, 5}, {true, 1, -2}, {true, 0, -1}, {false, -1, 0}, {true, -1, 0}};
    for (const Case &c : cases) {
        EXPECT_EQ(SignedDialogIndex(c.uninstallation, c.item), c.index);
        bool uninstallation = !c.uninstallation;
        int item = 99;
        SplitDialogIndex(c.index, uninstallation, item);
        EXPECT_EQ(item, c.item) << c.index;
        if (c.item >= 0) {
            EXPECT_EQ(uninstallation, c.uninstallation) << c.index;
        }
    }
    bool uninstallation = false;
    int item = 0;
    SplitDialogIndex(INT32_MIN, uninstallation, item);
    EXPECT_EQ(item, -1);
}

class ExtensionsPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override { start(); }

    TMainForm &form() { return *windows.MainForm; }
    TExtensionsPage &page() { return *qobject_cast<TExtensionsPage *>(form().page(kExtensionsPage)); }
    Project &doc() { return form().controller().document(); }
    TEntryGrid &programs() { return *page().SG_ExExtensions; }
    TEntryGrid &calls() { return *page().SG_DllExtensions; }

    template <typename Dialog>
    void answer(std::function<void(Dialog &)> edit, bool ok = true)
    {
        fake.modal.handler = [edit, ok](QDialog &dialog) {
            auto &e = static_cast<Dialog &>(dialog);
            if (edit)
                edit(e);
            (ok ? e.B_OK : e.B_Cancel)->click();
            return e.result();
        };
    }

    void addProgram(const QString &command, bool ok = true)
    {
        answer<TExExecutableEditor>([command](TExExecutableEditor &e) { e.CB_ExFileName->setEditText(command); }, ok);
        page().B_AddExExtensionClick();
    }
};

TEST_F(ExtensionsPageTest, ProgramGridReusesItsEmptyRowAndKeepsOneRowAtLeast)
{
    EXPECT_NE(page().findChild<QWidget *>(QStringLiteral("TS_DllExtensions")), nullptr);
    EXPECT_EQ(page().tabControl()->objectName(), QStringLiteral("PC_ExtensionSheets"));
    EXPECT_EQ(page().tabControl()->tabText(0), QStringLiteral("Executable extensions"));
    EXPECT_EQ(page().tabControl()->tabText(1), QStringLiteral("DLL extensions"));
    EXPECT_EQ(programs().rowCount(), 1);
    EXPECT_FALSE(page().B_EditExExtension->isEnabled());
    EXPECT_FALSE(page().B_DeleteExExtension->isEnabled());
    page().B_EditExExtensionClick();
    page().B_DeleteExExtensionClick();
    EXPECT_TRUE(fake.modal.shown.empty());

    // Cancelling the first add leaves the one empty row, buttons off.
    addProgram(QStringLiteral("x.exe"), false);
    EXPECT_EQ(programs().rowCount(), 1);
    EXPECT_TRUE(programs().cell(0, 1).isEmpty());
    EXPECT_FALSE(page().B_EditExExtension->isEnabled());

    // The first add fills row 1 instead of adding a second row.
    addProgram(QStringLiteral("{app}\\first.exe"));
    EXPECT_EQ(programs().rowCount(), 1);
    EXPECT_EQ(programs().cell(0, 0), QStringLiteral("{app}\\first.exe"));
    EXPECT_TRUE(page().B_EditExExtension->isEnabled());
    addProgram(QStringLiteral("{app}\\second.exe"));
    addProgram(QStringLiteral("{app}\\third.exe"));
    ASSERT_EQ(programs().rowCount(), 3);

    // Cancelling a later add removes its row only.
    addProgram(QStringLiteral("{app}\\fourth.exe"), false);
    EXPECT_EQ(programs().rowCount(), 3);
    EXPECT_EQ(programs().currentRow(), 2);
    EXPECT_TRUE(page().B_DeleteExExtension->isEnabled());

    // Deleting the middle row moves the last up; deleting the last makes
    // the new last one current; deleting the only one leaves an empty row.
    programs().setCurrentCell(1, 0);
    page().B_DeleteExExtensionClick();
    ASSERT_EQ(doc().ExternalPrograms.size(), 2u);
    EXPECT_EQ(programs().cell(1, 0), QStringLiteral("{app}\\third.exe"));
    EXPECT_EQ(programs().currentRow(), 1);
    page().B_DeleteExExtensionClick();
    EXPECT_EQ(programs().rowCount(), 1);
    EXPECT_EQ(programs().currentRow(), 0);
    EXPECT_TRUE(page().B_DeleteExExtension->isEnabled());
    page().B_DeleteExExtensionClick();
    EXPECT_EQ(programs().rowCount(), 1);
    EXPECT_TRUE(programs().cell(0, 0).isEmpty());
    EXPECT_FALSE(page().B_DeleteExExtension->isEnabled());
    EXPECT_TRUE(doc().ExternalPrograms.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ExtensionsPageTest, ProgramDialogLoadsAndAppliesARow)
{
    GroupEntry group;
    group.Name = "Main";
    group.Files.resize(1);
    group.Files[0].Source = "tool.exe";
    group.Files[0].Destination = "{app}\\Tools\\tool.exe";
    doc().Groups.push_back(group);

    answer<TExExecutableEditor>([](TExExecutableEditor &e) {
        // A new row: installation, no wait, all systems.
        EXPECT_EQ(e.windowTitle(), QStringLiteral("Executable extension properties"));
        ASSERT_EQ(e.CB_ExFileName->count(), 1);
        EXPECT_EQ(e.CB_ExFileName->itemText(0), QStringLiteral("\"{app}\\Tools\\tool.exe\""));
        EXPECT_TRUE(e.CB_ExFileName->currentText().isEmpty());
        EXPECT_EQ(e.CB_WhenExecute->currentText(), QStringLiteral("Installation"));
        EXPECT_FALSE(e.Ch_Wait->isChecked());
        EXPECT_EQ(e.TargetSystemsTag(), kAllTargetSystems);
    });
    page().B_AddExExtensionClick();
    // An empty file name is stored as the marker.
    EXPECT_EQ(programs().cell(0, 0), QStringLiteral("{emp}"));
    EXPECT_EQ(programs().cell(0, 1), QStringLiteral("Installation"));
    EXPECT_EQ(programs().cell(0, 2), QStringLiteral("No"));
    EXPECT_EQ(programs().cell(0, 3), QStringLiteral("4194304"));

    answer<TExExecutableEditor>([](TExExecutableEditor &e) {
        EXPECT_EQ(e.CB_ExFileName->currentText(), QStringLiteral("{emp}"));
        e.CB_ExFileName->setCurrentIndex(0);
        e.CB_WhenExecute->setCurrentIndex(1);
        e.Ch_Wait->setChecked(true);
    });
    page().B_EditExExtensionClick();
    const ExternalProgram &program = doc().ExternalPrograms.at(0);
    EXPECT_EQ(program.Command, "\"{app}\\Tools\\tool.exe\"");
    EXPECT_TRUE(program.Uninstallation);
    EXPECT_TRUE(program.Wait);
    EXPECT_EQ(programs().cell(0, 1), QStringLiteral("Uninstallation"));
    EXPECT_EQ(programs().cell(0, 2), QStringLiteral("Yes"));
    EXPECT_TRUE(form().controller().ProjectModified());
}

TEST_F(ExtensionsPageTest, DllCallsKeepTheirSignedDialogIndex)
{
    doc().Dialogs = {"/dlg/welcome.ddf", "C:\\Dialogs\\license.ddf"};
    doc().UninstallDialogs = {"/dlg/bye.ddf", "Dialogs\\done.ddf"};
    page().load();
    EXPECT_EQ(calls().rowCount(), 1);
    EXPECT_FALSE(page().B_EditDllExtension->isEnabled());

    answer<TExDllEditor>([](TExDllEditor &e) {
        // A new call: "DoStep" after the first installation dialog.
        EXPECT_EQ(e.E_FuncName->text(), QStringLiteral("DoStep"));
        EXPECT_EQ(e.WhenExecuteIndex(), 0);
        ASSERT_EQ(e.CB_DlgCombo->count(), 2);
        EXPECT_EQ(e.CB_DlgCombo->itemText(1), QStringLiteral("license.ddf"));
        EXPECT_EQ(e.CB_DlgCombo->currentIndex(), 0);
        // After the second uninstallation dialog.
        e.RG_WhenExecuteItems->button(1)->click();
        EXPECT_EQ(e.CB_DlgCombo->itemText(1), QStringLiteral("done.ddf"));
        e.CB_DlgCombo->setCurrentIndex(1);
        // Clicking the list already chosen keeps the chosen dialog.
        e.RG_WhenExecuteItems->button(1)->click();
        EXPECT_EQ(e.CB_DlgCombo->currentIndex(), 1);
        // A library that does not exist yet keeps its whole path.
        e.FE_FileName->setText(QStringLiteral("/nowhere/My Libs/step lib.dll"));
    });
    page().B_AddDllExtensionClick();
    EXPECT_EQ(calls().rowCount(), 1);
    ASSERT_EQ(doc().DllCalls.size(), 1u);
    EXPECT_EQ(doc().DllCalls[0].ExecuteAfter, -2);
    EXPECT_EQ(doc().DllCalls[0].FileName, "/nowhere/My Libs/step lib.dll");
    EXPECT_EQ(calls().cell(0, 2), QStringLiteral("-2"));
    EXPECT_EQ(calls().cell(0, 1), QStringLiteral("DoStep"));

    answer<TExDllEditor>([](TExDllEditor &e) {
        EXPECT_EQ(e.WhenExecuteIndex(), 1);
        EXPECT_EQ(e.CB_DlgCombo->currentText(), QStringLiteral("done.ddf"));
        EXPECT_EQ(e.FE_FileName->FileName(), QStringLiteral("/nowhere/My Libs/step lib.dll"));
    });
    page().B_EditDllExtensionClick();
    EXPECT_EQ(doc().DllCalls[0].ExecuteAfter, -2);

    // Index 0 shows no dialog, and OK without choosing one stores 0; so
    // does an index past the list.
    for (int32_t stored : {0, 7}) {
        doc().DllCalls[0].ExecuteAfter = stored;
        answer<TExDllEditor>([](TExDllEditor &e) {
            EXPECT_EQ(e.WhenExecuteIndex(), 0);
            EXPECT_EQ(e.CB_DlgCombo->currentIndex(), -1);
        });
        page().B_EditDllExtensionClick();
        EXPECT_EQ(doc().DllCalls[0].ExecuteAfter, 0) << stored;
    }
}

TEST_F(ExtensionsPageTest, AReadProjectFillsBothGridsAndAProgramWithoutMaskRunsEverywhere)
{
    const std::string path = scratch.file("read.wfp");
    ASSERT_TRUE(writeFile(path, "[Temporary]\r\nEditorVersion=2.0\r\nSubVersion=Professional\r\nBuildNo=14\r\n\r\n"
                                "[General]\r\nAppName=Sample\r\n\r\n"
                                "[Extensions]\r\n0=\"{app}\\setup helper.exe\" /x\r\n\r\n"
                                "[WhenExecute]\r\n0=1\r\n\r\n"
                                "[DllExtensions]\r\n0=\"/lib/step.dll\"\r\n\r\n"
                                "[DllFuncNames]\r\n0=\"Run\"\r\n\r\n"
                                "[DllWhenExecute]\r\n0=-2\r\n\r\n"));
    form().controller().LoadProject(path);
    ASSERT_EQ(programs().rowCount(), 1);
    EXPECT_EQ(programs().cell(0, 0), QStringLiteral("\"{app}\\setup helper.exe\" /x"));
    EXPECT_EQ(programs().cell(0, 1), QStringLiteral("Uninstallation"));
    EXPECT_EQ(programs().cell(0, 3), QStringLiteral("4194304"));
    EXPECT_TRUE(page().B_EditExExtension->isEnabled());
    ASSERT_EQ(calls().rowCount(), 1);
    EXPECT_EQ(calls().cell(0, 1), QStringLiteral("Run"));
    EXPECT_EQ(calls().cell(0, 2), QStringLiteral("-2"));
}

TEST_F(ExtensionsPageTest, ARefusedDllNameIsReportedAndLeavesTheCallAlone)
{
    DllCall call;
    call.FileName = "C:\\bad|name.dll";
    doc().DllCalls.push_back(call);
    page().load();
    form().controller().SetModified(false);
    ASSERT_TRUE(page().B_EditDllExtension->isEnabled());
    page().B_EditDllExtensionClick();
    EXPECT_TRUE(fake.modal.shown.empty());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("bad|name.dll")));
    EXPECT_EQ(doc().DllCalls[0], call);
    EXPECT_FALSE(form().controller().ProjectModified());
}

} // namespace
} // namespace wharf
