// The compile page and the batch compile with the real compiler library,
// on the bundled example project.

#include "compilepage.h"

#include "compileform.h"
#include "compilerun.h"
#include "editorfixture.h"
#include "files.h"
#include "mainform.h"
#include "pagetable.h"
#include "paths.h"
#include "warningform.h"
#include "wharfforge.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>


namespace wharf {
namespace {

using testing::EditorFixture;

const char *const kStubs[] = {"setup.bin", "setupldr.bin", "selfext.bin", "regserv.bin"};

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// The built program folder as the tests are given it; a copy of the
// example project in the scratch folder.
class CompileEndToEndTest : public ::testing::Test, public EditorFixture {
protected:
    void SetUp() override
    {
        builtProgram = testing::builtProgramFolder();
        for (const char *stub : kStubs)
            ASSERT_TRUE(copyFile(joinPath(builtProgram, stub), programFolder + stub)) << stub;
        // The stock pages and the language file the template and the
        // 1.0 import name.
        ASSERT_TRUE(copyTree(QString::fromStdString(joinPath(builtProgram, "Dialogs")),
                             QString::fromStdString(programFolder + "Dialogs")));
        ASSERT_TRUE(copyFile(joinPath(builtProgram, "default.wfl"), programFolder + "default.wfl"));
        // The example as it lies in the source tree: its wizard pages are
        // the program folder's stock pages.
        example = scratch.file("hello");
        ASSERT_TRUE(copyTree(QStringLiteral(WHARF_EXAMPLES_DIR "/hello"), QString::fromStdString(example)));
    }

    // Compiles the open project from the compile page; true when the
    // compile reported no error.
    bool compileOpenProject()
    {
        environment.compileFile = &CompileFile;
        // The output folders here are made for the compile: no warning.
        windows.MainForm->shell().ShowCompileWarning = false;
        auto &page = *qobject_cast<TCompilePage *>(windows.MainForm->page(kCompilePage));
        page.B_CompileFileClick();
        const bool good = !page.lastCompile().failed();
        if (!good)
            ADD_FAILURE() << windows.CompileForm->lines().join(u'\n').toStdString();
        return good;
    }

    // The files a disk-spanning build of the example leaves in its output
    // folder, each present and not empty.
    static void expectCompleteOutput(const std::string &output)
    {
        for (const char *name : {"setup.exe", "setup0.lib", "setup.0"}) {
            const std::optional<std::string> data = readFile(joinPath(output, name));
            ASSERT_TRUE(data.has_value()) << name;
            EXPECT_FALSE(data->empty()) << name;
        }
    }

    // The program and its library run from a program folder of their own,
    // so the compile's scratch files stay in the scratch folder.
    void prepareBatchProgram()
    {
        for (const char *name : {"wharfwright", "libwharfforge.so", "default.wfp"})
            ASSERT_TRUE(copyFile(joinPath(builtProgram, name), programFolder + name)) << name;
        QFile::setPermissions(QString::fromStdString(programFolder + "wharfwright"),
                              QFile::permissions(QString::fromStdString(joinPath(builtProgram, "wharfwright"))));
        for (const QString &folder : {runtime, state}) {
            ASSERT_TRUE(QDir().mkpath(folder));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    // A build machine's: no display, and no Qt variable.
    QProcessEnvironment batchEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), environment.settingsFolder);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        return env;
    }

    struct BatchRun {
        int status; // -1 when a signal ended it
        int signal; // the signal that ended it, else 0
        QString out;
        QString err;
    };

    BatchRun batchCompile(const std::string &project) const
    {
        QProcess process;
        process.setProcessEnvironment(batchEnvironment());
        process.setProgram(QString::fromStdString(programFolder + "wharfwright"));
        process.setArguments({QString::fromStdString(project), QStringLiteral("-c")});
        process.start();
        process.waitForFinished(120000);
        const bool normal = process.exitStatus() == QProcess::NormalExit;
        return BatchRun{normal ? process.exitCode() : -1, normal ? 0 : process.exitCode(),
                        QString::fromUtf8(process.readAllStandardOutput()),
                        QString::fromUtf8(process.readAllStandardError())};
    }

