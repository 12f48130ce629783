#include "scopedenv.h"
#include "compilepage.h"

#include "buttonedits.h"
#include "compileform.h"
#include "copyform.h"
#include "editorfixture.h"
#include "files.h"
#include "inistore.h"
#include "mainform.h"
#include "mainnavigation.h"
#include "pagetable.h"
#include "paths.h"
#include "shellstate.h"
#include "varform.h"
#include "warningform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextEdit>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using wharf::testing::ScopedEnv;

namespace wharf {
namespace {

using testing::EditorFixture;

// Replaces every "{name}" of text by its value.
std::string expand(std::string text, const std::vector<std::pair<std::string, std::string>> &values)
{
    for (const auto &[name, value] : values) {
        const std::string key = "{" + name + "}";
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    }
    return text;
}

// What the fake compile function was handed, and the scratch copy as it
// stood during the call.
struct CompileCall {
    std::string projectFile;
    std::string appDir;
    bool writeLog = false;
    std::string workDir;
    std::string appName;
    bool mainWindowEnabled = true;
    unsigned folderMode = 0; // of the folder holding the scratch copy
};

class CompilePageTest : public ::testing::Test, public EditorFixture {
protected:
    // The lines the fake reports: kind, text, percent.
    struct Report {
        int kind;
        const char *text;
        int percent;
    };

    void SetUp() override
    {
        environment.compileFile = [this](const char *projectFile, const char *appDir, CompileCallback callback,
                                         bool writeLog) {
            CompileCall call;
            call.projectFile = projectFile;
            call.appDir = appDir;
            call.writeLog = writeLog;
            TMemIniStore copy(projectFile);
            call.workDir = copy.ReadString("Temporary", "WorkDir", "(none)");
            call.appName = copy.ReadString("General", "AppName", "(none)");
            call.mainWindowEnabled = windows.MainForm->isEnabled();
            struct stat st {};
            if (::stat(extractFilePath(projectFile).c_str(), &st) == 0)
                call.folderMode = st.st_mode & 07777;
            calls.push_back(call);
            bool stop = false;
            for (const Report &r : reports) {
                if (beforeReport)
                    beforeReport(r);
                stop = !callback(r.text, static_cast<uint16_t>(r.kind), static_cast<uint16_t>(r.percent));
                answers.push_back(!stop);
            }
            if (raise)
                throw std::runtime_error("compiler failed");
            return stop;
        };
    }

    // Starts the editor with a project in its own folder "proj" whose
    // output folder is "out" (relative).
    void startWithProject()
    {
        const std::string folder = scratch.file("proj");
        ASSERT_TRUE(createFolder(folder));
        projectPath = joinPath(folder, "p.wfp");
        ASSERT_TRUE(copyFile(writeProject("p.wfp"), projectPath));
        start({QString::fromStdString(projectPath)});
        form().FormShow();
        ASSERT_EQ(form().controller().ProjectFileName(), projectPath);
        // The warning before each compile has tests of its own.
        form().shell().ShowCompileWarning = false;
    }

    TMainForm &form() { return *windows.MainForm; }
    TCompilePage &page() { return *qobject_cast<TCompilePage *>(form().page(kCompilePage)); }
    TCompileForm &compileWindow() { return *windows.CompileForm; }
    std::string outputFolder() { return joinPath(scratch.file("proj"), "out"); }

    std::vector<CompileCall> calls;
    std::vector<Report> reports;
    std::vector<bool> answers;
    std::function<void(const Report &)> beforeReport;
    bool raise = false;
    std::string projectPath;
};

TEST_F(CompilePageTest, CompilesAScratchCopyWithTheProjectsFolderAsWorkDir)
{
    startWithProject();
    ASSERT_NE(qobject_cast<TCompilePage *>(form().page(kCompilePage)), nullptr);
    const std::string runtime = environment.runtimeFolder.toStdString();

    // Unmodified: the saved file is copied, into a private folder of this
    // run in the runtime folder; nothing is written into the program folder.
    page().B_CompileFileClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(extractFileName(calls[0].projectFile), "wftemp.tmp");
    EXPECT_EQ(extractFilePath(excludeTrailingSeparator(extractFilePath(calls[0].projectFile))), runtime + "/");
    EXPECT_EQ(calls[0].folderMode, 0700u);
    EXPECT_EQ(calls[0].appDir, excludeTrailingSeparator(programFolder));
    EXPECT_TRUE(calls[0].writeLog);
    EXPECT_EQ(calls[0].workDir, scratch.file("proj") + "/");
    EXPECT_EQ(calls[0].appName, "Sample");
    EXPECT_FALSE(calls[0].mainWindowEnabled);
    EXPECT_TRUE(runtimeLeftovers().empty());
    EXPECT_EQ(listFolder(programFolder).size(), 1u); // the template alone
    EXPECT_FALSE(form().controller().ProjectModified());
    EXPECT_EQ(fake.beep.beeps, std::vector<unsigned>{16777215u});
    compileWindow().B_OKClick();

    // Modified: the document is saved into the copy, the project stays
    // modified and keeps its file.
    form().controller().document().General.AppName = "Changed";
    form().controller().SetModified(true);
    page().B_CompileFileClick();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].appName, "Changed");
    EXPECT_TRUE(form().controller().ProjectModified());
    EXPECT_EQ(form().controller().ProjectFileName(), projectPath);
    EXPECT_TRUE(runtimeLeftovers().empty());
    // Each run has a folder of its own.
    EXPECT_NE(extractFilePath(calls[1].projectFile), extractFilePath(calls[0].projectFile));
}

