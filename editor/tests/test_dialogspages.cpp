#include "dialogspage.h"

#include "billboardeditor.h"
#include "buttonedits.h"
#include "dialoglists.h"
#include "editorfixture.h"
#include "inputwindow.h"
#include "mainform.h"
#include "pagetable.h"
#include "paths.h"
#include "radiogroup.h"
#include "scriptmemo.h"
#include "uninstallpage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QToolButton>

#include <sys/stat.h>

namespace wharf {
namespace {

std::vector<int32_t> callIndexes(const Project &project)
{
    std::vector<int32_t> out;
    for (const DllCall &call : project.DllCalls)
        out.push_back(call.ExecuteAfter);
    return out;
}

Project projectWithCalls(std::vector<int32_t> after)
{
    Project project;
    project.Dialogs = {"a.ddf", "b.ddf", "c.ddf"};
    project.UninstallDialogs = {"u1.ddf", "u2.ddf", "u3.ddf"};
    for (int32_t a : after)
        project.DllCalls.push_back({"x.dll", "DoStep", a});
    return project;
}

TEST(DialogListsTest, DllCallsFollowTheirDialogThroughMovesAndDeletes)
{
    struct Case {
        const char *what;
        DialogList list;
        bool remove;
        size_t a, b;
        std::vector<int32_t> before, after;
        std::vector<size_t> orphaned;
    };
    using L = DialogList;
    const Case cases[] = {
        {"exchange installation", L::Installation, false, 0, 1, {1, 2, 3, -1, 0}, {2, 1, 3, -1, 0}, {}},
        {"exchange uninstallation", L::Uninstallation, false, 2, 1, {-2, -3, 2, 0}, {-3, -2, 2, 0}, {}},
        {"delete installation", L::Installation, true, 1, 0, {1, 2, 3, -2, 0}, {1, 0, 2, -2, 0}, {1}},
        {"delete uninstallation", L::Uninstallation, true, 0, 0, {-1, -2, -3, 1, -1}, {0, -1, -2, 1, 0}, {0, 4}},
        // A call past the end of the list keeps counting from its place.
        {"delete before a stale index", L::Installation, true, 2, 0, {7, 3}, {6, 0}, {1}},
    };
    for (const Case &c : cases) {
        Project project = projectWithCalls(c.before);
        std::vector<size_t> orphaned;
        if (c.remove)
            orphaned = deleteDialog(project, c.list, c.a);
        else
            exchangeDialogs(project, c.list, c.a, c.b);
        EXPECT_EQ(callIndexes(project), c.after) << c.what;
        EXPECT_EQ(orphaned, c.orphaned) << c.what;
    }
    Project project = projectWithCalls({});
    exchangeDialogs(project, DialogList::Uninstallation, 0, 2);
    EXPECT_EQ(project.UninstallDialogs, (std::vector<std::string>{"u3.ddf", "u2.ddf", "u1.ddf"}));
    deleteDialog(project, DialogList::Installation, 0);
    EXPECT_EQ(project.Dialogs, (std::vector<std::string>{"b.ddf", "c.ddf"}));
}

// The editor started with a project saved in a folder of its own, with two
// dialogs in each list.
class DialogPagesTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override
    {
        start({QString::fromStdString(writeProject("p.wfp"))});
        windows.MainForm->FormShow();
        Project &doc = project().document();
        doc.Dialogs = {"Dialogs\\welcome.ddf", "/abs/license.ddf"};
        doc.UninstallDialogs = {"Dialogs\\uninst.ddf", "Dialogs\\done.ddf"};
        dialogs().load();
        uninstall().load();
        project().SetModified(false);
    }
    ProjectController &project() { return windows.MainForm->controller(); }
    Project &document() { return project().document(); }
    TDialogsPage &dialogs() { return *qobject_cast<TDialogsPage *>(windows.MainForm->page(kDialogsPage)); }
    TUninstallPage &uninstall() { return *qobject_cast<TUninstallPage *>(windows.MainForm->page(kUninstallPage)); }
};

TEST_F(DialogPagesTest, AddingAppendsInTheDialogsOrder)
{
    fake.fileDialogs.results.push_back({true, {QStringLiteral("/d/z.ddf"), QStringLiteral("/d/a.ddf")}, 0});
    dialogs().B_AddUninstDialog->click();
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].kind, FileDialogRequest::Kind::OpenMany);
    EXPECT_EQ(fake.fileDialogs.requests[0].filter, QStringLiteral("Brindlewharf dialog files (*.ddf)"));
    EXPECT_EQ(fake.fileDialogs.requests[0].initialDir, QString::fromStdString(programFolder + "Dialogs"));
    EXPECT_EQ(document().UninstallDialogs,
              (std::vector<std::string>{"Dialogs\\uninst.ddf", "Dialogs\\done.ddf", "/d/z.ddf", "/d/a.ddf"}));
    EXPECT_EQ(dialogs().LB_UninstDialogs->count(), 4);
    EXPECT_TRUE(project().ProjectModified());

    project().SetModified(false);
    dialogs().B_AddDialogClick(); // cancelled
    EXPECT_EQ(fake.fileDialogs.requests.at(1).initialDir, QString::fromStdString(programFolder + "Dialogs"));
    EXPECT_EQ(document().Dialogs.size(), 2u);
    EXPECT_FALSE(project().ProjectModified());
}

