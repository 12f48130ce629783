#include "userdirs.h"

#include "files.h"
#include "scopedenv.h"

#include <gtest/gtest.h>
#include <optional>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using wharf::testing::ScopedEnv;

using namespace wharf;

namespace {

mode_t modeOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

} // namespace

TEST(UserDirsTest, FoldersFollowTheXdgVariablesThenHome)
{
    ScratchFolder dir;
    const ScopedEnv home("HOME", dir.path().c_str());
    {
        const ScopedEnv state("XDG_STATE_HOME", (dir.path() + "/state").c_str());
        const ScopedEnv runtime("XDG_RUNTIME_DIR", (dir.path() + "/run/").c_str());
        EXPECT_EQ(userStateFolder(), dir.path() + "/state/brindlewharf");
        EXPECT_EQ(userRuntimeFolder(), dir.path() + "/run/brindlewharf");
        EXPECT_EQ(modeOf(dir.path() + "/state/brindlewharf"), 0700u);
        EXPECT_EQ(modeOf(dir.path() + "/state"), 0700u);
    }
    {
        // Relative values are not XDG values and are ignored.
        const ScopedEnv state("XDG_STATE_HOME", "relative");
        const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        const ScopedEnv cache("XDG_CACHE_HOME", (dir.path() + "/cache").c_str());
        EXPECT_EQ(userStateFolder(), dir.path() + "/.local/state/brindlewharf");
        EXPECT_EQ(userRuntimeFolder(), dir.path() + "/cache/brindlewharf");
    }
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    EXPECT_EQ(userRuntimeFolder(), dir.path() + "/.cache/brindlewharf");
}

TEST(UserDirsTest, AFailureNamesThePathAndTheReason)
{
    ScratchFolder dir;
    ASSERT_TRUE(writeFile(dir.file("file"), "x"));
    const ScopedEnv state("XDG_STATE_HOME", dir.file("file").c_str());
    try {
        userStateFolder();
        FAIL() << "a file in the way was accepted";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("file") + "/brindlewharf"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("not a folder"), std::string::npos) << e.what();
    }
    try {
        ScratchFolder inside(dir.file("missing"), "run");
        FAIL() << "a scratch folder was made under a missing parent";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("missing")), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
    }
}

TEST(UserDirsTest, ScratchFoldersOfOneParentNeverCoincide)
{
    ScratchFolder parent;
    ScratchFolder a(parent.path(), "compile");
    ScratchFolder b(parent.path(), "compile");
    EXPECT_NE(a.path(), b.path());
    // Named after the process that owns it.
    EXPECT_EQ(a.path().rfind(parent.path() + "/compile-" + std::to_string(::getpid()) + "-", 0), 0u) << a.path();
    EXPECT_EQ(modeOf(a.path()), 0700u);
}

TEST(UserDirsTest, TheRuntimeFolderLosesOnlyTheFoldersOfEndedRuns)
{
    ScratchFolder dir;
    const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());
    const std::string parent = userRuntimeFolder();
    // A process id that is free: a child that has ended and been reaped.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string ended = std::to_string(child);
    const auto folder = [&](const std::string &name) {
        const std::string path = parent + "/" + name;
        EXPECT_EQ(::mkdir(path.c_str(), 0700), 0) << path;
        EXPECT_TRUE(writeFile(path + "/bzout.tmp", "x"));
        return path;
    };

    const std::string abandoned = folder("compile-" + ended + "-a1B2c3");
    const std::string running = folder("compile-" + std::to_string(::getpid()) + "-a1B2c3");
    const std::string foreign = folder("notes-" + ended + "-abc");
    const std::string unnumbered = folder("compile-x" + ended + "-a1B2c3");
    // Held by a process whose id this one can't see (another container).
    const std::string locked = folder("wharfdraft-" + ended + "-zzzzzz");
    const int lock = ::open(locked.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    const std::string target = folder("target");
    const std::string link = parent + "/wharfwright-" + ended + "-linked";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const ScratchFolder live(parent, "wharfwright");
    ASSERT_TRUE(writeFile(live.file("bzout.tmp"), "x"));

    EXPECT_EQ(userRuntimeFolder(), parent);
    EXPECT_FALSE(folderExists(abandoned));
    for (const std::string &kept : {running, foreign, unnumbered, locked, target, live.path()})
        EXPECT_TRUE(fileExists(kept + "/bzout.tmp")) << kept;
    struct stat st {};
    EXPECT_EQ(::lstat(link.c_str(), &st), 0) << "a link is no scratch folder";
    ::close(lock);

    // Once the lock is free the folder of the ended run goes as well.
    userRuntimeFolder();
    EXPECT_FALSE(folderExists(locked));
    EXPECT_TRUE(folderExists(running));
}