// The result stays in front of the main window, which takes no second
// compile (that would clear the window being read) until the author closes
// the compile window.
TEST_F(CompilePageTest, TheResultStaysInFrontOfTheDisabledMainWindowUntilClosed)
{
    startWithProject();
    reports = {{0, "the result", 100}};
    page().B_CompileFileClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(compileWindow().isVisible());
    EXPECT_TRUE(compileWindow().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form().isEnabled());
    EXPECT_FALSE(windows.VarForm->isEnabled());
    EXPECT_TRUE(compileWindow().isEnabled());

    // "Compile now" behind it does nothing.
    page().B_CompileFile->click();
    EXPECT_FALSE(form().OB_Main->isEnabled());
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(compileWindow().lines(), QStringList{QStringLiteral("the result")});

    // The window's own close box closes it once the compile has ended.
    compileWindow().reject();
    EXPECT_FALSE(compileWindow().isVisible());
    EXPECT_TRUE(form().isEnabled());
    EXPECT_TRUE(windows.VarForm->isEnabled());
    page().B_CompileFile->click();
    EXPECT_EQ(calls.size(), 2u);

    // "OK" closes it as well.
    EXPECT_FALSE(form().isEnabled());
    compileWindow().B_OK->click();
    EXPECT_TRUE(form().isEnabled());
}