    static std::string slurpText(const std::string &path) { return readFile(path).value_or(std::string()); }

    std::string builtProgram;
    std::string example;
    const QString runtime = QString::fromStdString(scratch.file("runtime"));
    const QString state = QString::fromStdString(scratch.file("state"));
};

TEST_F(CompileEndToEndTest, TheEditorCompilesTheExampleIntoItsOutputFolder)
{
    environment.compileFile = &CompileFile;
    start({QString::fromStdString(joinPath(example, "hello.wfp"))});
    windows.MainForm->FormShow();
    auto &page = *qobject_cast<TCompilePage *>(windows.MainForm->page(kCompilePage));
    // A new user is warned that the output folder will be cleared.
    int warnings = 0;
    fake.modal.handler = [&warnings](QDialog &dialog) {
        warnings += dynamic_cast<TWarningForm *>(&dialog) != nullptr;
        return int(TWarningForm::ResultYes);
    };
    page.B_CompileFileClick();
    EXPECT_EQ(warnings, 1);

    const std::string output = joinPath(example, "output");
    expectCompleteOutput(output);
    EXPECT_FALSE(page.lastCompile().failed()) << windows.CompileForm->lines().join(u'\n').toStdString();
    EXPECT_TRUE(windows.CompileForm->lines().last().startsWith(QStringLiteral("*****")));
    EXPECT_EQ(windows.CompileForm->B_OK->text(), QStringLiteral("OK"));
    // The result stays in front of the disabled main window until closed.
    windows.CompileForm->B_OK->click();
    EXPECT_EQ(page.LV_OutputFiles->count(), 3);
    EXPECT_TRUE(page.B_ExecSetup->isEnabled());
    EXPECT_TRUE(runtimeLeftovers().empty());
    // The example's pages are the program folder's stock pages, which a save
    // names so again: the project opens unmodified and the compile leaves
    // it so.
    EXPECT_FALSE(windows.MainForm->controller().ProjectModified());
}

TEST_F(CompileEndToEndTest, TheBatchCompileEndsWithAStatusThatTellsTheOutcome)
{
    prepareBatchProgram();
    const BatchRun good = batchCompile(joinPath(example, "hello.wfp"));
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    EXPECT_TRUE(good.out.contains(QStringLiteral("Compilation finished."))) << good.out.toStdString();
    EXPECT_TRUE(good.err.isEmpty()) << good.err.toStdString();
    expectCompleteOutput(joinPath(example, "output"));
    // The run's private folder went; the user's runtime folder stays.
    EXPECT_TRUE(folderExists(runtime.toStdString() + "/brindlewharf"));
    EXPECT_TRUE(listFolder(runtime.toStdString() + "/brindlewharf").empty());
    // A batch compile keeps no settings: not even an empty file.
    EXPECT_TRUE(listFolder(environment.settingsFolder.toStdString()).empty());

    // Another compile holds the output folder: a status of its own, which a
    // build machine may retry, and nothing of the folder touched.
    {
        FolderHandle otherCompile;
        ASSERT_TRUE(otherCompile.open(joinPath(example, "output")) && otherCompile.lock());
        const BatchRun held = batchCompile(joinPath(example, "hello.wfp"));
        EXPECT_EQ(held.status, 3) << held.err.toStdString();
        EXPECT_TRUE(held.err.contains(QStringLiteral(" is in use by another compile"))) << held.err.toStdString();
        expectCompleteOutput(joinPath(example, "output"));
    }

    // A file of the project is missing: validation fails.
    ASSERT_TRUE(deleteFile(joinPath(example, "files/hello.txt")));
    const BatchRun bad = batchCompile(joinPath(example, "hello.wfp"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("ERROR: File "))) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains(QStringLiteral("hello.txt does not exist!")));
    EXPECT_FALSE(bad.out.contains(QStringLiteral("Compilation finished.")));
}

