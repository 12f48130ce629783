#include "userdirs.h"

#include "files.h"
#include "scopedenv.h"

#include <gtest/gtest.h>
#include <optional>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

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
    EXPECT_EQ(a.path().rfind(parent.path() + "/compile-", 0), 0u) << a.path();
    EXPECT_EQ(modeOf(a.path()), 0700u);
}
