#include "mainform.h"

#include "editorfixture.h"
#include "editorpage.h"
#include "editorsettings.h"
#include "files.h"
#include "inistore.h"
#include "mainnavigation.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "mrufilelist.h"
#include "pagetable.h"
#include "panelstatusbar.h"
#include "paths.h"
#include "readform.h"
#include "scriptmemo.h"
#include "varform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>

#include <unistd.h>

namespace wharf {
namespace {

using testing::EditorFixture;

class TMainFormTest : public ::testing::Test, public EditorFixture {
protected:
    TMainForm &form() { return *windows.MainForm; }
    ProjectController &project() { return form().controller(); }

    void writeSettings(const std::function<void(Settings &)> &write)
    {
        Settings settings(environment.settingsFolder);
        ASSERT_TRUE(settings.openKey(kEditorSettingsKey, true));
        write(settings);
        settings.closeKey();
    }
};

// Changes the process's current folder for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string &folder) : m_old(QDir::currentPath())
    {
        QDir::setCurrent(QString::fromStdString(folder));
    }
    ~CurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

TEST_F(TMainFormTest, CreatesTheFrameWithTenPages)
{
    start();
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Brindlewharf Professional"));
    EXPECT_EQ(form().shell().BaseCaption, QStringLiteral("Brindlewharf Professional"));
    ASSERT_EQ(form().NB_DataSheets->count(), kPageCount);
    EXPECT_EQ(form().OB_Main->headerCount(), kPageCount);
    EXPECT_EQ(form().OB_Main->width(), 185);
    int buttons = 0;
    for (int i = 0; i < kPageCount; ++i) {
        buttons += form().OB_Main->buttonCount(i);
        EXPECT_EQ(form().OB_Main->header(i)->objectName(), QString::fromLatin1(editorPages()[i].header));
    }
    EXPECT_EQ(buttons, 20);
    EXPECT_EQ(form().OB_Main->ActiveHeader(), kGeneralPage);
    EXPECT_TRUE(form().MI_Steps[kGeneralPage]->isChecked());
    ASSERT_NE(form().findChild<TNavButton *>(QStringLiteral("OB_ExecSetup")), nullptr);
    EXPECT_EQ(form().findChild<TNavButton *>(QStringLiteral("OB_CompileNow"))->size(), QSize(108, 60));

    // The windows of the creation list that exist, and the shell's values.
    EXPECT_NE(windows.VarForm, nullptr);
    EXPECT_NE(windows.SystemForm, nullptr);
    EXPECT_NE(windows.ReadForm, nullptr);
    ASSERT_EQ(form().shell().OwnFileList.size(), 9);
    EXPECT_EQ(form().shell().OwnFileList.at(1), environment.programFolder + QStringLiteral("libwharfforge.so"));
    ASSERT_NE(form().shell().ExtensionDefaults, nullptr);
    EXPECT_TRUE(form().shell().ShowCompileWarning);
}

TEST_F(TMainFormTest, EveryPageIsThereWithItsButtonsEnabled)
{
    start();
    for (int i = 0; i < kPageCount; ++i) {
        TEditorPage *page = form().page(i);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->pageIndex(), i);
        EXPECT_TRUE(page->isEnabled()) << i;
        for (int b = 0; b < form().OB_Main->buttonCount(i); ++b)
            EXPECT_TRUE(form().OB_Main->button(i, b)->isEnabled()) << i << " " << b;
    }
    // Pages with tabs keep their tab controls and named tabs.
    auto *files = form().findChild<QTabWidget *>(QStringLiteral("PC_FilePages"));
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->count(), 3);
    EXPECT_EQ(files->tabText(1), QStringLiteral("Installation types"));
    EXPECT_NE(form().findChild<QWidget *>(QStringLiteral("TS_DllExtensions")), nullptr);
}

