#include "filetools.h"

#include "files.h"
#include "runcontext.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wharf;

TEST(FileToolsTest, ExpandRelativePath)
{
    struct Case {
        const char *path, *base, *expected;
    } cases[] = {
        {"", "C:\\p", ""},
        {"D:\\x.txt", "C:\\p", "D:\\x.txt"},
        {"{app}\\x.txt", "C:\\p", "{app}\\x.txt"},
        {"\\\\srv\\share\\x", "C:\\p", "\\\\srv\\share\\x"},
        {"/abs/x", "C:\\p", "/abs/x"},
        {"a.txt", "C:\\p\\", "C:\\p\\a.txt"},
        {"..\\a.txt", "C:", "C:\\a.txt"},
        {"..\\..\\pics\\a.bmp", "C:\\work\\proj\\sub", "C:\\work\\pics\\a.bmp"},
        {"sub\\..\\x", "C:\\a\\b", "C:\\a\\b\\x"},  // a ".." inside the path leaves its own folder
        {"../x/../proj/bin/t.exe", "/w/y", "/w/proj/bin/t.exe"},
        {"../../pics/a.bmp", "/work/proj/sub", "/work/pics/a.bmp"},
        {"..\\pics\\a.bmp", "/work/proj", "/work/pics/a.bmp"},
        {"pics\\a.bmp", "/work/proj/", "/work/proj/pics/a.bmp"},
        {"..\\..\\..\\x", "/a", "/x"},
        {"a.txt", "rel", "rel/a.txt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExpandRelativePath(c.path, c.base), c.expected) << c.path << " on " << c.base;
}

TEST(FileToolsTest, ResolveFileList)
{
    CurrentRun().WorkDir = "C:\\proj";
    const auto out = ResolveFileList({"0=\"C:\\a b\\x.dll\"", "0=", "1=\"", "2=pics\\a.bmp", "nokey.txt",
                                      "3=\"{sys}\\x.dll\""});
    EXPECT_EQ(out, (std::vector<std::string>{"C:\\a b\\x.dll", "", "", "C:\\proj\\pics\\a.bmp",
                                             "C:\\proj\\nokey.txt", "{sys}\\x.dll"}));
}

TEST(FileToolsTest, FileSizeRounded)
{
    ScratchFolder dir;
    ASSERT_TRUE(writeFile(dir.file("one"), "x"));
    ASSERT_TRUE(writeFile(dir.file("k"), std::string(1024, 'k')));
    EXPECT_EQ(FileSizeRounded(dir.file("one"), 512), 512);
    EXPECT_EQ(FileSizeRounded(dir.file("k"), 512), 1024);
    EXPECT_EQ(FileSizeRounded(dir.file("one"), 0), 1);
    EXPECT_EQ(FileSizeRounded(dir.file("one"), -1), 1);
    EXPECT_EQ(FileSizeRounded(dir.file("missing"), 512), -1);
    // A relative path is taken against the current folder.
    const std::string cwd = currentFolder();
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    EXPECT_EQ(FileSizeRounded("k", 4096), 4096);
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

TEST(FileToolsTest, ClearDirectory)
{
    ScratchFolder dir;
    const std::string top = dir.file("top");
    ASSERT_TRUE(createFolder(top));
    ASSERT_TRUE(createFolder(top + "/sub"));
    ASSERT_TRUE(writeFile(top + "/a", "a"));
    ASSERT_TRUE(writeFile(top + "/.hidden", "h"));
    ASSERT_TRUE(writeFile(top + "/ro", "r"));
    ::chmod((top + "/ro").c_str(), 0444);
    ASSERT_TRUE(writeFile(top + "/sub/b", "b"));

    EXPECT_TRUE(ClearDirectory(top, false, false));
    EXPECT_FALSE(fileExists(top + "/a"));
    EXPECT_FALSE(fileExists(top + "/ro"));
    EXPECT_TRUE(fileExists(top + "/.hidden"));
    EXPECT_TRUE(fileExists(top + "/sub/b"));

    EXPECT_TRUE(ClearDirectory(top + "/sub", false, true));
    EXPECT_FALSE(folderExists(top + "/sub"));

    EXPECT_FALSE(ClearDirectory(dir.file("missing"), true, true));
    EXPECT_FALSE(folderExists(dir.file("missing")));
}

TEST(FileToolsTest, ClearDirectoryNeverFollowsLinks)
{
    ScratchFolder dir;
    const std::string outside = dir.file("outside");
    const std::string target = dir.file("target");
    ASSERT_TRUE(createFolder(outside));
    ASSERT_TRUE(writeFile(outside + "/precious", "keep"));
    ASSERT_TRUE(createFolder(target));
    ASSERT_EQ(::symlink(outside.c_str(), (target + "/dirlink").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "/precious").c_str(), (target + "/filelink").c_str()), 0);

    EXPECT_TRUE(ClearDirectory(target, true, true));
    EXPECT_FALSE(folderExists(target));
    EXPECT_EQ(readFile(outside + "/precious"), "keep");
}

TEST(FileToolsTest, ForceDirsAndHex)
{
    ScratchFolder dir;
    ForceDirs(dir.file("a/b\\c/"));
    EXPECT_TRUE(folderExists(dir.file("a/b/c")));
    ForceDirs("C:");  // a bare drive: nothing to do, no failure
    const uint8_t bytes[] = {0x0A, 0x1B, 0xFF, 0x00};
    EXPECT_EQ(BytesToHex(bytes, 4), "0A1BFF00");
    EXPECT_EQ(BytesToHex(bytes, 0), "");
}
