#include "testrun.h"

#include "debugresults.h"
#include "designerfixture.h"
#include "scopedenv.h"

#include <QFileInfo>
#include <QTableWidget>
#include <QTimer>

#include <functional>

#include <sys/stat.h>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {

class TestRunTest : public DesignerFixture {
protected:
    // What the results window showed, and whether the main window was
    // visible then.
    std::vector<std::pair<QString, QString>> results;
    bool resultsShown = false;
    bool mainVisibleAtResults = false;

    void SetUp() override
    {
        DesignerFixture::SetUp();
        handlers["frm_DebugResults"] = [this](QDialog &d) {
            auto &f = static_cast<Tfrm_DebugResults &>(d);
            resultsShown = true;
            mainVisibleAtResults = main().isVisible();
            for (int r = 0; r < f.SG_VarValues->rowCount(); ++r)
                results.emplace_back(f.SG_VarValues->item(r, 0)->text(), f.SG_VarValues->item(r, 1)->text());
            return int(QDialog::Accepted);
        };
        main().show();
    }

    // The arguments the runtime got, and its folder's rights meanwhile.
    QStringList arguments;
    unsigned folderMode = 0;

    void makeDesigner() override
    {
        designer = std::make_unique<TDesigner>(fake.seams(), programFolder(), settingsFolder(), TSurfaceModel::Clock{},
                                               [this](const QString &program, const QStringList &args) {
                                                   arguments = args;
                                                   struct stat st {};
                                                   if (::stat(args.value(2).toStdString().c_str(), &st) == 0)
                                                       folderMode = st.st_mode & 07777;
                                                   return RunProgram(program, args);
                                               });
        designer->testRun().setRuntimeFolder(runtimeFolder());
    }

    void installRuntime()
    {
        ASSERT_TRUE(copyFile(WHARF_STANDIN_RUNTIME, dir.file("program/setup.bin")));
    }
    // A file of the running test run's private folder.
    std::string debugFile(const char *name)
    {
        return designer->debugResults().debugFolder().toStdString() + "/" + name;
    }
    // What the runs left in the runtime folder: nothing, when each took
    // its folder away.
    std::vector<std::string> runtimeLeftovers()
    {
        std::vector<std::string> names;
        for (const FolderEntry &entry : listFolder(runtimeFolder().toStdString()))
            names.push_back(entry.name);
        return names;
    }

    void titled(const std::string &title)
    {
        TDialogPage page = main().document().page();
        page.title = title;
        main().document().setPage(page);
    }
};

TEST_F(TestRunTest, RunsTheRuntimeAndShowsItsResultsSorted)
{
    installRuntime();
    addControl({"Type=1", "Name=zList", "Caption=Z"});
    addControl({"Type=1", "Name=Alpha", "Caption=A"});
    addControl({"Type=2", "Name=beta1", "Caption=b"});
    titled("Test page");
    const std::string saved = dir.file("mine.ddf");
    main().SaveDialogFile(QString::fromStdString(saved));
    main().SetModified(true);
    const std::vector<FolderEntry> programBefore = listFolder(dir.file("program"));

    designer->testRun().MI_DebugClick();

    EXPECT_TRUE(fake.messages.shown.empty()) << fake.messages.shown[0].text.toStdString();
    ASSERT_TRUE(resultsShown);
    // The stand-in only answers when its arguments are as the runtime
    // expects them: "-d", the dialog, the folder twice.
    const std::vector<std::pair<QString, QString>> expected{
        {"Alpha", "A"}, {"beta1", "b"}, {"CtlCount", "3"}, {"DlgTitle", "Test page"}, {"zList", "Z"}};
    EXPECT_EQ(results, expected);
    EXPECT_TRUE(mainVisibleAtResults);
    EXPECT_TRUE(main().isVisible());
    // The run had a private folder of its own in the runtime folder, which
    // went with the runtime's files; the program folder was only read.
    ASSERT_EQ(arguments.size(), 4);
    EXPECT_EQ(QFileInfo(arguments[2]).path(), runtimeFolder());
    EXPECT_EQ(arguments[1], arguments[2] + "/dbg.tmp");
    EXPECT_EQ(folderMode, 0700u);
    EXPECT_TRUE(runtimeLeftovers().empty());
    EXPECT_TRUE(designer->debugResults().debugFolder().isEmpty());
    EXPECT_EQ(listFolder(dir.file("program")).size(), programBefore.size());
    EXPECT_FALSE(folderExists(dir.file("program/Debug")));
    // The scratch save leaves the document's own file and flag alone.
    EXPECT_EQ(main().document().fileName(), saved);
    EXPECT_TRUE(main().document().modified());
}