TEST_F(TMainFormTest, BarMenuAndPageStayInStep)
{
    start();
    // The menu selects the page and opens the header.
    form().MI_Steps[kFilesPage]->trigger();
    EXPECT_EQ(form().NB_DataSheets->currentIndex(), kFilesPage);
    EXPECT_EQ(form().OB_Main->ActiveHeader(), kFilesPage);
    EXPECT_TRUE(form().MI_Steps[kFilesPage]->isChecked());
    EXPECT_FALSE(form().MI_Steps[kGeneralPage]->isChecked());

    // Opening a header selects the page and checks the menu item.
    form().OB_Main->SetActiveHeader(kRegistryPage);
    EXPECT_EQ(form().NB_DataSheets->currentIndex(), kRegistryPage);
    EXPECT_TRUE(form().MI_Steps[kRegistryPage]->isChecked());

    // A handler called by the bar does not set the bar again.
    form().B_CompileClick(form().OB_Main);
    EXPECT_EQ(form().NB_DataSheets->currentIndex(), kCompilePage);
    EXPECT_EQ(form().OB_Main->ActiveHeader(), kRegistryPage);
    EXPECT_TRUE(form().MI_Steps[kCompilePage]->isChecked());

    // The bar's change event with an index outside the pages does nothing.
    form().OB_MainChange(form().OB_Main, kCompilePage, 12);
    EXPECT_EQ(form().NB_DataSheets->currentIndex(), kCompilePage);
}

TEST_F(TMainFormTest, TheHelpContextFollowsPageAndTab)
{
    start();
    EXPECT_EQ(form().helpContext(), 10);
    form().B_FilesClick(form().MI_Steps[kFilesPage]);
    EXPECT_EQ(form().helpContext(), 16);
    form().page(kFilesPage)->tabControl()->setCurrentIndex(2);
    EXPECT_EQ(form().helpContext(), 18);
    // A header button selects the tab of its index.
    form().OB_ButtonClick(kFilesPage, 1);
    EXPECT_EQ(form().page(kFilesPage)->tabControl()->currentIndex(), 1);
    EXPECT_EQ(form().helpContext(), 17);
    form().B_INIClick(nullptr);
    EXPECT_EQ(form().helpContext(), 21);
    EXPECT_EQ(form().NB_DataSheets->property("HelpContext").toInt(), 21);
    form().B_CompileClick(nullptr);
    EXPECT_EQ(form().helpContext(), 26);
}

TEST_F(TMainFormTest, StatusBarPanels)
{
    start();
    const int widths[] = {300, 35, 200, 40, 100, 50};
    ASSERT_EQ(form().Sb_Main->panelCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form().Sb_Main->panelWidth(i), widths[i]);
    EXPECT_TRUE(form().Sb_Main->panelText(TMainForm::kMemoryPanel).startsWith(QStringLiteral("Available memory: ")));
    EXPECT_TRUE(form().Sb_Main->panelText(TMainForm::kMemoryPanel).endsWith(QStringLiteral(" KB")));
    EXPECT_EQ(form().G_Mem->toolTip(), QStringLiteral("Available physical memory"));
    EXPECT_EQ(form().pb_LoadProgress->parentWidget(), form().Sb_Main);

    project().SetModified(true);
    EXPECT_EQ(form().Sb_Main->panelText(TMainForm::kModifiedPanel), QStringLiteral("Modified"));
    EXPECT_TRUE(form().MI_Save->isEnabled());
    project().SetModified(false);
    EXPECT_TRUE(form().Sb_Main->panelText(TMainForm::kModifiedPanel).isEmpty());
    EXPECT_FALSE(form().MI_Save->isEnabled());
}