TEST_F(DialogPagesTest, MovesAtTheEndsChangeNothing)
{
    document().DllCalls = {{"x.dll", "DoStep", 1}, {"y.dll", "DoStep", 2}};
    dialogs().LB_Dialogs->setCurrentRow(0);
    dialogs().B_MoveUp1->click();
    dialogs().LB_Dialogs->setCurrentRow(1);
    dialogs().B_MoveDown1->click();
    dialogs().B_MoveUp2Click(); // no selection
    EXPECT_EQ(document().Dialogs, (std::vector<std::string>{"Dialogs\\welcome.ddf", "/abs/license.ddf"}));
    EXPECT_FALSE(project().ProjectModified());

    // A real move: the selection and the DLL calls follow the dialog.
    dialogs().B_MoveUp1->click();
    EXPECT_EQ(document().Dialogs, (std::vector<std::string>{"/abs/license.ddf", "Dialogs\\welcome.ddf"}));
    EXPECT_EQ(dialogs().LB_Dialogs->item(0)->text(), QStringLiteral("/abs/license.ddf"));
    EXPECT_EQ(dialogs().LB_Dialogs->currentRow(), 0);
    EXPECT_EQ(callIndexes(document()), (std::vector<int32_t>{2, 1}));
    EXPECT_TRUE(project().ProjectModified());
}

TEST_F(DialogPagesTest, DeletingReportsTheDllCallsOfTheDeletedDialog)
{
    document().DllCalls = {{"x.dll", "First", -1}, {"y.dll", "Second", -2}, {"z.dll", "Third", 1}};
    // Tabbing into a list selects nothing: the buttons stay off and delete
    // nothing.
    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(dialogs().LB_UninstDialogs, &tabIn);
    EXPECT_FALSE(dialogs().B_DeleteUninstDialog->isEnabled());
    dialogs().B_DeleteUninstDialogClick();
    EXPECT_EQ(document().UninstallDialogs.size(), 2u);
    EXPECT_FALSE(dialogs().B_DeleteUninstDialog->isEnabled());
    dialogs().LB_UninstDialogs->setCurrentRow(0);
    EXPECT_TRUE(dialogs().B_DeleteUninstDialog->isEnabled());
    dialogs().B_DeleteUninstDialog->click();
    EXPECT_EQ(document().UninstallDialogs, std::vector<std::string>{"Dialogs\\done.ddf"});
    EXPECT_EQ(callIndexes(document()), (std::vector<int32_t>{0, -1, 1}));
    EXPECT_FALSE(dialogs().B_DeleteUninstDialog->isEnabled());
    EXPECT_TRUE(project().ProjectModified());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Warning);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("Dialogs\\uninst.ddf")));
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("x.dll (First)")));
    EXPECT_FALSE(fake.messages.shown[0].text.contains(QStringLiteral("y.dll")));

    // A dialog no call is tied to goes without a message.
    dialogs().LB_Dialogs->setCurrentRow(1);
    dialogs().B_DeleteDialogClick();
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(DialogPagesTest, TheDesignerStartsWithTheSelectedDialogOfItsList)
{
    dialogs().B_EditDialogClick(); // nothing selected
    EXPECT_TRUE(fake.processes.started.empty());

    dialogs().LB_Dialogs->setCurrentRow(1);
    dialogs().LB_UninstDialogs->setCurrentRow(0);
    emit dialogs().LB_UninstDialogs->itemDoubleClicked(dialogs().LB_UninstDialogs->item(0));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, QString::fromStdString(programFolder + "wharfdraft"));
    // Made absolute against the project's folder, with this system's separators.
    EXPECT_EQ(fake.processes.started[0].arguments,
              QStringList{QString::fromStdString(project().ProjectFolder() + "Dialogs/uninst.ddf")});
    dialogs().B_EditDialog->click();
    ASSERT_EQ(fake.processes.started.size(), 2u);
    EXPECT_EQ(fake.processes.started[1].arguments, QStringList{QStringLiteral("/abs/license.ddf")});
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_FALSE(project().ProjectModified());

    fake.processes.succeed = false;
    dialogs().B_EditDialog->click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    // The designer named with its path and why it did not start.
    EXPECT_EQ(fake.messages.shown[0].text,
              QStringLiteral("Could not execute Dialog Designer!\n\n%1wharfdraft\nNo such file or directory")
                  .arg(QString::fromStdString(programFolder)));
}