TEST_F(CompileEndToEndTest, AClosedOutputNeverStopsTheBatchCompile)
{
    // As "wharfwright P.wfp -c | head" runs it: the reader is gone after the
    // first line, and every later line finds a closed pipe.
    prepareBatchProgram();
    const std::string statusFile = scratch.file("status");
    QProcess shell;
    shell.setProcessEnvironment(batchEnvironment());
    shell.setProgram(QStringLiteral("/bin/bash"));
    shell.setArguments({QStringLiteral("-c"),
                        QStringLiteral("\"$0\" \"$1\" -c 2>&1 | head -n 1 > /dev/null; echo ${PIPESTATUS[0]} > \"$2\""),
                        QString::fromStdString(programFolder + "wharfwright"),
                        QString::fromStdString(joinPath(example, "hello.wfp")), QString::fromStdString(statusFile)});
    shell.start();
    ASSERT_TRUE(shell.waitForFinished(120000));
    EXPECT_EQ(slurpText(statusFile), "0\n");
    expectCompleteOutput(joinPath(example, "output"));
    // The log tells the whole compile, as the closed pipe never got it.
    const std::string log = slurpText(state.toStdString() + "/brindlewharf/wharfforge.log");
    EXPECT_NE(log.find("Compilation finished. Elapsed time: "), std::string::npos) << log;
}