TEST_F(TMainFormTest, WithoutArgumentsTheTemplateOpensAsANewProject)
{
    start();
    form().FormShow();
    EXPECT_EQ(project().ProjectFileName(), programFolder + "default.wfp");
    EXPECT_EQ(project().document().General.AppName, "My Application");
    EXPECT_FALSE(project().ProjectModified());
    EXPECT_EQ(form().windowTitle(), QString::fromStdString("Brindlewharf Professional - " + programFolder + "default.wfp"));
    EXPECT_EQ(form().Sb_Main->panelText(TMainForm::kPercentPanel), QStringLiteral("OK"));
    EXPECT_FALSE(windows.ReadForm->isVisible());
    EXPECT_TRUE(terminations.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(TMainFormTest, TheProjectArgumentOpensRelativeToTheCurrentFolder)
{
    const std::string path = writeProject("start.wfp", "Started");
    CurrentFolder here(scratch.path());
    start({QStringLiteral("start.wfp")});
    form().FormShow();
    EXPECT_EQ(project().ProjectFileName(), path);
    EXPECT_EQ(project().document().General.AppName, "Started");
    EXPECT_TRUE(terminations.empty());
}

TEST_F(TMainFormTest, OnlyTheCompileSwitchAsSecondOfTwoArgumentsEndsTheProgram)
{
    const std::string path = writeProject("p.wfp");
    const QString project = QString::fromStdString(path);
    struct Case {
        QStringList arguments;
        bool ends;
    };
    const Case cases[] = {
        {{project, QStringLiteral("-x")}, false},
        // (With "-c" among three, the program ends before any window.)
        {{project, QStringLiteral("b.wfp"), QStringLiteral("c.wfp")}, false},
        {{project, QStringLiteral("-C")}, true},
        {{project, QStringLiteral("/c")}, true},
    };
    for (const Case &c : cases) {
        EditorFixture run;
        run.start(c.arguments);
        run.windows.MainForm->FormShow();
        EXPECT_EQ(run.windows.MainForm->controller().ProjectFileName(), path) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.terminations.size(), c.ends ? 1u : 0u) << c.arguments.join(' ').toStdString();
        // A batch compile leaves the recent files alone.
        EXPECT_EQ(run.windows.MainForm->MRU->Items().contains(project), !c.ends) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.fake.messages.shown.empty());
        EXPECT_TRUE(run.fake.modal.shown.empty());
    }
}