// A page shipped in the program folder is shared by every project: editing
// it from a project edits a copy beside the project, and the page stays as
// shipped.
TEST_F(DialogPagesTest, EditingAStockPageEditsACopyBesideTheProject)
{
    const std::string stock = programFolder + "Dialogs/welcome.ddf";
    ASSERT_TRUE(createFolder(programFolder + "Dialogs"));
    ASSERT_TRUE(writeFile(stock, "shipped"));
    // As an installed program folder ships it.
    ASSERT_EQ(::chmod(stock.c_str(), 0444), 0);
    const std::string folder = project().ProjectFolder();
    // An earlier copy (or the author's own file) of that name is kept.
    ASSERT_TRUE(writeFile(joinPath(folder, "welcome.ddf"), "mine"));
    document().Dialogs[0] = stock;
    dialogs().load();
    dialogs().LB_Dialogs->setCurrentRow(0);

    // Declined: nothing copied, changed or started.
    fake.messages.answers.push_back(QMessageBox::No);
    dialogs().B_EditDialog->click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QString::fromStdString(stock)));
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_FALSE(fileExists(joinPath(folder, "welcome 2.ddf")));
    EXPECT_EQ(document().Dialogs[0], stock);
    EXPECT_FALSE(project().ProjectModified());

    // Accepted: a copy under a free name, the entry points at it, the
    // designer edits it.
    const std::string copy = joinPath(folder, "welcome 2.ddf");
    fake.messages.answers.push_back(QMessageBox::Yes);
    dialogs().B_EditDialog->click();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_TRUE(fake.messages.shown[1].text.contains(QString::fromStdString(copy)));
    EXPECT_EQ(readFile(copy), "shipped");
    struct stat copied {};
    ASSERT_EQ(::stat(copy.c_str(), &copied), 0);
    EXPECT_TRUE(copied.st_mode & S_IWUSR); // the designer can save it
    EXPECT_EQ(readFile(joinPath(folder, "welcome.ddf")), "mine");
    EXPECT_EQ(document().Dialogs[0], "welcome 2.ddf");
    EXPECT_EQ(dialogs().LB_Dialogs->item(0)->text(), QStringLiteral("welcome 2.ddf"));
    EXPECT_TRUE(project().ProjectModified());
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].arguments, QStringList{QString::fromStdString(copy)});

    // The copy is the project's own: edited without a question.
    dialogs().B_EditDialog->click();
    EXPECT_EQ(fake.messages.shown.size(), 2u);
    ASSERT_EQ(fake.processes.started.size(), 2u);
    EXPECT_EQ(fake.processes.started[1].arguments, QStringList{QString::fromStdString(copy)});
    EXPECT_EQ(readFile(stock), "shipped");
}