TEST_F(CompilePageTest, TheScratchCopyGoesAndTheWindowsComeBackWhenTheCompileRaises)
{
    startWithProject();
    raise = true;
    EXPECT_THROW(page().B_CompileFileClick(), std::runtime_error);
    EXPECT_TRUE(runtimeLeftovers().empty());
    EXPECT_TRUE(form().isEnabled());
    EXPECT_TRUE(compileWindow().B_OK->isEnabled());
    EXPECT_EQ(compileWindow().B_OK->text(), QStringLiteral("OK"));
    EXPECT_FALSE(page().compiling());

    // The next compile runs normally.
    raise = false;
    page().B_CompileFileClick();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(CompilePageTest, TheCompileWindowShowsLinesInTheirColoursAndCancels)
{
    startWithProject();
    reports = {{0, "Brindlewharf Setup Compiler 2.0", 0},
               {1, "ERROR: Something is missing", 10},
               {2, "", 50},
               {0, "Copying installation files...", 20},
               {0, "after the cancel", 30}};
    std::vector<int> minorSeen;
    beforeReport = [&](const Report &r) {
        minorSeen.push_back(compileWindow().PB_Minor->value());
        // The author presses "&Cancel" once the second ordinary line came.
        if (std::string(r.text) == "after the cancel") {
            EXPECT_TRUE(compileWindow().B_OK->isEnabled());
            compileWindow().B_OKClick();
            // Said at once, before the compiler reaches its next stop.
            EXPECT_FALSE(compileWindow().B_OK->isEnabled());
            EXPECT_EQ(compileWindow().B_OK->text(), QStringLiteral("Stopping..."));
            EXPECT_TRUE(compileWindow().isVisible());
            // A second press, Escape or the close box leave the window.
            compileWindow().B_OKClick();
            compileWindow().reject();
            EXPECT_TRUE(compileWindow().isVisible());
            EXPECT_EQ(compileWindow().B_OK->text(), QStringLiteral("Stopping..."));
        }
    };
    page().B_CompileFileClick();

    EXPECT_EQ(answers, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(minorSeen[3], 50); // kind 2 moved only the minor bar
    EXPECT_EQ(compileWindow().lines(),
              (QStringList{QStringLiteral("Brindlewharf Setup Compiler 2.0"), QStringLiteral("ERROR: Something is missing"),
                           QStringLiteral("Copying installation files..."), QStringLiteral("after the cancel")}));
    const QTextDocument *text = compileWindow().RE_CompileMessages->document();
    const auto formatOf = [&](int line) { return text->findBlockByNumber(line).begin().fragment().charFormat(); };
    EXPECT_EQ(formatOf(1).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(1).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(2).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(2).foreground().color(), QColor(Qt::black));
    EXPECT_EQ(compileWindow().PB_CompProc->value(), 0); // the line after the cancel
    EXPECT_TRUE(page().lastCompile().stopped);

    // The compile returned: "OK" closes the window.
    EXPECT_TRUE(compileWindow().B_OK->isEnabled());
    EXPECT_EQ(compileWindow().B_OK->text(), QStringLiteral("OK"));
    compileWindow().B_OKClick();
    EXPECT_FALSE(compileWindow().isVisible());

    // A blank line is a line too, also as the first one.
    compileWindow().ClearMessages();
    compileWindow().AddLine(QString(), false);
    compileWindow().AddLine(QStringLiteral("x"), false);
    EXPECT_EQ(compileWindow().lines(), (QStringList{QString(), QStringLiteral("x")}));

    // A new compile starts uncancelled.
    reports = {{0, "again", 40}};
    page().B_CompileFileClick();
    EXPECT_EQ(answers.back(), true);
    EXPECT_EQ(compileWindow().PB_CompProc->value(), 40);
}

// Lines wider than the window: during and after the compile the window
// shows every line from its start, and the last line.
TEST_F(CompilePageTest, TheCompileWindowShowsTheStartOfLongLinesAndTheLastLine)
{
    startWithProject();
    const std::string path = "ERROR: File " + std::string(200, 'x') + " does not exist!";
    std::vector<std::string> texts;
    for (int i = 0; i < 40; ++i)
        texts.push_back(i % 3 == 0 ? path : "Line " + std::to_string(i));
    texts.push_back("Compilation finished " + std::string(150, '.'));
    for (const std::string &text : texts)
        reports.push_back({text.rfind("ERROR", 0) == 0 ? 1 : 0, text.c_str(), 50});
    QTextEdit *view = compileWindow().RE_CompileMessages;
    const auto lastLineShown = [&] {
        const QTextBlock last = view->document()->lastBlock();
        QTextCursor at(last);
        const QRect where = view->cursorRect(at);
        return view->viewport()->rect().contains(where);
    };
    std::vector<int> sideways;
    std::vector<bool> lastShown;
    beforeReport = [&](const Report &) {
        QCoreApplication::processEvents();
        sideways.push_back(view->horizontalScrollBar()->value());
        lastShown.push_back(view->document()->blockCount() < 2 || lastLineShown());
    };
    page().B_CompileFileClick();
    QCoreApplication::processEvents();
    ASSERT_TRUE(compileWindow().isVisible());
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0); // the lines are wider than the window
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(lastLineShown());
    EXPECT_EQ(sideways, std::vector<int>(texts.size(), 0));
    EXPECT_EQ(lastShown, std::vector<bool>(texts.size(), true));
    EXPECT_EQ(compileWindow().lines().back(), QString::fromStdString(texts.back()));
}

// The sideways bar is there while a line is wider than the window, and
// goes when the author widens the window to the longest line.
TEST_F(CompilePageTest, TheCompileWindowDropsItsSidewaysBarOnceWideEnough)
{
    startWithProject();
    reports = {{0, "Checking C:\\Program Files\\Sample\\readme.txt...", 50}};
    page().B_CompileFileClick();
    QTextEdit *view = compileWindow().RE_CompileMessages;
    const int needed = QFontMetrics(view->font()).horizontalAdvance(compileWindow().lines().front());
    compileWindow().resize(needed / 2, compileWindow().height());
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->horizontalScrollBar()->isVisible());
    compileWindow().resize(needed + 200, compileWindow().height());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
}

TEST_F(CompilePageTest, NothingThrownWhileALineIsShownReachesTheCompiler)
{
    startWithProject();
    reports = {{0, "one", 10}, {1, "ERROR: two", 20}};
    page().OnCompileLine = [](const QString &, bool) { throw std::runtime_error("display failed"); };
    page().B_CompileFileClick();
    EXPECT_EQ(answers, (std::vector<bool>{true, true}));
    EXPECT_EQ(compileWindow().lines().size(), 2);
    EXPECT_TRUE(page().lastCompile().errorLine);
}

TEST_F(CompilePageTest, EscapeDuringACompileCancelsItInsteadOfClosingTheWindow)
{
    startWithProject();
    reports = {{0, "one", 10}, {0, "two", 20}};
    beforeReport = [&](const Report &r) {
        if (std::string(r.text) == "one")
            compileWindow().reject();
    };
    page().B_CompileFileClick();
    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
    EXPECT_TRUE(compileWindow().isVisible());
    compileWindow().reject();
    EXPECT_FALSE(compileWindow().isVisible());
}

TEST_F(CompilePageTest, TheWarningAsksFirstAndItsCheckBoxTurnsItOff)
{
    startWithProject();
    form().shell().ShowCompileWarning = true;

    // No: nothing happens.
    fake.modal.handler = [](QDialog &) { return int(TWarningForm::ResultNo); };
    page().B_CompileFileClick();
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(form().shell().ShowCompileWarning);
    EXPECT_TRUE(form().isEnabled());

    // The box cleared and Yes: compiled, and no warning from now on.
    fake.modal.handler = [](QDialog &dialog) {
        auto &warning = dynamic_cast<TWarningForm &>(dialog);
        EXPECT_TRUE(warning.Ch_ShowAgain->isChecked());
        EXPECT_EQ(warning.L_Text->text(), QStringLiteral("The output directory will be cleared. \n"
                                                         "Sub folders will not be deleted.\nContinue? "));
        warning.Ch_ShowAgain->setChecked(false);
        return int(TWarningForm::ResultYes);
    };
    page().B_CompileFileClick();
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_FALSE(form().shell().ShowCompileWarning);
    EXPECT_EQ(fake.modal.shown.size(), 2u);
    page().B_CompileFileClick();
    EXPECT_EQ(fake.modal.shown.size(), 2u);
}

