#include "paths.h"

#include <gtest/gtest.h>

using namespace wharf;

TEST(PathsTest, AbsoluteAndRoots)
{
    for (const char *p : {"C:\\x", "c:", "\\\\server\\share", "//server/share", "/usr/x", "/"})
        EXPECT_TRUE(isAbsolutePath(p)) << p;
    for (const char *p : {"", "a\\b", "a/b", "..\\x", "\\x", "{app}\\x"})
        EXPECT_FALSE(isAbsolutePath(p)) << p;
    for (const char *p : {"/", "\\", "C:", "C:\\", "d:/"})
        EXPECT_TRUE(isRootPath(p)) << p;
    for (const char *p : {"", "/a", "C:\\a", "C:x"})
        EXPECT_FALSE(isRootPath(p)) << p;
}

TEST(PathsTest, JoinKeepsTheBasesSeparator)
{
    EXPECT_EQ(joinPath("C:\\work", "a.txt"), "C:\\work\\a.txt");
    EXPECT_EQ(joinPath("C:", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(joinPath("/work", "a.txt"), "/work/a.txt");
    EXPECT_EQ(joinPath("/work/", "a.txt"), "/work/a.txt");
    EXPECT_EQ(joinPath("work", "a.txt"), "work/a.txt");
    EXPECT_EQ(joinPath("C:\\mixed/dir", "a"), "C:\\mixed/dir/a");
    EXPECT_EQ(joinPath("", "a"), "a");
}

TEST(PathsTest, NameParts)
{
    EXPECT_EQ(extractFileName("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(extractFileName("/a/b.txt"), "b.txt");
    EXPECT_EQ(extractFileName("C:b.txt"), "b.txt");
    EXPECT_EQ(extractFilePath("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(extractFilePath("b.txt"), "");
    EXPECT_EQ(extractFileExt("/a.d/b"), "");
    EXPECT_EQ(extractFileExt("x\\logo.BMP"), ".BMP");
    EXPECT_EQ(changeFileExt("/a.d/b", ".ico"), "/a.d/b.ico");
    EXPECT_EQ(changeFileExt("x.tar.gz", ".z"), "x.tar.z");
    EXPECT_EQ(excludeTrailingSeparator("/a/"), "/a");
    EXPECT_EQ(excludeTrailingSeparator("/"), "/");
    EXPECT_EQ(excludeTrailingSeparator("C:\\"), "C:\\");
    EXPECT_EQ(includeTrailingSeparator("C:\\a"), "C:\\a\\");
    EXPECT_EQ(toNativePath("a\\b/c"), "a/b/c");
}

TEST(PathsTest, NormalizeTakesOutDotFolders)
{
    struct Case {
        const char *path, *expected;
    } cases[] = {
        {"/w/x/../proj/./p.wfp", "/w/proj/p.wfp"},
        {"a\\..\\..\\b", "..\\b"},                     // a relative path keeps what climbs out of it
        {"C:\\a\\..\\..\\b", "C:\\b"},                 // the root is as high as it goes
        {"\\\\srv\\share\\..\\x", "\\\\srv\\share\\x"},  // server and share are the root
        {"/..", "/"},
        {"/a/b/..", "/a/"},
        {"sub/../", ""},
        {"x/..foo/.y/z", "x/..foo/.y/z"},              // only "." and ".." themselves
        {"a//b", "a/b"},
        {"C:x\\..\\y", "C:y"},
        {"{app}\\bin", "{app}\\bin"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(normalizePath(c.path), c.expected) << c.path;
}