TEST_F(TMainFormTest, ABatchCompileOfAProjectThatCannotBeOpenedAsksNothing)
{
    start({QString::fromStdString(scratch.file("missing.wfp")), QStringLiteral("-c")});
    form().FormShow();
    ASSERT_EQ(terminations.size(), 1u);
    EXPECT_EQ(terminations[0], 2);
    ASSERT_FALSE(printed.empty());
    EXPECT_TRUE(printed[0].error);
    EXPECT_TRUE(printed[0].line.contains(QStringLiteral("missing.wfp")));
    EXPECT_TRUE(fake.messages.shown.empty());

    // A file that is no project: the question is answered No, not asked.
    EditorFixture other;
    const std::string junk = other.scratch.file("junk.wfp");
    writeFile(junk, "[Something]\r\nelse=1\r\n");
    other.start({QString::fromStdString(junk), QStringLiteral("-c")});
    other.windows.MainForm->FormShow();
    ASSERT_EQ(other.terminations.size(), 1u);
    EXPECT_EQ(other.terminations[0], 2);
    EXPECT_TRUE(other.fake.messages.shown.empty());
    ASSERT_GE(other.printed.size(), 2u);
    // The output says what was answered in the author's place.
    EXPECT_TRUE(other.printed[0].line.endsWith(QStringLiteral("\nAnswered No: a batch compile asks nobody.")))
        << other.printed[0].line.toStdString();

    // A folder is named as one, in the batch and in the window.
    EditorFixture folder;
    folder.start({QString::fromStdString(folder.scratch.path()), QStringLiteral("-c")});
    folder.windows.MainForm->FormShow();
    ASSERT_EQ(folder.terminations.size(), 1u);
    EXPECT_EQ(folder.terminations[0], 2);
    ASSERT_FALSE(folder.printed.empty());
    EXPECT_TRUE(folder.printed[0].line.contains(QStringLiteral(" is a folder"))) << folder.printed[0].line.toStdString();
    EditorFixture window;
    window.start({QString::fromStdString(window.scratch.path())});
    window.windows.MainForm->FormShow();
    ASSERT_EQ(window.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(window.fake.messages.shown[0].text.contains(QStringLiteral(" is a folder")));
}

TEST_F(TMainFormTest, AnySpellingOfTheProjectPathOpensAndCompilesTheOneFile)
{
    // A project in a work folder, and a release linked in as a build script
    // does it: current.wfp -> releases/1.2/app.wfp.
    ASSERT_TRUE(createFolder(scratch.file("work")));
    ASSERT_TRUE(createFolder(scratch.file("releases")));
    ASSERT_TRUE(createFolder(scratch.file("releases/1.2")));
    const std::string work = writeProject("work/p.wfp", "Work");
    const std::string release = writeProject("releases/1.2/app.wfp", "Release");
    ASSERT_EQ(::symlink("releases/1.2/app.wfp", scratch.file("current.wfp").c_str()), 0);
    CurrentFolder here(scratch.file("work"));
    struct Case {
        std::string spelling;
        std::string file;
    };
    const Case cases[] = {
        {"p.wfp", work},
        {"./p.wfp", work},
        {"../work/p.wfp", work},
        {scratch.path() + "//work//p.wfp", work},
        {scratch.path() + "/work/./../work/p.wfp", work},
        {"../current.wfp", release},
        {scratch.file("current.wfp"), release},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.spelling);
        for (const bool batch : {true, false}) {
            EditorFixture run;
            std::vector<std::string> workDirs;
            run.environment.compileFile = [&](const char *projectFile, const char *, CompileCallback, bool) {
                workDirs.push_back(TMemIniStore(projectFile).ReadString("Temporary", "WorkDir", ""));
                return true;
            };
            QStringList arguments{QString::fromStdString(c.spelling)};
            if (batch)
                arguments << QStringLiteral("-c");
            run.start(arguments);
            run.windows.MainForm->FormShow();
            const ProjectController &project = run.windows.MainForm->controller();
            EXPECT_EQ(project.ProjectFileName(), c.file);
            // The project's relative paths are taken against the folder of
            // the file the link ends at.
            EXPECT_EQ(project.ProjectFolder(), extractFilePath(c.file));
            EXPECT_TRUE(run.fake.messages.shown.empty());
            if (batch) {
                ASSERT_EQ(run.terminations.size(), 1u);
                EXPECT_NE(run.terminations[0], 2) << (run.printed.empty() ? "" : run.printed[0].line.toStdString());
                EXPECT_EQ(workDirs, std::vector<std::string>{extractFilePath(c.file)});
            } else {
                EXPECT_TRUE(run.terminations.empty());
            }
        }
    }
}

TEST_F(TMainFormTest, AProjectArgumentThatCannotBeOpenedStartsANewProject)
{
    start({QString::fromStdString(scratch.file("missing.wfp"))});
    form().FormShow();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("missing.wfp")));
    EXPECT_EQ(project().ProjectFileName(), programFolder + "default.wfp");
    EXPECT_TRUE(terminations.empty());
}