TEST_F(TestRunTest, EventsAreProcessedWhileTheRuntimeRuns)
{
    installRuntime();
    titled("wait"); // the stand-in waits for "go"
    bool hiddenDuringRun = false;
    bool ran = false;
    // Fires only when the designer processes its events during the wait;
    // the runtime ends once it has.
    QTimer::singleShot(0, [&] {
        ran = true;
        hiddenDuringRun = !main().isVisible();
        writeFile(debugFile("go"), "");
    });
    designer->testRun().MI_DebugClick();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(main().isVisible());
    ASSERT_TRUE(resultsShown);
    EXPECT_EQ(results.size(), 2u);
    // "go" went with the run's folder.
    EXPECT_TRUE(runtimeLeftovers().empty());
}

// A runtime that does not start is named with the reason, as the editor
// names it when the built setup does not start.
TEST_F(TestRunTest, ARuntimeThatDoesNotStartIsNamedWithTheReason)
{
    const std::string runtime = dir.file("program/setup.bin");
    const std::string noWine = dir.file("no-wine");
    ASSERT_TRUE(createFolder(noWine));
    struct Case {
        const char *what;
        std::function<void()> arrange;
        const char *reason;
    };
    const Case cases[] = {
        {"missing", [] {}, "No such file or directory"},
        {"a Windows program without a runner",
         [&] { ASSERT_TRUE(writeFile(runtime, std::string("MZ\x90\0", 4))); },
         "Windows programs cannot run here: no runner for them (wine) is installed."},
        {"not executable", [&] { ASSERT_TRUE(writeFile(runtime, "#!/bin/sh\n")); }, "Permission denied"},
    };
    // Whatever this machine has installed, the search path holds no wine.
    wharf::testing::ScopedEnv path("PATH", noWine);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fake.messages.shown.clear();
        resultsShown = false;
        c.arrange();
        designer->testRun().MI_DebugClick();
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Could not start setup in debug mode!\n\n%1\n%2")
                                                   .arg(QString::fromStdString(runtime), QString::fromUtf8(c.reason)));
        EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
        // The results window comes anyway, empty, and the scratch dialog goes.
        EXPECT_TRUE(resultsShown);
        EXPECT_TRUE(results.empty());
        EXPECT_TRUE(main().isVisible());
        EXPECT_TRUE(runtimeLeftovers().empty());
    }
}

TEST_F(TestRunTest, AFolderThatCantBeMadeEndsTheRunNamingThePathAndTheReason)
{
    installRuntime();
    struct Case {
        const char *what;
        std::string runtime;  // where the run makes its folder
        const char *reason;
    };
    ASSERT_TRUE(writeFile(dir.file("blocked"), "x"));
    const Case cases[] = {
        {"a file in the way", dir.file("blocked"), "Not a directory"},
        {"a missing folder", dir.file("gone/runtime"), "No such file or directory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fake.messages.shown.clear();
        resultsShown = false;
        designer->testRun().setRuntimeFolder(QString::fromStdString(c.runtime));
        designer->testRun().MI_DebugClick();
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        const QString text = fake.messages.shown[0].text;
        EXPECT_TRUE(text.contains(QString::fromStdString(c.runtime))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.reason))) << text.toStdString();
        EXPECT_FALSE(resultsShown);
        EXPECT_TRUE(main().isVisible());
        EXPECT_FALSE(designer->testRun().running());
        EXPECT_TRUE(designer->debugResults().debugFolder().isEmpty());
    }
}

TEST_F(TestRunTest, ResultsWindowReadsWindows1252AndToleratesNoFile)
{
    Tfrm_DebugResults &window = designer->debugResults();
    ASSERT_TRUE(createFolder(dir.file("debug")));
    window.setDebugFolder(QString::fromStdString(dir.file("debug")));
    ASSERT_TRUE(writeFile(debugFile("debug.dat"), "[Other]\r\nx=1\r\n[VarValues]\r\nName=Ren\xe9\r\n;note\r\n"
                                                   "Path=C:\\a=b\r\n"));
    window.FormShow();
    ASSERT_EQ(window.SG_VarValues->rowCount(), 2);
    EXPECT_EQ(window.SG_VarValues->item(0, 0)->text(), "Name");
    EXPECT_EQ(window.SG_VarValues->item(0, 1)->text(), QString::fromUtf8("Ren\xc3\xa9"));
    EXPECT_EQ(window.SG_VarValues->item(1, 1)->text(), "C:\\a=b");
    EXPECT_EQ(window.SG_VarValues->horizontalHeaderItem(0)->text(), "Variable name");
    // Shown again without a file: no rows.
    window.FormShow();
    EXPECT_EQ(window.SG_VarValues->rowCount(), 0);
}

} // namespace