TEST_F(CompilePageTest, TheSettingsControlsWriteTheDocumentAndFollowTheOutputType)
{
    startWithProject();
    GeneralSettings &g = form().controller().document().General;
    EXPECT_EQ(page().itemIndex(page().RG_OutputType), 0);
    EXPECT_FALSE(page().E_PackageName->isEnabled());
    EXPECT_FALSE(page().SE_DiskSize->isEnabled());

    page().CB_DiskSize->setCurrentIndex(1);
    page().CB_DiskSizeChange();
    EXPECT_EQ(g.FloppySize, 1);
    EXPECT_EQ(g.MaxDiskSize, 681574400);
    EXPECT_EQ(g.ClusterSize, 2048);
    EXPECT_EQ(page().SE_DiskSize->value(), 681574400);
    EXPECT_TRUE(form().controller().ProjectModified());

    page().CB_DiskSize->setCurrentIndex(2);
    page().CB_DiskSizeChange();
    EXPECT_TRUE(page().SE_DiskSize->isEnabled());
    page().SE_DiskSize->setValue(1000000);
    EXPECT_EQ(g.MaxDiskSize, 1000000);
    EXPECT_EQ(g.ClusterSize, 2048);

    // Self-extracting: the disk controls go grey and keep their values.
    page().setItemIndex(page().RG_OutputType, 1);
    EXPECT_EQ(g.OutputType, 1);
    EXPECT_FALSE(page().CB_DiskSize->isEnabled());
    EXPECT_FALSE(page().SE_DiskSize->isEnabled());
    EXPECT_FALSE(page().SE_Cluster->isEnabled());
    EXPECT_EQ(g.MaxDiskSize, 1000000);
    page().setItemIndex(page().RG_OutputType, 2);
    EXPECT_TRUE(page().E_PackageName->isEnabled());
    page().E_PackageName->setText(QStringLiteral("pkg\r\n.lib"));
    EXPECT_EQ(g.PackageName, "pkg.lib");

    page().TB_CompLevel->setValue(7);
    page().setItemIndex(page().RG_ArcMode, 1);
    page().FE_RunBatch->SetFileName(QStringLiteral("C:\\tools\\after build.bat"));
    EXPECT_EQ(g.CompressionLevel, 7);
    EXPECT_EQ(g.ArchiveMode, 1);
    EXPECT_EQ(g.RunBatch, "C:\\tools\\after build.bat");

    // Loading follows the document: stored sizes are not replaced by the
    // preset of the stored choice, and nothing is marked.
    Project stored;
    stored.General.FloppySize = 0;
    stored.General.MaxDiskSize = 777;
    stored.General.ClusterSize = 4096;
    stored.General.OutputType = 0;
    form().controller().document() = stored;
    form().controller().SetModified(false);
    page().load();
    EXPECT_EQ(page().SE_DiskSize->value(), 777);
    EXPECT_EQ(form().controller().document().General.MaxDiskSize, 777);
    EXPECT_EQ(page().itemIndex(page().RG_OutputType), 0);
    EXPECT_TRUE(page().CB_DiskSize->isEnabled());
    EXPECT_FALSE(form().controller().ProjectModified());
}

