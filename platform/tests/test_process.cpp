#include "process.h"

#include "files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

using namespace wharf;

TEST(ProcessTest, RunsTheExactPathWithoutAShell)
{
    ScratchFolder dir;
    // A name with blanks and shell characters must run as the file it names.
    const std::string script = dir.file("my tool; touch pwned.sh");
    const std::string marker = dir.file("ran");
    ASSERT_TRUE(writeFile(script, "#!/bin/sh\ntouch '" + marker + "'\n"));
    ::chmod(script.c_str(), 0755);
    EXPECT_TRUE(runAndWait(script));
    EXPECT_TRUE(fileExists(marker));
    EXPECT_FALSE(fileExists(dir.file("pwned.sh")));
}

TEST(ProcessTest, FailsForMissingOrNonExecutablePrograms)
{
    ScratchFolder dir;
    EXPECT_FALSE(runAndWait(dir.file("missing")));
    ASSERT_TRUE(writeFile(dir.file("plain"), "x"));
    EXPECT_FALSE(runAndWait(dir.file("plain")));
    // A detached start that fails leaves the system's reason in errno.
    errno = 0;
    EXPECT_FALSE(startDetached(dir.file("missing")));
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(startDetached(dir.file("plain")));
    EXPECT_EQ(errno, EACCES);
}

TEST(ProcessTest, DetachedStartPassesArguments)
{
    ScratchFolder dir;
    const std::string marker = dir.file("arg");
    EXPECT_TRUE(startDetached("/bin/sh", {"-c", "echo \"$0\" > '" + marker + "'", "hello"}));
    for (int i = 0; i < 500 && fileSize(marker) <= 0; ++i)
        ::usleep(10000);
    EXPECT_EQ(readFile(marker), "hello\n");
}

namespace {

// Puts PATH to one folder for the life of the object.
class PathOverride {
public:
    explicit PathOverride(const std::string &path)
    {
        if (const char *old = std::getenv("PATH"))
            m_old = old;
        ::setenv("PATH", path.c_str(), 1);
    }
    ~PathOverride() { ::setenv("PATH", m_old.c_str(), 1); }

private:
    std::string m_old;
};

void writeScript(const std::string &path, const std::string &body)
{
    ASSERT_TRUE(writeFile(path, "#!/bin/sh\n" + body));
    ::chmod(path.c_str(), 0755);
}

} // namespace

TEST(ProcessTest, WindowsProgramRunsThroughWineOnThePath)
{
    ScratchFolder dir;
    const std::string exe = dir.file("setup.bin");
    ASSERT_TRUE(writeFile(exe, std::string("MZ") + std::string(62, '\0')));
    ASSERT_TRUE(createFolder(dir.file("bin")));
    const std::string log = dir.file("wine.log");
    writeScript(dir.file("bin/wine"), "for a in \"$@\"; do echo \"$a\" >> '" + log + "'; done\n");
    {
        PathOverride path(dir.file("empty") + ":" + dir.file("bin"));
        EXPECT_TRUE(runWindowsProgram(exe, {"-d", "a b"}, {}));
    }
    EXPECT_EQ(readFile(log), exe + "\n-d\na b\n");

    // Without wine the Windows program is not started.
    PathOverride path(dir.file("empty"));
    EXPECT_FALSE(runWindowsProgram(exe, {}, {}));
    EXPECT_FALSE(runWindowsProgram(dir.file("missing.bin"), {}, {}));
}

TEST(ProcessTest, NativeProgramRunsItselfWhileTheCallerKeepsWorking)
{
    ScratchFolder dir;
    const std::string marker = dir.file("done");
    const std::string go = dir.file("go");
    // The program ends only once the caller has done something meanwhile.
    writeScript(dir.file("runtime"), "while [ ! -e '" + go + "' ]; do sleep 0.01; done\necho \"$1\" > '" + marker +
                                         "'\n");
    int calls = 0;
    EXPECT_TRUE(runWindowsProgram(dir.file("runtime"), {"arg"}, [&] {
        ++calls;
        writeFile(go, "");
    }));
    EXPECT_GE(calls, 1);
    EXPECT_EQ(readFile(marker), "arg\n");

    ASSERT_TRUE(writeFile(dir.file("plain"), "x"));
    EXPECT_FALSE(runWindowsProgram(dir.file("plain"), {}, {}));
}