TEST_F(TMainFormTest, SettingsReadAfterTheProjectShowThePaletteAndTheTools)
{
    writeSettings([](Settings &s) {
        s.writeBool(QStringLiteral("ShowVariables"), true);
        s.writeInteger(QStringLiteral("VWLeft"), 70);
        s.writeInteger(QStringLiteral("VWTop"), 80);
        s.writeBool(QStringLiteral("ShowWarning"), false);
        ASSERT_TRUE(s.openKey(QStringLiteral("Tools"), true));
        s.writeString(QStringLiteral("Editor"), QStringLiteral("notepad.exe readme.txt"));
        s.writeString(QStringLiteral("Nothing"), QString());
        s.writeString(QStringLiteral("Viewer"), QStringLiteral("\"C:\\My Tools\\view.exe\" \"a b.txt\""));
    });
    start();
    EXPECT_FALSE(form().MI_Tools->menuAction()->isVisible());
    TScriptMemo::setHighlightSyntax(false);
    form().FormShow();

    EXPECT_TRUE(form().shell().VariablesShown);
    EXPECT_TRUE(windows.VarForm->isVisible());
    EXPECT_EQ(windows.VarForm->pos(), QPoint(70, 80));
    EXPECT_EQ(form().MI_Variables->text(), QStringLiteral("Hide &variables"));
    EXPECT_FALSE(form().shell().ShowCompileWarning);
    EXPECT_TRUE(TScriptMemo::HighlightSyntax());

    EXPECT_TRUE(form().MI_Tools->menuAction()->isVisible());
    const QList<QAction *> tools = form().MI_Tools->actions();
    ASSERT_EQ(tools.size(), 3);
    EXPECT_EQ(tools[0]->text(), QStringLiteral("Editor"));
    EXPECT_EQ(tools[0]->property("IconProgram").toString(), QStringLiteral("notepad.exe"));
    EXPECT_FALSE(tools[1]->property("IconProgram").isValid());
    EXPECT_TRUE(tools[1]->icon().isNull());
    EXPECT_EQ(tools[2]->property("IconProgram").toString(), QStringLiteral("C:\\My Tools\\view.exe"));
    EXPECT_EQ(form().shell().ToolCommands.size(), 3);

    // Without wine a Windows tool can't start.
    form().RunToolCommand(tools[0]);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Could not execute notepad.exe readme.txt!\n\nnotepad.exe\n"
                                                          "%1").arg(QStringLiteral("Windows programs cannot run here: no runner for them (wine) is installed.")));
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    windows.VarForm->hide();
}

TEST_F(TMainFormTest, ToolsStartTheirCommandLines)
{
    writeSettings([](Settings &s) {
        s.writeBool(QStringLiteral("ShowVariables"), false);
        s.writeInteger(QStringLiteral("VWLeft"), 0);
        s.writeInteger(QStringLiteral("VWTop"), 0);
        ASSERT_TRUE(s.openKey(QStringLiteral("Tools"), true));
        s.writeString(QStringLiteral("A editor"), QStringLiteral("/usr/bin/gedit \"my file.txt\""));
        s.writeString(QStringLiteral("B notepad"), QStringLiteral("notepad.exe"));
    });
    environment.winePath = QStringLiteral("/opt/wine");
    start();
    form().FormShow();
    EXPECT_FALSE(windows.VarForm->isVisible());
    EXPECT_TRUE(form().shell().ShowCompileWarning);
    const QList<QAction *> tools = form().MI_Tools->actions();
    ASSERT_EQ(tools.size(), 2);
    tools[1]->trigger();
    tools[0]->trigger();
    ASSERT_EQ(fake.processes.started.size(), 2u);
    EXPECT_EQ(fake.processes.started[0].program, QStringLiteral("/opt/wine"));
    EXPECT_EQ(fake.processes.started[0].arguments, QStringList{QStringLiteral("notepad.exe")});
    EXPECT_EQ(fake.processes.started[1].program, QStringLiteral("/usr/bin/gedit"));
    EXPECT_EQ(fake.processes.started[1].arguments, QStringList{QStringLiteral("my file.txt")});
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(TMainFormTest, MissingSettingsLeaveThePaletteHiddenAndNoTools)
{
    start();
    form().FormShow();
    EXPECT_FALSE(form().shell().VariablesShown);
    EXPECT_FALSE(windows.VarForm->isVisible());
    // A new user is warned before the output folder is cleared.
    EXPECT_TRUE(form().shell().ShowCompileWarning);
    EXPECT_FALSE(form().MI_Tools->menuAction()->isVisible());
}

TEST_F(TMainFormTest, TheVariablesItemTogglesThePalette)
{
    start();
    form().MI_VariablesClick();
    EXPECT_TRUE(windows.VarForm->isVisible());
    EXPECT_EQ(form().MI_Variables->text(), QStringLiteral("Hide &variables"));
    form().MI_VariablesClick();
    EXPECT_FALSE(windows.VarForm->isVisible());
    EXPECT_EQ(form().MI_Variables->text(), QStringLiteral("Show &variables"));

    // Closing the palette's window switches it off.
    form().MI_VariablesClick();
    windows.VarForm->close();
    EXPECT_FALSE(form().shell().VariablesShown);
    EXPECT_EQ(form().MI_Variables->text(), QStringLiteral("Show &variables"));
}

TEST_F(TMainFormTest, ClosingAsksAboutUnsavedChangesAndWritesTheSettings)
{
    start();
    form().FormShow();
    form().MI_VariablesClick();
    windows.VarForm->move(15, 25);
    project().SetModified(true);

    fake.messages.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(form().close());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Do you want to save the current file?"));
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Warning);
    Settings settings(environment.settingsFolder);
    // The recent-files list made the key; nothing was written into it.
    ASSERT_TRUE(settings.openKey(kEditorSettingsKey, false));
    EXPECT_FALSE(settings.valueExists(QStringLiteral("ShowVariables")));
    settings.closeKey();

    fake.messages.answers = {QMessageBox::No};
    EXPECT_TRUE(form().close());
    ASSERT_TRUE(settings.openKey(kEditorSettingsKey, false));
    EXPECT_TRUE(settings.readBool(QStringLiteral("ShowVariables")));
    EXPECT_EQ(settings.readInteger(QStringLiteral("VWLeft")), 15);
    EXPECT_EQ(settings.readInteger(QStringLiteral("VWTop")), 25);
    EXPECT_TRUE(settings.readBool(QStringLiteral("ShowWarning")));
}

