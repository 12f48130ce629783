// The export as a caller sees it: the built shared library, loaded by name.

#include "wharfforge.h"

#include "files.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wharf;

namespace {

struct Line {
    std::string text;
    uint16_t kind, percent;
};

std::vector<Line> g_lines;
std::vector<bool> g_answers; // answers in order; true once exhausted

bool recordingCallback(const char *text, uint16_t kind, uint16_t percent)
{
    g_lines.push_back({text, kind, percent});
    if (g_lines.size() <= g_answers.size())
        return g_answers[g_lines.size() - 1];
    return true;
}

class CompileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_handle = ::dlopen(WHARFFORGE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << ::dlerror();
        compile = reinterpret_cast<decltype(&CompileFile)>(::dlsym(m_handle, "CompileFile"));
        ASSERT_NE(compile, nullptr);
        g_lines.clear();
        g_answers.clear();
    }
    void TearDown() override
    {
        if (m_handle)
            ::dlclose(m_handle);
    }

    decltype(&CompileFile) compile = nullptr;
    ScratchFolder dir;

private:
    void *m_handle = nullptr;
};

} // namespace

TEST_F(CompileFileTest, ExportsOnlyCompileFile)
{
    void *h = ::dlopen(WHARFFORGE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(::dlsym(h, "_ZN5wharf10CurrentRunEv"), nullptr); // wharf::CurrentRun() stays private
    ::dlclose(h);
}

TEST_F(CompileFileTest, MissingProjectIsAnErrorLineNotAStop)
{
    const bool stopped = compile(dir.file("none.wfp").c_str(), dir.path().c_str(), recordingCallback, true);
    EXPECT_FALSE(stopped);
    ASSERT_EQ(g_lines.size(), 2u);
    EXPECT_EQ(g_lines[0].kind, 0);
    EXPECT_EQ(g_lines[1].text, "ERROR: Data file does not exist");
    EXPECT_EQ(g_lines[1].kind, 1);
    // An early end writes no log.
    EXPECT_FALSE(fileExists(dir.file("wharfforge.log")));
}

TEST_F(CompileFileTest, RunsWithoutCallback)
{
    EXPECT_FALSE(compile(dir.file("none.wfp").c_str(), dir.path().c_str(), nullptr, false));
    EXPECT_FALSE(compile(nullptr, nullptr, nullptr, false));
}

TEST_F(CompileFileTest, TheLastAnswerCounts)
{
    // A stop answer to the banner, then "go on" to the error line that
    // reports the stop: the request is withdrawn and nothing is cleared.
    ASSERT_TRUE(createFolder(dir.file("Temp")));
    ASSERT_TRUE(writeFile(dir.file("Temp/left.over"), "x"));
    g_answers = {false, true};
    EXPECT_FALSE(compile(dir.file("none.wfp").c_str(), dir.path().c_str(), recordingCallback, true));
    ASSERT_EQ(g_lines.size(), 2u);
    EXPECT_EQ(g_lines[1].text, "ERROR: Compilation terminated by user!");
    EXPECT_TRUE(fileExists(dir.file("Temp/left.over")));
}