TEST_F(CompilePageTest, TheOutputFolderIsTakenAgainstTheProjectsFolder)
{
    startWithProject();
    const std::string out = outputFolder();
    ASSERT_TRUE(createFolder(out));
    ASSERT_TRUE(createFolder(joinPath(out, "sub")));
    for (const char *name : {"setup.exe", "b.lib", "A.txt", ".hidden"})
        ASSERT_TRUE(writeFile(joinPath(out, name), "x"));
    // The current folder has an "out" of its own that must not be listed.
    ASSERT_TRUE(createFolder(scratch.file("elsewhere")));
    ASSERT_TRUE(createFolder(scratch.file("elsewhere/out")));
    ASSERT_TRUE(writeFile(scratch.file("elsewhere/out/wrong.txt"), "x"));
    struct CurrentFolder {
        QString previous = QDir::currentPath();
        ~CurrentFolder() { QDir::setCurrent(previous); }
    } restore;
    QDir::setCurrent(QString::fromStdString(scratch.file("elsewhere")));

    page().E_OutputDirChange();
    QStringList listed;
    for (int i = 0; i < page().LV_OutputFiles->count(); ++i)
        listed << page().LV_OutputFiles->item(i)->text();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("A.txt"), QStringLiteral("b.lib"), QStringLiteral("setup.exe")}));
    EXPECT_TRUE(page().B_ExecSetup->isEnabled());
    EXPECT_TRUE(form().OB_Main->isButtonVisible(kCompilePage, 1));

    // Starting the setup: through wine, from its own folder.
    environment.winePath = QStringLiteral("/usr/bin/wine");
    page().B_ExecSetupClick();
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, QStringLiteral("/usr/bin/wine"));
    EXPECT_EQ(fake.processes.started[0].arguments, QStringList{QString::fromStdString(joinPath(out, "setup.exe"))});
    EXPECT_EQ(QDir::currentPath(), QString::fromStdString(scratch.file("elsewhere")));
    environment.winePath.clear();
    page().B_ExecSetupClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Could not execute Setup!\n\n%1\nWindows programs cannot run here: no runner for them (wine) is installed.")
                                               .arg(QString::fromStdString(joinPath(out, "setup.exe"))));

    // Deleting the selection removes those files of that folder only.
    page().LV_OutputFiles->item(0)->setSelected(true);
    page().LV_OutputFiles->item(2)->setSelected(true);
    page().PM_OutputFilesPopup();
    EXPECT_TRUE(page().MI_DeleteFile->isVisible());
    page().MI_DeleteFileClick();
    EXPECT_FALSE(fileExists(joinPath(out, "A.txt")));
    EXPECT_FALSE(fileExists(joinPath(out, "setup.exe")));
    EXPECT_TRUE(fileExists(joinPath(out, "b.lib")));
    EXPECT_EQ(page().LV_OutputFiles->count(), 1);
    EXPECT_FALSE(page().B_ExecSetup->isEnabled());
    EXPECT_FALSE(form().OB_Main->isButtonVisible(kCompilePage, 1));
    EXPECT_FALSE(page().MI_DeleteFile->isVisible());

    // A folder that does not exist lists nothing.
    page().E_OutputDir->setText(QStringLiteral("missing"));
    EXPECT_EQ(page().LV_OutputFiles->count(), 0);
    EXPECT_EQ(form().controller().document().General.OutputDir, "missing");
}

TEST_F(CompilePageTest, CopyingAsksBeforeOverwritingAndCopiesWhole)
{
    startWithProject();
    const std::string out = outputFolder();
    ASSERT_TRUE(createFolder(out));
    const std::string big(5000, 'q');
    ASSERT_TRUE(writeFile(joinPath(out, "a.bin"), big));
    ASSERT_TRUE(writeFile(joinPath(out, "b.bin"), "new"));
    const std::string target = scratch.file("target");
    ASSERT_TRUE(createFolder(target));
    ASSERT_TRUE(writeFile(joinPath(target, "b.bin"), "old"));
    page().E_OutputDirChange();
    page().LV_OutputFiles->selectAll();

    fake.fileDialogs.results.push_back({true, {QString::fromStdString(target + "/")}, 0});
    fake.messages.answers.push_back(QMessageBox::No);
    page().MI_CopyFileClick();
    EXPECT_EQ(readFile(joinPath(target, "a.bin")), big);
    EXPECT_EQ(readFile(joinPath(target, "b.bin")), std::string("old"));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Warning);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("The file ")));

    fake.fileDialogs.results.push_back({true, {QString::fromStdString(target)}, 0});
    fake.messages.answers = {QMessageBox::Yes, QMessageBox::Yes};
    page().MI_CopyFileClick();
    EXPECT_EQ(readFile(joinPath(target, "b.bin")), std::string("new"));
}

TEST_F(CompilePageTest, CopyFileWithProgressFailsCleanly)
{
    TCopyForm copy;
    const std::string empty = scratch.file("empty");
    ASSERT_TRUE(writeFile(empty, ""));
    const std::string data = scratch.file("data");
    ASSERT_TRUE(writeFile(data, std::string(4097, 'd')));
    const auto q = [](const std::string &s) { return QString::fromStdString(s); };

    EXPECT_TRUE(copy.CopyFileWithProgress(q(empty), q(scratch.file("empty.copy"))));
    EXPECT_EQ(readFile(scratch.file("empty.copy")), std::string());
    EXPECT_TRUE(copy.CopyFileWithProgress(q(data), q(scratch.file("data.copy"))));
    EXPECT_EQ(readFile(scratch.file("data.copy")), std::string(4097, 'd'));
    EXPECT_EQ(copy.PB_CopyProgress->value(), 100);

    EXPECT_FALSE(copy.CopyFileWithProgress(q(scratch.file("missing")), q(scratch.file("m.copy"))));
    EXPECT_FALSE(fileExists(scratch.file("m.copy")));
    EXPECT_FALSE(copy.CopyFileWithProgress(q(data), q(scratch.file("no/such/folder/x"))));
    // A copy onto itself would empty the file.
    EXPECT_FALSE(copy.CopyFileWithProgress(q(data), q(data)));
    EXPECT_EQ(readFile(data), std::string(4097, 'd'));
    // A source that can't be read (a folder) leaves no target behind.
    EXPECT_FALSE(copy.CopyFileWithProgress(q(scratch.path()), q(scratch.file("folder.copy"))));
    EXPECT_FALSE(fileExists(scratch.file("folder.copy")));
}

