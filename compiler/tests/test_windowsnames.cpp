#include "windowsnames.h"

#include "folderhandle.h"

#include "files.h"
#include "testtools.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wharf;
using namespace wharf::testing;

TEST(WindowsNamesTest, NamesWindowsCantCreate)
{
    const std::pair<const char *, const char *> refused[] = {
        {"CON", "reserves"},       {"con", "reserves"},      {"Aux.txt", "reserves"}, {"nul.tar.gz", "reserves"},
        {"NUL .txt", "reserves"},  {"COM1", "reserves"},     {"com9.log", "reserves"}, {"LPT0", "reserves"},
        {"lpt\xC2\xB9.txt", "reserves"}, {"CONOUT$", "reserves"}, {"PRN", "reserves"},
        {"x.", "ends in a dot or a space"}, {"y ", "ends in a dot or a space"}, {"..", "ends in a dot"},
        {"a<b", "character <"},    {"a>b", "character >"},   {"a:b", "character :"},  {"a\"b", "character \""},
        {"a|b", "character |"},    {"a?b", "character ?"},   {"a*b", "character *"},  {"a\\b", "character \\"},
        {"a/b", "character /"},    {"a\x01" "b", "control character 0x01"}, {"a\x1F", "control character 0x1F"},
        {"", "no file name"},
    };
    for (const auto &[name, rule] : refused) {
        const auto problem = WindowsNameProblem(name);
        ASSERT_TRUE(problem) << name;
        EXPECT_NE(problem->find(rule), std::string::npos) << name << ": " << *problem;
    }
    for (const char *name : {"console.txt", "COM10", "LPT", "auxiliary", "nul_", "CON-1.txt", "x.y", ".hidden",
                             "setup.exe", "Übung.txt", "a b.txt", "com1x.txt"})
        EXPECT_FALSE(WindowsNameProblem(name)) << name << ": " << WindowsNameProblem(name).value_or("");
}

TEST(WindowsNamesTest, KeysAreEqualForOneFileOnAWindowsDisk)
{
    EXPECT_EQ(WindowsNameKey("README.TXT"), WindowsNameKey("readme.txt"));
    EXPECT_EQ(WindowsNameKey("readme.txt. . "), WindowsNameKey("readme.txt"));
    EXPECT_EQ(WindowsNameKey("\xC3\x84RGER.TXT"), WindowsNameKey("\xC3\xA4rger.txt")); // Ä and ä
    EXPECT_EQ(WindowsNameKey("\xC5\xA0.txt"), WindowsNameKey("\xC5\xA1.txt"));           // Š and š, Windows-1252 only
    EXPECT_NE(WindowsNameKey("a.txt"), WindowsNameKey("b.txt"));
    EXPECT_NE(WindowsNameKey(" a.txt"), WindowsNameKey("a.txt")); // leading spaces count
}

TEST(FolderHandleTest, WritesGoIntoTheFolderThatWasOpened)
{
    ScratchFolder dir;
    const std::string folder = dir.file("out");
    ASSERT_TRUE(createFolder(folder));
    ASSERT_TRUE(writeFile(dir.file("source"), "new content"));
    ASSERT_TRUE(writeFile(dir.file("target"), "the author's"));

    // A link is refused as the folder itself.
    ASSERT_EQ(::symlink(folder.c_str(), dir.file("link").c_str()), 0);
    FolderHandle viaLink;
    EXPECT_FALSE(viaLink.open(dir.file("link")));
    EXPECT_FALSE(viaLink.open(dir.file("link") + "/"));
    EXPECT_FALSE(viaLink.open(dir.file("link") + "\\"));
    FolderHandle notAFolder;
    EXPECT_FALSE(notAFolder.open(dir.file("source")));

    FolderHandle handle;
    ASSERT_TRUE(handle.open(folder));
    ASSERT_TRUE(handle.lock());
    // A second holder of the folder is kept out.
    FolderLock other;
    EXPECT_FALSE(other.lock(folder));

    // A link where the file goes is replaced, never written through.
    ASSERT_EQ(::symlink(dir.file("target").c_str(), (folder + "/setup.exe").c_str()), 0);
    ASSERT_TRUE(handle.writeNewFile("setup.exe", {FilePiece{dir.file("source")}}));
    EXPECT_EQ(slurp(dir.file("target")), "the author's");
    EXPECT_EQ(slurp(folder + "/setup.exe"), "new content");

    // The folder swapped for a link: the handle goes on into the old folder.
    ASSERT_EQ(::rename(folder.c_str(), dir.file("moved").c_str()), 0);
    ASSERT_TRUE(createFolder(dir.file("elsewhere")));
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), folder.c_str()), 0);
    ASSERT_TRUE(handle.writeNewFile("setup.0", {FilePiece{dir.file("source"), 4, 7}}));
    EXPECT_EQ(slurp(dir.file("moved/setup.0")), "content");
    EXPECT_TRUE(listFolder(dir.file("elsewhere")).empty());
    std::vector<std::string> names;
    for (const FolderEntry &e : handle.list())
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"setup.0", "setup.exe"}));
    EXPECT_TRUE(handle.removeFile("setup.0"));
    EXPECT_FALSE(fileExists(dir.file("moved/setup.0")));

    // Bare names only; a piece that can't be read leaves no file.
    EXPECT_FALSE(handle.writeNewFile("../escaped", {FilePiece{dir.file("source")}}));
    EXPECT_FALSE(fileExists(dir.file("escaped")));
    EXPECT_FALSE(handle.writeNewFile("part", {FilePiece{dir.file("source"), 0, 100}}));
    EXPECT_FALSE(fileExists(dir.file("moved/part")));
    EXPECT_FALSE(handle.removeFile("sub/x"));
}
