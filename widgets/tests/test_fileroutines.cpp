#include "fileroutines.h"

#include "files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace wharf {
namespace {

TEST(FileRoutinesTest, StripTrailingBackslashKeepsRootsAndRemovesOneSeparator)
{
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\Work\\", "C:\\Work"}, {"C:\\", "C:\\"}, {"c:/", "c:/"},       {"\\", "\\"},
        {"/", "/"},                 {"\\\\server\\share\\", "\\\\server\\share"},
        {"C:\\Work\\\\", "C:\\Work\\"}, {"/home/me/", "/home/me"}, {"C:\\Work", "C:\\Work"},
        {"", ""},                   {"1:\\", "1:"}, // only a letter makes a drive
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(StripTrailingBackslash(in), out) << in;
}

TEST(FileRoutinesTest, ValidFileNamesAndCharacterSets)
{
    // Windows-style paths keep that file system's rule; native names are
    // refused only for NUL.
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        {"", false},
        {"\"C:\\My Files\\a.txt\"", false},
        {"C:\\a<b", false}, {"c:a>b", false}, {"C:\\setup[1].exe", false}, {"\\\\srv\\a|b", false},
        {"dir\\a[1]", false},
        {"C:\\My Files\\a b.txt", true},
        {"/home/me/Übersicht (1).txt", true},
        {"a<b", true}, {"a>b", true}, {"a[1]", true}, {"a|b", true}, {"/tmp/x/setup[1].exe", true},
        {"\"quoted\"", true},
        {std::string("a\0b", 3), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsValidFileName(c.name), c.valid) << c.name;

    EXPECT_TRUE(ContainsAnyChar("Straße", "ß"));
    EXPECT_FALSE(ContainsAnyChar("Strasse", "ß")); // no byte of "ß" alone matches
    EXPECT_FALSE(ContainsAnyChar("abc", ""));
}

class DeleteMatchingFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"a.tmp", "b.tmp", ".hidden.tmp", "keep.txt"})
            ASSERT_TRUE(writeFile(m_scratch.file(name), "x"));
        ASSERT_TRUE(createFolder(m_scratch.file("dir.tmp")));
    }
    ScratchFolder m_scratch;
};

TEST_F(DeleteMatchingFilesTest, DeletesMatchingFilesButNotDotFilesOrFolders)
{
    EXPECT_TRUE(DeleteMatchingFiles(m_scratch.file("*.tmp")));
    EXPECT_FALSE(fileExists(m_scratch.file("a.tmp")));
    EXPECT_FALSE(fileExists(m_scratch.file("b.tmp")));
    EXPECT_TRUE(fileExists(m_scratch.file(".hidden.tmp")));
    EXPECT_TRUE(fileExists(m_scratch.file("keep.txt")));
    EXPECT_TRUE(folderExists(m_scratch.file("dir.tmp")));
}

TEST_F(DeleteMatchingFilesTest, FoldersOnlyGiveTrueAndNothingGivesFalse)
{
    EXPECT_TRUE(DeleteMatchingFiles(m_scratch.file("dir.*")));
    EXPECT_TRUE(folderExists(m_scratch.file("dir.tmp")));
    EXPECT_FALSE(DeleteMatchingFiles(m_scratch.file("*.none")));
    EXPECT_FALSE(DeleteMatchingFiles(m_scratch.file("missing/*.*")));
}

TEST_F(DeleteMatchingFilesTest, SingleFileNameWithWindowsSeparators)
{
    std::string mask = m_scratch.path() + "\\keep.txt";
    EXPECT_TRUE(DeleteMatchingFiles(mask));
    EXPECT_FALSE(fileExists(m_scratch.file("keep.txt")));
    EXPECT_TRUE(fileExists(m_scratch.file("a.tmp")));
}

TEST_F(DeleteMatchingFilesTest, FolderExistsAndLongNames)
{
    EXPECT_TRUE(FolderExists(m_scratch.path()));
    EXPECT_FALSE(FolderExists(m_scratch.file("keep.txt")));
    EXPECT_FALSE(FolderExists(m_scratch.file("missing")));

    EXPECT_EQ(ExpandToLongFileName(m_scratch.file("keep.txt")), "keep.txt");
    EXPECT_EQ(ExpandToLongFileName(m_scratch.file("dir.tmp")), "dir.tmp");
    EXPECT_EQ(ExpandToLongFileName(m_scratch.file("k*.t?t")), "keep.txt");
    EXPECT_EQ(ExpandToLongFileName(m_scratch.file("missing.txt")), "");
    EXPECT_EQ(ContractToShortFileName(m_scratch.file("keep.txt")), "keep.txt");
}

TEST(FileRoutinesTest, TempFolderPathEndsWithSeparator)
{
    const char *saved = std::getenv("TMPDIR");
    const std::string old = saved ? saved : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(TempFolderPath(), "/var/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(TempFolderPath(), "/tmp/");
    if (saved)
        ::setenv("TMPDIR", old.c_str(), 1);
}

TEST(FileRoutinesTest, MasksMatchLikeTheSystemsWildcards)
{
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.c"));
    EXPECT_TRUE(MatchesMask("ä.txt", "?.txt"));
    EXPECT_FALSE(MatchesMask("ab.txt", "?.txt"));
    EXPECT_FALSE(MatchesMask("A.TXT", "a.txt"));
}

} // namespace
} // namespace wharf