TEST_F(CompilePageTest, APackageBuildOffersTheDistributionManagerExceptInABatchCompile)
{
    startWithProject();
    page().setItemIndex(page().RG_OutputType, 2);
    page().E_PackageName->setText(QStringLiteral("pkg.lib"));
    environment.winePath = QStringLiteral("/usr/bin/wine");
    ASSERT_TRUE(writeFile(programFolder + "Wharfpost.exe", "MZ"));
    fake.messages.answers.push_back(QMessageBox::Yes);
    page().B_CompileFileClick();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              QStringLiteral("Do you want to start the Tidewire Distribution Manager to upload the package?"));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].arguments,
              (QStringList{QString::fromStdString(programFolder + "Wharfpost.exe"),
                           QString::fromStdString(outputFolder() + "/pkg.lib")}));

    // Without wine the start fails with the message.
    environment.winePath.clear();
    fake.messages.answers.push_back(QMessageBox::Yes);
    page().B_CompileFileClick();
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[2].text,
              QStringLiteral("Could not execute Tidewire Distribution Manager!\n\n%1Wharfpost.exe\nWindows programs cannot run here: no runner for them (wine) is installed.")
                  .arg(QString::fromStdString(programFolder)));
}

TEST_F(CompilePageTest, ABatchCompileAsksNothingPrintsItsLinesAndReportsErrors)
{
    const std::string folder = scratch.file("proj");
    ASSERT_TRUE(createFolder(folder));
    projectPath = joinPath(folder, "p.wfp");
    writeFile(projectPath, "[Temporary]\r\nEditorVersion=2.0\r\nSubVersion=Professional\r\nBuildNo=14\r\n"
                           "OutputDir=out\r\nOutputType=2\r\n\r\n[General]\r\nAppName=Sample\r\nSystem=4194304\r\n");
    reports = {{0, "fine", 10}, {1, "ERROR: broken", 20}};
    start({QString::fromStdString(projectPath), QStringLiteral("-c")});
    form().shell().ShowCompileWarning = true;
    form().FormShow();

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.modal.shown.empty());
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].line, QStringLiteral("fine"));
    EXPECT_FALSE(printed[0].error);
    EXPECT_EQ(printed[1].line, QStringLiteral("ERROR: broken"));
    EXPECT_TRUE(printed[1].error);
    ASSERT_EQ(terminations.size(), 1u);
    EXPECT_EQ(terminations[0], 1);
    EXPECT_FALSE(compileWindow().isVisible());
}

TEST_F(CompilePageTest, ABatchCompileEndsWithStatusZeroOnlyWithoutErrorsOrAStop)
{
    struct Case {
        std::vector<Report> reports;
        bool raise;
        int status;
    };
    const Case cases[] = {
        {{{0, "fine", 100}}, false, 0},
        {{{1, "ERROR: x", 10}}, false, 1},
        {{{0, "fine", 100}}, true, 1},
    };
    for (const Case &c : cases) {
        EditorFixture run;
        const std::string path = run.writeProject("p.wfp");
        bool raising = c.raise;
        std::vector<Report> lines = c.reports;
        run.environment.compileFile = [&](const char *, const char *, CompileCallback callback, bool) {
            for (const Report &r : lines)
                callback(r.text, static_cast<uint16_t>(r.kind), static_cast<uint16_t>(r.percent));
            if (raising)
                throw std::runtime_error("compiler failed");
            return false;
        };
        run.start({QString::fromStdString(path), QStringLiteral("-c")});
        run.windows.MainForm->FormShow();
        ASSERT_EQ(run.terminations.size(), 1u);
        EXPECT_EQ(run.terminations[0], c.status);
        EXPECT_TRUE(run.runtimeLeftovers().empty());
    }
}

