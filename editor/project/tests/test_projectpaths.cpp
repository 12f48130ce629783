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
        {"sub\\..\\a.exe", "C:\\Work\\Proj\\", "C:\\Work\\sub\\a.exe"},
        {"D:\\x.exe", "C:\\Work\\", "D:\\x.exe"},
        {"{src}\\x.exe", "C:\\Work\\", "{src}\\x.exe"},
        {"", "C:\\Work\\", ""},
        {"\\\\srv\\x.exe", "C:\\Work\\", "\\\\srv\\x.exe"},
        // native form, also for paths written on Windows
        {"../src/a.exe", "/home/u/proj/", "/home/u/src/a.exe"},
        {"..\\src\\a.exe", "/home/u/proj/", "/home/u/src/a.exe"},
        {"a.exe", "/home/u/proj", "/home/u/proj/a.exe"},
        {"../../../../a.exe", "/home/u/", "/a.exe"},
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