TEST_F(CompileEndToEndTest, ASignalDuringTheBatchStepEndsTheCompileAsStopped)
{
    // The project's batch step is where a long build waits; SIGTERM reaches
    // the editor while it runs.
    prepareBatchProgram();
    const std::string script = joinPath(example, "post-build.sh");
    ASSERT_TRUE(writeFile(script, "#!/bin/sh\nkill -TERM $PPID\nsleep 0.2\n"));
    QFile::setPermissions(QString::fromStdString(script), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const std::string project = joinPath(example, "hello.wfp");
    std::string text = slurpText(project);
    const size_t at = text.find("RunBatch=");
    ASSERT_NE(at, std::string::npos);
    text.insert(at + 9, "post-build.sh");
    ASSERT_TRUE(writeFile(project, text));

    const BatchRun stopped = batchCompile(project);
    EXPECT_EQ(stopped.signal, SIGTERM) << stopped.out.toStdString() << stopped.err.toStdString();
    EXPECT_FALSE(stopped.out.contains(QStringLiteral("Compilation finished"))) << stopped.out.toStdString();
    // The last line says what the status says.
    EXPECT_TRUE(stopped.err.trimmed().endsWith(QStringLiteral("ERROR: Compilation terminated by user!")))
        << stopped.err.toStdString();
    // A stopped compile leaves none of its files.
    for (const char *name : {"setup.exe", "setup0.lib", "setup.0"})
        EXPECT_FALSE(fileExists(joinPath(example, std::string("output/") + name))) << name;
}

TEST_F(CompileEndToEndTest, AFullRuntimeFolderGivesTheReasonOnce)
{
    // The scratch copy of a modified project goes into the runtime folder.
    const std::string full = scratch.file("full");
    ASSERT_TRUE(createFolder(full));
    if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{full};
    ASSERT_FALSE(writeFile(full + "/filler", std::string(64 * 1024, 'x')));
    start({QString::fromStdString(joinPath(example, "hello.wfp"))});
    windows.MainForm->FormShow();
    environment.compileFile = &CompileFile;
    environment.runtimeFolder = QString::fromStdString(full);
    ProjectController &controller = windows.MainForm->controller();
    controller.SetModified(true);
    struct Quiet final : CompileListener {
        bool goOn() override { return true; }
        void compileMessage(const QString &, int, int) override {}
    } listener;
    try {
        runProjectCompile(controller, environment, listener);
        ADD_FAILURE() << "no exception";
    } catch (const std::exception &e) {
        const std::string text = e.what();
        const std::string reason = "No space left on device";
        ASSERT_NE(text.find(reason), std::string::npos) << text;
        EXPECT_EQ(text.find(reason), text.rfind(reason)) << text;
    }
}

TEST_F(CompileEndToEndTest, ANewProjectWithOneFileCompilesBeforeAndAfterASaveAndReopen)
{
    start({});
    windows.MainForm->FormShow();
    ProjectController &controller = windows.MainForm->controller();
    ASSERT_EQ(controller.ProjectFileName(), programFolder + "default.wfp");
    // The template names the usual pages and the shipped language file, by
    // paths that do not depend on where the project is saved.
    const std::string dialogs = programFolder + "Dialogs/";
    EXPECT_EQ(controller.document().Dialogs,
              (std::vector<std::string>{dialogs + "welcome.ddf", dialogs + "select destination.ddf",
                                        dialogs + "installation progress.ddf", dialogs + "setup complete.ddf"}));
    EXPECT_EQ(controller.document().UninstallDialogs,
              (std::vector<std::string>{dialogs + "uninstaller.ddf", dialogs + "installation progress.ddf",
                                        dialogs + "uninstall finished.ddf"}));
    EXPECT_EQ(controller.document().LanguageFiles, std::vector<std::string>{programFolder + "default.wfl"});
    EXPECT_FALSE(controller.ProjectModified());

    const std::string payload = scratch.file("payload.txt");
    ASSERT_TRUE(writeFile(payload, "installed text"));
    ASSERT_FALSE(controller.document().Groups.empty());
    FileEntry file;
    file.Source = payload;
    file.Destination = "{app}";
    controller.document().Groups[0].Files.push_back(file);
    // A new project compiles once it has a folder of its own: the program
    // folder it starts in is only read.
    const std::string saved = scratch.file("mine/new.wfp");
    ASSERT_TRUE(createFolder(scratch.file("mine")));
    ASSERT_TRUE(controller.SaveProject(saved));
    ASSERT_TRUE(compileOpenProject());
    expectCompleteOutput(scratch.file("mine/output"));
    EXPECT_FALSE(folderExists(programFolder + "output"));

    removeTree(scratch.file("mine/output"));
    controller.LoadProject(saved);
    ASSERT_EQ(controller.ProjectFileName(), saved);
    EXPECT_EQ(controller.document().Dialogs.size(), 4u);
    ASSERT_TRUE(compileOpenProject());
    expectCompleteOutput(scratch.file("mine/output"));
}

TEST_F(CompileEndToEndTest, AnImportedOneDotZeroProjectCompilesWithTheStockPages)
{
    const std::string old = scratch.file("old/old.wfp");
    ASSERT_TRUE(createFolder(scratch.file("old")));
    ASSERT_TRUE(writeFile(scratch.file("old/app.txt"), "old payload"));
    ASSERT_TRUE(writeFile(old, "[Temporary]\nEditorVersion=1.0\nOutputDir=output\n"
                               "[General]\nAppName=Old\nDestDir={pro}\\Old\nProgMenuFolder=Old\n"
                               "[Groups]\n0=Main\n[SourceFiles]\n0=app.txt\n[DestFiles]\n0={app}\n"
                               "[InstTypes]\n0=Typical\n[GroupsInType]\n0=|0|\n"
                               "[LanguageFiles]\n0=old.wfl\n"));
    // The import notice, the old-build notice, then No to the 1.0 language
    // files: the shipped one takes their place.
    fake.messages.answers = {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::No};
    start({QString::fromStdString(old)});
    windows.MainForm->FormShow();
    const Project &project = windows.MainForm->controller().document();
    ASSERT_EQ(project.Dialogs.size(), 11u);
    EXPECT_EQ(project.Dialogs.front(), programFolder + "Dialogs/welcome.ddf");
    EXPECT_EQ(project.UninstallDialogs.back(), programFolder + "Dialogs/uninstall finished.ddf");
    for (const std::string &dialog : project.Dialogs)
        EXPECT_TRUE(fileExists(dialog)) << dialog;
    ASSERT_TRUE(compileOpenProject());
    expectCompleteOutput(scratch.file("old/output"));
}

} // namespace
} // namespace wharf
