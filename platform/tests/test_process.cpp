#include "process.h"

#include "files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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
    EXPECT_FALSE(startDetached(dir.file("missing")));
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