TEST(CompileOutputFolderTest, AFolderHoldingTheAuthorsFilesIsRefusedBeforeTheCompiler)
{
    // {proj} is the project's folder "proj" (holding p.wfp and notes.txt),
    // {home} a home folder of the test's own, {program} the program folder.
    struct Case {
        const char *outputDir;
        const char *refusal; // part of the message; empty: the compile runs
    };
    const Case cases[] = {
        {"out", ""},
        {"{proj}/out", ""},
        {"{home}/setups", ""},
        {"{proj}", "is the project's own folder"},
        {"{proj}/", "is the project's own folder"},
        {".", "is the project's own folder"},
        {"out/..", "is the project's own folder"},
        {"link", "is the project's own folder"}, // a link to the project's folder
        {"..", "holds the project file"},
        {"../..", "holds the project file"},
        {"{home}", "is the home folder"},
        {"{home}/", "is the home folder"},
        {"{program}", "is the program folder"},
        {"{program}/output", "lies in the program folder"},
        {"/", "is the root of a file system"},
        {"/.", "is the root of a file system"},
        {"", "No output folder is set."},
    };
    for (const Case &c : cases) {
        for (const bool batch : {false, true}) {
            SCOPED_TRACE(std::string(c.outputDir) + (batch ? " (batch)" : ""));
            EditorFixture run;
            // The home folder lies beside the project's, not above it.
            const std::string home = run.scratch.file("home");
            ASSERT_TRUE(createFolder(home));
            const ScopedEnv homeValue("HOME", home);
            const std::string folder = run.scratch.file("work/proj");
            ASSERT_TRUE(createFolder(run.scratch.file("work")) && createFolder(folder));
            ASSERT_EQ(::symlink(folder.c_str(), joinPath(folder, "link").c_str()), 0);
            const std::string project = joinPath(folder, "p.wfp");
            const std::string program = excludeTrailingSeparator(run.programFolder);
            const std::string outputDir =
                expand(c.outputDir, {{"proj", folder}, {"home", home}, {"program", program}});
            ASSERT_TRUE(writeFile(project, "[Temporary]\r\nEditorVersion=2.0\r\nSubVersion=Professional\r\n"
                                           "BuildNo=14\r\nOutputDir=" + outputDir +
                                               "\r\n\r\n[General]\r\nAppName=A\r\nSystem=4194304\r\n"));
            ASSERT_TRUE(writeFile(joinPath(folder, "notes.txt"), "mine"));
            int compiles = 0;
            run.environment.compileFile = [&](const char *, const char *, CompileCallback, bool) {
                ++compiles;
                return false;
            };
            QStringList arguments{QString::fromStdString(project)};
            if (batch)
                arguments << QStringLiteral("-c");
            run.start(arguments);
            TMainForm &form = *run.windows.MainForm;
            form.FormShow();
            auto &page = *qobject_cast<TCompilePage *>(form.page(kCompilePage));
            if (!batch) {
                form.shell().ShowCompileWarning = false;
                page.B_CompileFileClick();
            }

            const bool refused = *c.refusal != '\0';
            EXPECT_EQ(compiles, refused ? 0 : 1);
            EXPECT_EQ(page.lastCompile().failed(), refused);
            EXPECT_TRUE(run.runtimeLeftovers().empty());
            EXPECT_EQ(*readFile(joinPath(folder, "notes.txt")), "mine");
            QString message;
            if (batch) {
                ASSERT_EQ(run.terminations.size(), 1u);
                EXPECT_EQ(run.terminations[0], refused ? 1 : 0);
                EXPECT_TRUE(run.fake.messages.shown.empty());
                if (refused) {
                    ASSERT_EQ(run.printed.size(), 1u);
                    EXPECT_TRUE(run.printed[0].error);
                    message = run.printed[0].line;
                    EXPECT_TRUE(message.startsWith(QStringLiteral("ERROR: "))) << message.toStdString();
                }
            } else if (refused) {
                ASSERT_EQ(run.fake.messages.shown.size(), 1u);
                EXPECT_EQ(run.fake.messages.shown[0].type, MsgDlgType::Error);
                message = run.fake.messages.shown[0].text;
                EXPECT_TRUE(form.isEnabled());
            }
            if (refused) {
                EXPECT_TRUE(message.contains(QString::fromUtf8(c.refusal))) << message.toStdString();
                EXPECT_TRUE(message.contains(QStringLiteral("folder of their own"))) << message.toStdString();
            } else {
                EXPECT_TRUE(run.fake.messages.shown.empty());
            }
        }
    }

    // A new project that was never saved has the program folder as its
    // folder: it is to be saved first.
    EditorFixture run;
    int compiles = 0;
    run.environment.compileFile = [&](const char *, const char *, CompileCallback, bool) {
        ++compiles;
        return false;
    };
    run.start();
    run.windows.MainForm->FormShow();
    run.windows.MainForm->shell().ShowCompileWarning = false;
    auto &page = *qobject_cast<TCompilePage *>(run.windows.MainForm->page(kCompilePage));
    page.B_CompileFileClick();
    EXPECT_EQ(compiles, 0);
    ASSERT_EQ(run.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(run.fake.messages.shown[0].text.contains(QStringLiteral("lies in the program folder")));
    EXPECT_TRUE(run.fake.messages.shown[0].text.contains(QStringLiteral("Save the project into a folder of its own")));
    EXPECT_FALSE(folderExists(run.programFolder + "output"));
}

TEST(CompileScratchTest, AScratchFileThatCantBeMadeIsNamedWithTheReason)
{
    struct Case {
        const char *what;
        std::function<void(EditorFixture &, const std::string &project)> spoil;
        const char *path;   // in the message, under the scratch folder
        const char *reason; // the system's words
    };
    const Case cases[] = {
        {"the runtime folder is a file",
         [](EditorFixture &run, const std::string &) {
             writeFile(run.scratch.file("blocked"), "x");
             run.environment.runtimeFolder = QString::fromStdString(run.scratch.file("blocked"));
         },
         "blocked", "Not a directory"},
        {"the runtime folder is missing",
         [](EditorFixture &run, const std::string &) {
             run.environment.runtimeFolder = QString::fromStdString(run.scratch.file("gone/runtime"));
         },
         "gone/runtime", "No such file or directory"},
        {"the project file went after it was read",
         [](EditorFixture &, const std::string &project) { deleteFile(project); }, "proj/p.wfp",
         "No such file or directory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EditorFixture run;
        const std::string folder = run.scratch.file("proj");
        ASSERT_TRUE(createFolder(folder));
        const std::string project = joinPath(folder, "p.wfp");
        ASSERT_TRUE(copyFile(run.writeProject("p.wfp"), project));
        int compiles = 0;
        run.environment.compileFile = [&](const char *, const char *, CompileCallback, bool) {
            ++compiles;
            return false;
        };
        run.start({QString::fromStdString(project)});
        TMainForm &form = *run.windows.MainForm;
        form.FormShow();
        form.shell().ShowCompileWarning = false;
        c.spoil(run, project);
        auto &page = *qobject_cast<TCompilePage *>(form.page(kCompilePage));
        QString line;
        try {
            page.B_CompileFileClick();
        } catch (const std::runtime_error &e) {
            line = QString::fromUtf8(e.what());
        }
        EXPECT_EQ(compiles, 0);
        EXPECT_TRUE(page.lastCompile().failed());
        EXPECT_TRUE(form.isEnabled());
        EXPECT_TRUE(line.contains(QString::fromStdString(run.scratch.file(c.path)))) << line.toStdString();
        EXPECT_TRUE(line.contains(QString::fromUtf8(c.reason))) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("Data file does not exist")));
    }
}

