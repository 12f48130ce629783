#include "programstart.h"
#include "toolcommands.h"

#include "fakeseams.h"
#include "files.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace wharf {
namespace {

struct SplitCase {
    QString command;
    QString program;
    QString params;
};

TEST(SplitCommandLine, SplitsAsTheToolsMenuStoresCommands)
{
    const SplitCase cases[] = {
        {"", "", ""},
        {"notepad.exe", "notepad.exe", ""},
        {"notepad.exe readme.txt", "notepad.exe", "readme.txt"},
        {"notepad.exe a b", "notepad.exe", "a b"},
        // The program path in quotes, followed by a quoted argument: the
        // parameters keep their opening quote and lose the last character.
        {"\"C:\\Tools\\My Editor\\ed.exe\" \"C:\\a b.txt\"", "C:\\Tools\\My Editor\\ed.exe", "\"C:\\a b.txt"},
        // Quotes without the quote-blank-quote triple: all quotes go.
        {"\"C:\\Tools\\ed.exe\" -x", "C:\\Tools\\ed.exe -x", ""},
        {"\"/usr/bin/gedit\"", "/usr/bin/gedit", ""},
    };
    for (const SplitCase &c : cases) {
        QString program = c.command;
        QString params = QStringLiteral("stale");
        SplitCommandLine(program, params);
        EXPECT_EQ(program, c.program) << c.command.toStdString();
        EXPECT_EQ(params, c.params) << c.command.toStdString();
    }
}

TEST(StartProgram, RunsWindowsProgramsThroughWineOnly)
{
    testing::FakeSeams fake;
    EXPECT_TRUE(isWindowsProgram(QStringLiteral("C:\\x\\SETUP.EXE")));
    EXPECT_TRUE(isWindowsProgram(QStringLiteral("run.bat")));
    EXPECT_FALSE(isWindowsProgram(QStringLiteral("/usr/bin/gedit")));

    // No wine: a Windows program can't start, a native one starts directly.
    EXPECT_FALSE(StartProgram(fake.seams(), {}, QStringLiteral("notepad.exe"), {QStringLiteral("a.txt")}));
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_TRUE(StartProgram(fake.seams(), {}, QStringLiteral("/usr/bin/gedit"), {QStringLiteral("a.txt")}));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, QStringLiteral("/usr/bin/gedit"));

    // With wine: the program and its arguments follow wine's name; a
    // program given with a folder must exist.
    ScratchFolder scratch;
    const std::string setup = scratch.file("setup.exe");
    writeFile(setup, "MZ");
    EXPECT_TRUE(StartProgram(fake.seams(), QStringLiteral("/opt/wine"), QString::fromStdString(setup),
                             {QStringLiteral("/S")}));
    ASSERT_EQ(fake.processes.started.size(), 2u);
    EXPECT_EQ(fake.processes.started[1].program, QStringLiteral("/opt/wine"));
    EXPECT_EQ(fake.processes.started[1].arguments, (QStringList{QString::fromStdString(setup), QStringLiteral("/S")}));
    EXPECT_FALSE(StartProgram(fake.seams(), QStringLiteral("/opt/wine"),
                              QString::fromStdString(scratch.file("missing.exe")), {}));
    EXPECT_EQ(fake.processes.started.size(), 2u);
}

TEST(StartProgram, AFailedStartNamesItsReason)
{
    ScratchFolder scratch;
    const std::string script = scratch.file("tool.sh");
    writeFile(script, "#!/bin/sh\n"); // not executable
    const std::string setup = scratch.file("setup.exe");
    writeFile(setup, "MZ");
    const QString wine = QStringLiteral("/opt/wine");
    struct Case {
        QString wine;
        QString program;
        int systemError;
        const char *reason;
    };
    const Case cases[] = {
        {wine, QString(), 0, "No program was named."},
        {QString(), QString::fromStdString(setup), 0,
         "Windows programs cannot run here: no runner for them (wine) is installed."},
        {QString(), QStringLiteral("notepad.exe"), 0,
         "Windows programs cannot run here: no runner for them (wine) is installed."},
        // A missing program is named before the missing runner.
        {QString(), QString::fromStdString(scratch.file("missing.exe")), 0, "No such file or directory"},
        {wine, QString::fromStdString(scratch.file("missing.exe")), 0, "No such file or directory"},
        {wine, QString::fromStdString(scratch.file("missing")), 0, "No such file or directory"},
        {wine, QString::fromStdString(scratch.path()), 0, "Is a directory"},
        {wine, QString::fromStdString(script), 0, "Permission denied"},
        {wine, QStringLiteral("no-such-program-anywhere"), 0, "There is no such program on the search path."},
        {wine, QString::fromStdString(setup), ENOEXEC, "Exec format error"},
        {wine, QString::fromStdString(setup), 0, "The system could not start it."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(startFailureReason(c.wine, c.program, c.systemError), QString::fromLatin1(c.reason))
            << c.program.toStdString();

    // The message keeps its first line and adds the path and the reason.
    testing::FakeSeams fake;
    EXPECT_FALSE(StartProgramOrExplain(fake.seams(), nullptr, QString(), QStringLiteral("Setup"),
                                       QString::fromStdString(setup), {}));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_EQ(fake.messages.shown[0].text.split(QLatin1Char('\n')),
              (QStringList{QStringLiteral("Could not execute Setup!"), QString(), QString::fromStdString(setup),
                           QStringLiteral("Windows programs cannot run here: no runner for them (wine) is installed.")}));

}

TEST(StartProgram, CommandLinesSplitIntoProgramAndArguments)
{
    testing::FakeSeams fake;
    EXPECT_FALSE(RunCommandLine(fake.seams(), QStringLiteral("/opt/wine"), QString()));
    EXPECT_TRUE(RunCommandLine(fake.seams(), QStringLiteral("/opt/wine"), QStringLiteral("notepad.exe \"a b.txt\"")));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, QStringLiteral("/opt/wine"));
    EXPECT_EQ(fake.processes.started[0].arguments, (QStringList{QStringLiteral("notepad.exe"), QStringLiteral("a b.txt")}));
}

} // namespace
} // namespace wharf