TEST_F(TMainFormTest, FileMenuOpensAppendsAndSaves)
{
    start();
    form().FormShow();
    const std::string first = writeProject("first.wfp", "First");
    const std::string second = writeProject("second.wfp", "Second");

    fake.fileDialogs.results.push_back({true, {QString::fromStdString(first)}, 0});
    form().MI_Open->trigger();
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].filter, QStringLiteral("Brindlewharf files (*.wfp)"));
    EXPECT_EQ(fake.fileDialogs.requests[0].defaultExt, QStringLiteral("wfp"));
    EXPECT_EQ(project().document().General.AppName, "First");
    EXPECT_EQ(form().windowTitle(), QString::fromStdString("Brindlewharf Professional - " + first));
    EXPECT_FALSE(form().MI_Save->isEnabled());

    // Append asks nothing and marks the project modified.
    fake.fileDialogs.results.push_back({true, {QString::fromStdString(second)}, 0});
    form().MI_Append->trigger();
    EXPECT_EQ(project().document().General.AppName, "First");
    EXPECT_TRUE(project().ProjectModified());
    EXPECT_EQ(form().Sb_Main->panelText(TMainForm::kModifiedPanel), QStringLiteral("Modified"));
    EXPECT_TRUE(fake.messages.shown.empty());

    form().MI_Save->trigger();
    EXPECT_FALSE(project().ProjectModified());
    EXPECT_FALSE(form().MI_Save->isEnabled());
    EXPECT_FALSE(windows.ReadForm->isVisible());

    const std::string copy = scratch.file("copy.wfp");
    fake.fileDialogs.results.push_back({true, {QString::fromStdString(copy)}, 0});
    form().MI_SaveAs->trigger();
    EXPECT_TRUE(fileExists(copy));
    EXPECT_EQ(project().ProjectFileName(), copy);

    // New from an unmodified project asks nothing.
    form().MI_New->trigger();
    EXPECT_EQ(project().ProjectFileName(), programFolder + "default.wfp");
    EXPECT_TRUE(fake.messages.shown.empty());
}

