#include "projectpaths.h"

#include <gtest/gtest.h>

using namespace wharf::editor;

namespace {

struct PathCase {
    const char *path;
    const char *base;
    const char *expected;
};

} // namespace

TEST(ProjectPathsTest, MakeRelativePath)
{
    const PathCase cases[] = {
        // Windows form
        {"C:\\Work\\Src\\a.exe", "C:\\Work\\Proj", "..\\Src\\a.exe"},
        {"C:\\Work\\a.exe", "C:\\Work\\Proj\\", "..\\a.exe"},
        {"D:\\x.exe", "C:\\Work", "D:\\x.exe"},
        {"C:\\Work\\Proj\\a.exe", "C:\\Work\\Proj\\", "a.exe"},
        {"c:\\work\\PROJ\\sub\\a.exe", "C:\\Work\\Proj\\", "sub\\a.exe"},
        {"C:\\a.exe", "C:\\Work\\Proj\\", "..\\..\\a.exe"},
        {"C:\\Other\\Deep\\a.exe", "C:\\Work\\Proj\\", "..\\..\\Other\\Deep\\a.exe"},
        {"\\\\srv\\share\\a.exe", "\\\\srv\\other\\", "..\\share\\a.exe"},
        // native form
        {"/home/u/src/a.exe", "/home/u/proj/", "../src/a.exe"},
        {"/home/u/proj/lib/a.so", "/home/u/proj", "lib/a.so"},
        {"/a.exe", "/home/u/proj/", "../../../a.exe"},
        // letter case counts in native paths, but not in drive or UNC paths
        {"/srv/build/Proj/a.exe", "/srv/build/proj/", "../Proj/a.exe"},
        {"/SRV/a.exe", "/srv/", "../SRV/a.exe"},
        {"\\\\SRV\\Share\\a.exe", "\\\\srv\\share\\", "a.exe"},
        // a Windows-style rest keeps its separators, also for the steps up
        {"/home/u/src\\a.exe", "/home/u/proj/", "..\\src\\a.exe"},
        // not made relative: other kinds of path, or nothing to be relative to
        {"/home/u/a.exe", "C:\\Work\\", "/home/u/a.exe"},
        {"C:\\a.exe", "/home/u/", "C:\\a.exe"},
        {"src\\a.exe", "C:\\Work\\", "src\\a.exe"},
        {"{app}\\a.exe", "C:\\Work\\", "{app}\\a.exe"},
        {"C:\\Work\\a.exe", "", "C:\\Work\\a.exe"},
    };
    for (const PathCase &c : cases)
        EXPECT_EQ(MakeRelativePath(c.path, c.base), c.expected) << c.path << " against " << c.base;
}

TEST(ProjectPathsTest, ExpandRelativePath)
{
    const PathCase cases[] = {
        // Windows form
        {"..\\Src\\a.exe", "C:\\Work\\Proj\\", "C:\\Work\\Src\\a.exe"},
        {"..\\..\\a.exe", "C:\\Work\\Proj", "C:\\a.exe"},
        {"a.exe", "C:\\Work\\Proj\\", "C:\\Work\\Proj\\a.exe"},
        {"..\\..\\..\\a.exe", "C:\\Work\\", "C:\\a.exe"},
        {"sub\\..\\a.exe", "C:\\Work\\Proj\\", "C:\\Work\\Proj\\a.exe"},
        {"D:\\x.exe", "C:\\Work\\", "D:\\x.exe"},
        {"{src}\\x.exe", "C:\\Work\\", "{src}\\x.exe"},
        {"", "C:\\Work\\", ""},
        {"\\\\srv\\x.exe", "C:\\Work\\", "\\\\srv\\x.exe"},
        // native form, also for paths written on Windows
        {"../src/a.exe", "/home/u/proj/", "/home/u/src/a.exe"},
        {"..\\src\\a.exe", "/home/u/proj/", "/home/u/src/a.exe"},
        {"a.exe", "/home/u/proj", "/home/u/proj/a.exe"},
        {"../../../../a.exe", "/home/u/", "/a.exe"},
        {"../x/../proj/bin/tool.exe", "/home/u/x/", "/home/u/proj/bin/tool.exe"},
        {"/opt/x.exe", "/home/u/", "/opt/x.exe"},
        // nothing to expand against
        {"a.exe", "", "a.exe"},
    };
    for (const PathCase &c : cases)
        EXPECT_EQ(ExpandRelativePath(c.path, c.base), c.expected) << c.path << " against " << c.base;
}

TEST(ProjectPathsTest, RelativeAndBackAgain)
{
    const PathCase cases[] = {
        {"C:\\Work\\Src\\a.exe", "C:\\Work\\Proj\\", nullptr},
        {"C:\\a.exe", "C:\\Work\\Proj\\", nullptr},
        {"/home/u/src/deep/a.exe", "/home/u/proj/x/", nullptr},
    };
    for (const PathCase &c : cases)
        EXPECT_EQ(ExpandRelativePath(MakeRelativePath(c.path, c.base), c.base), c.path) << c.path;
}

TEST(ProjectPathsTest, SameFolder)
{
    struct Case {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"/srv/base/", "/srv/base", true},
        {"/srv/Base/", "/srv/base/", false},  // native folders differ by case
        {"C:\\Setups\\", "c:\\setups", true},
        {"C:\\Setups\\", "C:/Setups/", true},
        {"\\\\srv\\Share\\", "\\\\SRV\\share\\", true},
        {"", "/srv/", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SameFolder(c.a, c.b), c.same) << c.a << " and " << c.b;
}

TEST(ProjectPathsTest, RebasePathKeepsTheSeparatorStyle)
{
    struct Case {
        const char *path, *from, *to, *expected;
    } cases[] = {
        {"bin\\tool.exe", "/w/proj/", "/w/proj/", "bin\\tool.exe"},  // one folder: untouched
        {"..\\..\\x.exe", "/w/a/b/", "/w/a/b", "..\\..\\x.exe"},
        {"sub\\..\\x.exe", "/w/proj/", "/w/proj/", "sub\\..\\x.exe"},
        {"bin\\tool.exe", "/w/proj/", "/w/other/", "..\\proj\\bin\\tool.exe"},
        {"bin/tool.exe", "/w/proj/", "/w/other/", "../proj/bin/tool.exe"},
        {"tool.exe", "/w/proj/", "/w/other/", "..\\proj\\tool.exe"},  // a bare name: the project's style
        {"..\\lib\\x.dll", "C:\\Work\\Proj\\", "C:\\Work\\", "lib\\x.dll"},
        {"bin\\tool.exe", "C:\\Proj\\", "D:\\Elsewhere\\", "C:\\Proj\\bin\\tool.exe"},  // stays absolute
        {"/opt/tool.exe", "/w/proj/", "/w/other/", "../../opt/tool.exe"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RebasePath(c.path, c.from, c.to), c.expected) << c.path << " from " << c.from << " to " << c.to;
    EXPECT_EQ(RebasePath("tool.exe", "/w/proj/", "/w/other/", '/'), "../proj/tool.exe");
    EXPECT_EQ(RebasePath("tool.exe", "/w/a/proj/", "/w/", '/'), "a/proj/tool.exe");
}