TEST(CompileFolderTest, AProjectFolderWindows1252CantHoldIsNamedBeforeTheCompiler)
{
    // The compiler learns the folder from the Windows-1252 scratch copy.
    struct Case {
        const char *folder;
        const char *character; // the one named; empty: the compile runs
    };
    const Case cases[] = {{"Übung", ""}, {"Документы", "Д"}, {"文档", "文"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        EditorFixture run;
        const std::string folder = run.scratch.file(c.folder);
        ASSERT_TRUE(createFolder(folder));
        const std::string project = joinPath(folder, "p.wfp");
        ASSERT_TRUE(copyFile(run.writeProject("p.wfp"), project));
        std::vector<std::string> workDirs;
        run.environment.compileFile = [&](const char *file, const char *, CompileCallback, bool) {
            workDirs.push_back(TMemIniStore(file).ReadString("Temporary", "WorkDir", ""));
            return false;
        };
        run.start({QString::fromStdString(project), QStringLiteral("-c")});
        run.windows.MainForm->FormShow();
        EXPECT_TRUE(run.runtimeLeftovers().empty());
        ASSERT_EQ(run.terminations.size(), 1u);
        if (*c.character == '\0') {
            EXPECT_EQ(workDirs, std::vector<std::string>{folder + "/"});
            EXPECT_EQ(run.terminations[0], 0);
            continue;
        }
        EXPECT_TRUE(workDirs.empty());
        EXPECT_EQ(run.terminations[0], 1);
        ASSERT_EQ(run.printed.size(), 1u);
        const QString &line = run.printed[0].line;
        EXPECT_TRUE(run.printed[0].error);
        EXPECT_TRUE(line.startsWith(QStringLiteral("ERROR: "))) << line.toStdString();
        EXPECT_TRUE(line.contains(QStringLiteral("\"%1/\"").arg(QString::fromStdString(folder)))) << line.toStdString();
        EXPECT_TRUE(line.contains(QStringLiteral("\"%1\"").arg(QString::fromUtf8(c.character))));
        EXPECT_FALSE(line.contains(QStringLiteral("wftemp.tmp")));
    }
}

TEST(CompileLogTest, ThePageSaysWhereTheLogIs)
{
    EditorFixture run;
    const std::string state = run.scratch.file("state");
    const ScopedEnv stateValue("XDG_STATE_HOME", state);
    run.start();
    auto &page = *qobject_cast<TCompilePage *>(run.windows.MainForm->page(kCompilePage));
    EXPECT_EQ(page.L_LogFile->text(),
              QString::fromStdString("The compile log is kept in " + state + "/brindlewharf/wharfforge.log"));

    // A state folder that can't be made is said so, with the reason.
    ASSERT_TRUE(writeFile(run.scratch.file("file"), "x"));
    const ScopedEnv blocked("XDG_STATE_HOME", run.scratch.file("file"));
    EditorFixture second;
    second.start();
    auto &other = *qobject_cast<TCompilePage *>(second.windows.MainForm->page(kCompilePage));
    const QString text = other.L_LogFile->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("No compile log can be kept: "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(run.scratch.file("file"))));
}

} // namespace
} // namespace wharf
