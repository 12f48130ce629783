#include "userdirs.h"

#include "files.h"
#include "scopedenv.h"

#include <gtest/gtest.h>
#include <functional>
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

namespace {

// Runs body in a child process that has dropped to the unprivileged user
// "nobody" when this one is root; the child's failures end it with status 1.
// Returns false when the drop can't be arranged (not root).
bool asAnotherUser(const std::function<bool()> &body)
{
    if (::geteuid() != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    return true;
}

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(UserDirsTest, AnUnusableRuntimeFolderFallsBackToTheCacheFolderWithOneLineThatSaysWhy)
{
    ScratchFolder dir;
    const ScopedEnv cache("XDG_CACHE_HOME", dir.file("cache"));
    const std::string fallback = dir.file("cache") + "/brindlewharf";
    ASSERT_TRUE(writeFile(dir.file("file"), "x"));
    ASSERT_EQ(::mkdir(dir.file("open").c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.file("open").c_str(), 0777), 0);
    struct Case {
        std::string value;
        const char *reason;
    };
    const Case cases[] = {
        {dir.file("file"), "not a folder"},
        {dir.file("open"), "other users may write in it"},
        {dir.file("file") + "/run", "not a folder"},
        {"run/user/1000", "not an absolute path"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        const ScopedEnv runtime("XDG_RUNTIME_DIR", c.value);
        const std::string problem = runtimeFolderProblem();
        EXPECT_TRUE(contains(problem, "XDG_RUNTIME_DIR=" + c.value + " can't be used")) << problem;
        EXPECT_TRUE(contains(problem, c.reason)) << problem;
        EXPECT_TRUE(contains(problem, "scratch files go to " + fallback + " instead.")) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
        EXPECT_EQ(userRuntimeFolder(), fallback);
    }
    EXPECT_FALSE(folderExists(dir.file("open") + "/brindlewharf"));

    // A folder of this user's is used, and nothing is said; a missing one
    // is made.
    const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.file("mine"));
    EXPECT_EQ(runtimeFolderProblem(), "");
    EXPECT_EQ(userRuntimeFolder(), dir.file("mine") + "/brindlewharf");
    EXPECT_EQ(modeOf(dir.file("mine")), 0700u);
    {
        const ScopedEnv unset("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(runtimeFolderProblem(), "") << "an unset variable is no fault";
    }

    // Another user's runtime folder, handed on by "su" without "-": not
    // even root writes into it.
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's folder needs root to be made here";
    ASSERT_EQ(::chown(dir.file("mine").c_str(), 65534, 65534), 0);
    const std::string problem = runtimeFolderProblem();
    EXPECT_TRUE(contains(problem, "belongs to another user")) << problem;
    EXPECT_EQ(userRuntimeFolder(), fallback);
    // The same for an unprivileged user whose variable names root's folder
    // ("docker exec -u").
    ASSERT_EQ(::mkdir(dir.file("root").c_str(), 0700), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string userCache = dir.file("nobody-cache");
    ASSERT_EQ(::mkdir(userCache.c_str(), 0700), 0);
    ASSERT_EQ(::chown(userCache.c_str(), 65534, 65534), 0);
    const ScopedEnv rootRuntime("XDG_RUNTIME_DIR", dir.file("root"));
    const ScopedEnv nobodyCache("XDG_CACHE_HOME", userCache);
    asAnotherUser([&] {
        return contains(runtimeFolderProblem(), "belongs to another user") &&
               userRuntimeFolder() == userCache + "/brindlewharf";
    });
}

TEST(UserDirsTest, AMissingHomeIsNeverMadeAndAUserWithoutOneGetsAPrivateTemporaryFolder)
{
    ScratchFolder dir;
    const std::string home = dir.file("nonexistent");
    const ScopedEnv homeVariable("HOME", home);
    const ScopedEnv tmp("TMPDIR", dir.path());
    const ScopedEnv state("XDG_STATE_HOME", nullptr);
    const ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const std::string own = dir.file("brindlewharf-" + std::to_string(::geteuid()));

    {
        // With a runtime folder, the temporary one is not made just to be
        // swept.
        ASSERT_EQ(::mkdir(dir.file("run").c_str(), 0700), 0);
        const ScopedEnv usable("XDG_RUNTIME_DIR", dir.file("run"));
        EXPECT_EQ(userRuntimeFolder(), dir.file("run") + "/brindlewharf");
        EXPECT_FALSE(folderExists(own));
    }
    EXPECT_EQ(userStateFolder(), own + "/state");
    EXPECT_EQ(userRuntimeFolder(), own + "/cache");
    EXPECT_FALSE(folderExists(home)) << "the missing home was made";
    for (const std::string &folder : {own, own + "/state", own + "/cache"})
        EXPECT_EQ(modeOf(folder), 0700u) << folder;

    // Made by somebody else first, or open to others: not used, and the
    // message says which variables give this user a place.
    const auto refused = [&](const char *reason) {
        try {
            userStateFolder();
            ADD_FAILURE() << "used although " << reason;
        } catch (const std::runtime_error &e) {
            const std::string text = e.what();
            EXPECT_TRUE(contains(text, own)) << text;
            EXPECT_TRUE(contains(text, reason)) << text;
            for (const char *name : {"HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
                EXPECT_TRUE(contains(text, name)) << text;
        }
    };
    ASSERT_EQ(::chmod(own.c_str(), 0755), 0);
    refused("other users may enter it");
    removeTree(own);
    ASSERT_EQ(::mkdir(dir.file("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), own.c_str()), 0);
    refused("not a folder");
    ASSERT_TRUE(deleteFile(own));
    if (::geteuid() == 0) {
        ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
        ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
        refused("belongs to another user");
        removeTree(own);
    }

    // An existing home gets its folders made below it.
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    EXPECT_EQ(userRuntimeFolder(), home + "/.cache/brindlewharf");
    EXPECT_EQ(userStateFolder(), home + "/.local/state/brindlewharf");
}

TEST(UserDirsTest, ARunSweepsEndedRunsFromTheRuntimeAndTheCacheFolder)
{
    ScratchFolder dir;
    const ScopedEnv cache("XDG_CACHE_HOME", dir.file("cache"));
    ASSERT_EQ(::mkdir(dir.file("run").c_str(), 0700), 0);
    const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.file("run"));
    const std::string cacheFolder = dir.file("cache") + "/brindlewharf";
    createPrivateFolderPath(cacheFolder);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    // A cron run without XDG_RUNTIME_DIR that was killed, and one that runs.
    const std::string ended = cacheFolder + "/compile-" + std::to_string(child) + "-a1B2c3";
    const std::string running = cacheFolder + "/compile-" + std::to_string(::getpid()) + "-a1B2c3";
    for (const std::string &folder : {ended, running}) {
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_TRUE(writeFile(folder + "/bzout.tmp", "x"));
    }
    EXPECT_EQ(userRuntimeFolder(), dir.file("run") + "/brindlewharf");
    EXPECT_FALSE(folderExists(ended));
    EXPECT_TRUE(fileExists(running + "/bzout.tmp"));

    // A cache folder that isn't there is not made just to be swept.
    removeTree(dir.file("cache"));
    userRuntimeFolder();
    EXPECT_FALSE(folderExists(dir.file("cache")));
}