// A project never saved has the program folder as its folder: there is no
// place of its own for the copy yet.
TEST(StockPageTest, AProjectNeverSavedIsToBeSavedBeforeAStockPageIsEdited)
{
    testing::EditorFixture run;
    run.start();
    run.windows.MainForm->FormShow();
    const std::string stock = run.programFolder + "Dialogs/welcome.ddf";
    ASSERT_TRUE(createFolder(run.programFolder + "Dialogs"));
    ASSERT_TRUE(writeFile(stock, "shipped"));
    auto &page = *qobject_cast<TDialogsPage *>(run.windows.MainForm->page(kDialogsPage));
    run.windows.MainForm->controller().document().UninstallDialogs = {"Dialogs\\welcome.ddf"};
    page.load();
    page.LB_UninstDialogs->setCurrentRow(0);
    page.B_EditUninstDialogClick();
    ASSERT_EQ(run.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(run.fake.messages.shown[0].text.contains(QStringLiteral("Save the project")));
    EXPECT_TRUE(run.fake.processes.started.empty());
    EXPECT_EQ(readFile(stock), "shipped");
    EXPECT_EQ(listFolder(run.programFolder + "Dialogs").size(), 1u);
}

TEST_F(DialogPagesTest, ScriptsAndTextFilesReachTheDocument)
{
    dialogs().SM_FinalScript->M_Script->setPlainText(QStringLiteral("// done\nExit"));
    EXPECT_EQ(document().FinalScript, (std::vector<std::string>{"// done", "Exit"}));
    EXPECT_TRUE(document().InitScript.empty());
    EXPECT_TRUE(project().ProjectModified());

    project().SetModified(false);
    dialogs().FE_LicenseFile->setText(QStringLiteral("/docs/license.rtf"));
    EXPECT_EQ(document().General.LicenseFile, "/docs/license.rtf");
    EXPECT_TRUE(project().ProjectModified());

    // Loading fills the frames without marking the project.
    project().SetModified(false);
    document().InstallScript = {"Copy", "Done"};
    dialogs().load();
    EXPECT_EQ(dialogs().SM_InstallScript->Lines(), (QStringList{QStringLiteral("Copy"), QStringLiteral("Done")}));
    EXPECT_FALSE(project().ProjectModified());

    // A save reloads the page: the script being typed keeps its caret and
    // its undo steps.
    QPlainTextEdit *memo = dialogs().SM_InstallScript->M_Script;
    QTextCursor caret = memo->textCursor();
    caret.setPosition(2);
    caret.insertText(QStringLiteral("py"));
    memo->setTextCursor(caret);
    EXPECT_EQ(document().InstallScript, (std::vector<std::string>{"Copypy", "Done"}));
    dialogs().load();
    EXPECT_EQ(memo->textCursor().position(), 4);
    EXPECT_TRUE(memo->document()->isUndoAvailable());
}

TEST_F(DialogPagesTest, TheBillboardEditorRestoresOnCancelAndMarksOnOk)
{
    document().BillboardPics = {"one.bmp", "two.bmp"};
    TBillboardEditor &editor = *windows.BillboardEditor;
    fake.modal.handler = [&](QDialog &) {
        EXPECT_EQ(editor.LB_BillboardPics->count(), 2);
        // Tabbing into the list selects no picture to delete.
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(editor.LB_BillboardPics, &tabIn);
        editor.B_DeletePic->click();
        EXPECT_EQ(document().BillboardPics.size(), 2u);
        editor.LB_BillboardPics->setCurrentRow(0);
        editor.B_DeletePic->click();
        editor.SE_DelayTime->setValue(250);
        editor.Ch_Loop->setChecked(false);
        EXPECT_EQ(document().BillboardPics, std::vector<std::string>{"two.bmp"});
        editor.B_Cancel->click();
        return editor.result();
    };
    dialogs().B_BillConfig->click();
    EXPECT_EQ(document().BillboardPics, (std::vector<std::string>{"one.bmp", "two.bmp"}));
    EXPECT_EQ(document().General.BillboardDelay, 1000);
    EXPECT_TRUE(document().General.BillboardLoop);
    EXPECT_FALSE(project().ProjectModified());

    fake.fileDialogs.results.push_back({true, {QStringLiteral("/pics/three.bmp")}, 0});
    fake.modal.handler = [&](QDialog &) {
        editor.B_AddPic->click();
        editor.LB_BillboardPics->setCurrentRow(2);
        editor.B_PicUp->click();
        editor.B_PicDown->click();
        editor.B_PicDown->click(); // the last one: nothing below it
        editor.SE_DelayTime->setValue(500);
        editor.B_OK->click();
        return editor.result();
    };
    dialogs().B_BillConfigClick();
    EXPECT_EQ(document().BillboardPics, (std::vector<std::string>{"one.bmp", "two.bmp", "/pics/three.bmp"}));
    EXPECT_EQ(document().General.BillboardDelay, 500);
    EXPECT_TRUE(project().ProjectModified());

    // A stored delay the box can't show is shown clamped; OK keeps what was
    // shown, Cancel the stored value.
    struct DelayCase {
        int32_t stored;
        bool ok;
        int shown;
        int32_t kept;
    };
    for (const DelayCase &c : {DelayCase{0, false, 1, 0}, DelayCase{0, true, 1, 1},
                               DelayCase{250000, true, 100000, 100000}}) {
        document().General.BillboardDelay = c.stored;
        fake.modal.handler = [&](QDialog &) {
            EXPECT_EQ(editor.SE_DelayTime->value(), c.shown);
            (c.ok ? editor.B_OK : editor.B_Cancel)->click();
            return editor.result();
        };
        dialogs().B_BillConfigClick();
        EXPECT_EQ(document().General.BillboardDelay, c.kept) << c.stored << " " << c.ok;
    }
    fake.modal.handler = nullptr;
}

TEST_F(DialogPagesTest, TheBillboardDeleteIsOnOnlyWithAPictureSelected)
{
    TBillboardEditor &editor = *windows.BillboardEditor;
    fake.fileDialogs.results.push_back({true, {QStringLiteral("/pics/three.bmp")}, 0});
    fake.modal.handler = [&](QDialog &) {
        EXPECT_FALSE(editor.B_DeletePic->isEnabled()); // pictures, none selected
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(editor.LB_BillboardPics, &tabIn);
        EXPECT_FALSE(editor.B_DeletePic->isEnabled());
        editor.LB_BillboardPics->setCurrentRow(0);
        EXPECT_TRUE(editor.B_DeletePic->isEnabled());
        editor.B_DeletePic->click();
        EXPECT_EQ(document().BillboardPics, std::vector<std::string>{"two.bmp"});
        EXPECT_FALSE(editor.B_DeletePic->isEnabled()); // the next one is chosen anew
        editor.B_AddPic->click(); // the added picture is the selected one
        EXPECT_EQ(editor.LB_BillboardPics->currentRow(), 1);
        EXPECT_TRUE(editor.B_DeletePic->isEnabled());
        editor.B_DeletePic->click();
        editor.LB_BillboardPics->setCurrentRow(0);
        editor.B_DeletePic->click();
        EXPECT_FALSE(editor.B_DeletePic->isEnabled()); // the last one went
        editor.B_OK->click();
        return editor.result();
    };
    document().BillboardPics = {"one.bmp", "two.bmp"};
    dialogs().B_BillConfigClick();
    EXPECT_TRUE(document().BillboardPics.empty());
    fake.modal.handler = nullptr;
}

TEST_F(DialogPagesTest, UninstallerEnablingRulesReachTheDialogsPage)
{
    EXPECT_TRUE(uninstall().Ch_CreateUninst->isChecked());
    EXPECT_FALSE(uninstall().L_UninstFolder->isEnabled());
    EXPECT_FALSE(uninstall().E_UninstFolder->isEnabled());
    uninstall().Ch_AutomaticUninstFolder->click();
    EXPECT_TRUE(uninstall().L_UninstFolder->isEnabled());
    EXPECT_TRUE(uninstall().E_UninstFolder->isEnabled());
    EXPECT_EQ(uninstall().E_UninstFolder->text(), QStringLiteral("{app}\\Uninstall"));
    EXPECT_FALSE(document().General.AutomaticUninstDir);
    EXPECT_TRUE(project().ProjectModified());

    uninstall().Ch_CreateUninst->click();
    EXPECT_FALSE(document().General.Uninstaller);
    for (QWidget *w : std::initializer_list<QWidget *>{uninstall().Ch_UninstIcon, uninstall().E_UninstIcon,
                                                       uninstall().Ch_AutomaticUninstFolder, uninstall().E_UninstFolder,
                                                       dialogs().L_UninstDlgCaption, dialogs().LB_UninstDialogs,
                                                       dialogs().B_AddUninstDialog, dialogs().B_EditUninstDialog,
                                                       dialogs().B_DeleteUninstDialog, dialogs().B_MoveUp2,
                                                       dialogs().B_MoveDown2})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(dialogs().LB_Dialogs->isEnabled());

    // Checked again: edit and delete come back even without a selection.
    uninstall().Ch_CreateUninst->click();
    EXPECT_TRUE(dialogs().B_EditUninstDialog->isEnabled());
    EXPECT_TRUE(dialogs().B_DeleteUninstDialog->isEnabled());
    EXPECT_TRUE(uninstall().E_UninstIcon->isEnabled());
    EXPECT_TRUE(uninstall().E_UninstFolder->isEnabled());
    dialogs().B_DeleteUninstDialogClick(); // nothing selected: nothing happens
    EXPECT_EQ(document().UninstallDialogs.size(), 2u);

    uninstall().Ch_UninstIcon->click();
    EXPECT_FALSE(uninstall().L_UninstIcon->isEnabled());
    EXPECT_FALSE(uninstall().E_UninstIcon->isEnabled());

    // A loaded project without uninstaller shows the dialogs page disabled.
    document().General.Uninstaller = false;
    dialogs().load();
    EXPECT_FALSE(dialogs().LB_UninstDialogs->isEnabled());
}

TEST_F(DialogPagesTest, AutorunOptionsAndTheirEnabling)
{
    for (QWidget *w : std::initializer_list<QWidget *>{uninstall().L_IconFile, uninstall().FE_AutorunIcon,
                                                       uninstall().L_CallApp, uninstall().E_CallApp})
        EXPECT_FALSE(w->isEnabled());
    uninstall().Ch_Autorun->click();
    EXPECT_TRUE(document().General.CreateAutorun);
    EXPECT_TRUE(uninstall().FE_AutorunIcon->isEnabled());
    EXPECT_TRUE(uninstall().E_CallApp->isEnabled());
    project().SetModified(false);
    uninstall().E_CallApp->setText(QStringLiteral("start.exe"));
    EXPECT_EQ(document().General.AutorunApplication, "start.exe");
    EXPECT_TRUE(project().ProjectModified());
    project().SetModified(false);
    uninstall().RG_ReportLevel->button(2)->click();
    EXPECT_EQ(document().General.UninstReportLevel, 2);
    EXPECT_TRUE(project().ProjectModified());
}

TEST_F(DialogPagesTest, UninstallExpressionsAskAndStoreTheEmptyMarker)
{
    QString answer;
    fake.modal.handler = [&](QDialog &dialog) {
        auto &window = static_cast<TInputWindow &>(dialog);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Uninstall files/folders"));
        EXPECT_EQ(window.L_Caption->text(), QStringLiteral("Name of files/folders to be deleted (wildcards allowed):"));
        window.E_Input->setText(answer);
        return int(QDialog::Accepted);
    };
    answer = QString();
    uninstall().B_AddUninstExpr->click();
    answer = QStringLiteral("{app}\\*.log");
    uninstall().B_AddUninstExpr->click();
    EXPECT_EQ(document().UninstExpressions, (std::vector<std::string>{"{emp}", "{app}\\*.log"}));
    EXPECT_EQ(uninstall().LB_UninstExpressions->item(0)->text(), QStringLiteral("{emp}"));
    EXPECT_TRUE(project().ProjectModified());

    EXPECT_FALSE(uninstall().B_EditUninstExpr->isEnabled());
    uninstall().LB_UninstExpressions->setCurrentRow(1);
    EXPECT_TRUE(uninstall().B_EditUninstExpr->isEnabled());
    answer = QString();
    emit uninstall().LB_UninstExpressions->itemDoubleClicked(uninstall().LB_UninstExpressions->item(1));
    EXPECT_EQ(document().UninstExpressions, (std::vector<std::string>{"{emp}", "{emp}"}));

    // Cancel changes nothing.
    project().SetModified(false);
    fake.modal.handler = [](QDialog &) { return int(QDialog::Rejected); };
    uninstall().B_EditUninstExprClick();
    uninstall().B_AddUninstExprClick();
    EXPECT_EQ(document().UninstExpressions.size(), 2u);
    EXPECT_FALSE(project().ProjectModified());

    uninstall().B_DeleteUninstExpr->click();
    EXPECT_EQ(document().UninstExpressions, std::vector<std::string>{"{emp}"});
    EXPECT_FALSE(uninstall().B_DeleteUninstExpr->isEnabled());
    EXPECT_TRUE(project().ProjectModified());
}

} // namespace
} // namespace wharf