// The project dialogs never open in the program folder: a new project is
// saved into the user's documents folder, or where the last project was
// saved; a project with a file of its own beside it.
TEST_F(TMainFormTest, TheProjectDialogsOpenWhereTheAuthorsProjectsAre)
{
    start();
    form().FormShow();
    ASSERT_EQ(project().ProjectFolder(), programFolder);
    const QString documents = environment.documentsFolder;
    const std::string mine = scratch.file("mine");
    createFolder(mine);
    const std::string saved = joinPath(mine, "first.wfp");
    const auto lastFolder = [&] { return fake.fileDialogs.requests.back().initialDir; };

    form().MI_SaveAs->trigger(); // cancelled
    EXPECT_EQ(fake.fileDialogs.requests.back().kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(lastFolder(), documents);
    form().MI_Open->trigger();
    EXPECT_EQ(lastFolder(), documents);

    fake.fileDialogs.results.push_back({true, {QString::fromStdString(saved)}, 0});
    form().MI_SaveAs->trigger();
    ASSERT_EQ(project().ProjectFileName(), saved);
    form().MI_SaveAs->trigger();
    EXPECT_EQ(lastFolder(), QString::fromStdString(mine + "/"));

    // A new project after that: the folder of the last save.
    form().MI_New->trigger();
    form().MI_SaveAs->trigger();
    EXPECT_EQ(lastFolder(), QString::fromStdString(mine + "/"));

    // Without a documents folder given: the user's own, never the program's.
    environment.documentsFolder.clear();
    ASSERT_TRUE(QDir(QString::fromStdString(mine)).removeRecursively());
    form().MI_SaveAs->trigger();
    EXPECT_NE(lastFolder(), QString::fromStdString(programFolder));
    EXPECT_TRUE(QFileInfo(lastFolder()).isDir()) << lastFolder().toStdString();
}

TEST_F(TMainFormTest, RecentFilesReopenFromTheSubmenuBeforeAppend)
{
    start();
    form().FormShow();
    const std::string first = writeProject("first.wfp", "First");
    const std::string second = writeProject("second.wfp", "Second");
    fake.fileDialogs.results.push_back({true, {QString::fromStdString(first)}, 0});
    form().MI_OpenClick();
    fake.fileDialogs.results.push_back({true, {QString::fromStdString(second)}, 0});
    form().MI_OpenClick();
    EXPECT_EQ(form().MRU->Items(), (QStringList{QString::fromStdString(second), QString::fromStdString(first)}));

    // The submenu stands just before "&Append" and holds the names.
    const QList<QAction *> file = form().MI_FileMenu->actions();
    const qsizetype append = file.indexOf(form().MI_Append);
    ASSERT_GT(append, 0);
    ASSERT_NE(file[append - 1]->menu(), nullptr);
    EXPECT_EQ(file[append - 1]->text(), QStringLiteral("&Reopen"));

    TMRUMenuItem *oldest = nullptr;
    for (TMRUMenuItem *item : form().MRU->menuItems())
        if (item->ItemNumber() == 2)
            oldest = item;
    ASSERT_NE(oldest, nullptr);
    project().SetModified(true);
    fake.messages.answers = {QMessageBox::No};
    form().MRU->ItemClick(oldest);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(project().ProjectFileName(), first);
    EXPECT_EQ(form().MRU->Items().size(), 2);
}

TEST_F(TMainFormTest, TheBusyWindowShowsAndHides)
{
    start();
    windows.ReadForm->showBusy(true, QStringLiteral("Reading script file..."));
    EXPECT_TRUE(windows.ReadForm->isVisible());
    EXPECT_EQ(windows.ReadForm->l_Caption->text(), QStringLiteral("Reading script file..."));
    windows.ReadForm->hideBusy();
    EXPECT_FALSE(windows.ReadForm->isVisible());
}

} // namespace
} // namespace wharf
