#include "profile.h"

#include "files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wharf;

class ProfileTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string file = dir.file("t.ini");
};

TEST_F(ProfileTest, ReadsTrimmedUnquotedFirstMatches)
{
    ASSERT_TRUE(writeFile(file, "; comment\r\n[Sec]\r\n  Key  =  \"quoted value\"  \r\nkey=second\r\n"
                                "single='x'\r\nhalf=\"open\r\n[sec]\r\nOther=1\r\n"));
    EXPECT_EQ(profileReadString(file, "SEC", "key"), "quoted value");
    EXPECT_EQ(profileReadString(file, "sec", "single"), "x");
    EXPECT_EQ(profileReadString(file, "sec", "half"), "\"open");
    EXPECT_EQ(profileReadString(file, "sec", "Other"), std::nullopt); // only the first [sec] counts
    EXPECT_EQ(profileReadString(file, "nope", "key"), std::nullopt);
    EXPECT_EQ(profileReadString(dir.file("missing"), "a", "b"), std::nullopt);
    EXPECT_EQ(profileSections(file), (std::vector<std::string>{"Sec"}));
    EXPECT_EQ(profileKeys(file, "sec"), (std::vector<std::string>{"Key", "single", "half"}));
}

TEST_F(ProfileTest, LongValuesAreCut)
{
    ASSERT_TRUE(writeFile(file, "[a]\nk=" + std::string(3000, 'v') + "\n"));
    EXPECT_EQ(profileReadString(file, "a", "k")->size(), 2047u);
}

TEST_F(ProfileTest, WritesKeepTheRestOfTheFile)
{
    ASSERT_TRUE(writeFile(file, "; keep me\n[A]\nx=1\n\n[B]\ny=2\n"));
    ASSERT_TRUE(profileWriteString(file, "a", "X", "10"));
    ASSERT_TRUE(profileWriteString(file, "A", "z", "3"));
    ASSERT_TRUE(profileWriteString(file, "C", "w", "caf\u00E9"));
    EXPECT_EQ(readFile(file), "; keep me\n[A]\nX=10\nz=3\n\n[B]\ny=2\n\n[C]\nw=caf\xE9\n");
    ASSERT_TRUE(profileDeleteKey(file, "B", "y"));
    ASSERT_TRUE(profileEraseSection(file, "A"));
    EXPECT_EQ(readFile(file), "; keep me\n[B]\n\n[C]\nw=caf\xE9\n");
}

TEST_F(ProfileTest, NewFileAndFailures)
{
    ASSERT_TRUE(profileWriteString(file, "Autorun", "OPEN", "setup.exe"));
    EXPECT_EQ(readFile(file), "[Autorun]\r\nOPEN=setup.exe\r\n");
    EXPECT_FALSE(profileWriteString(dir.file("no/such/dir.ini"), "a", "b", "c"));
    EXPECT_FALSE(profileWriteString(file, "a", "b", "\u0416")); // no Windows-1252 form
    EXPECT_EQ(readFile(file), "[Autorun]\r\nOPEN=setup.exe\r\n");
}

// A settings file kept elsewhere and linked into place (a dotfile manager's
// way) is updated where it lies, like every other save.
TEST_F(ProfileTest, AWriteGoesThroughALinkToTheFileItNames)
{
    const std::string outside = dir.file("outside.ini");
    ASSERT_TRUE(writeFile(outside, "[Other]\r\nk=v\r\n"));
    ASSERT_EQ(::symlink(outside.c_str(), file.c_str()), 0);
    ASSERT_TRUE(profileWriteString(file, "Autorun", "OPEN", "setup.exe"));
    EXPECT_EQ(readFile(outside), "[Other]\r\nk=v\r\n\r\n[Autorun]\r\nOPEN=setup.exe\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(ProfileTest, Utf16FilesAreReadAndKept)
{
    std::string raw = "\xFF\xFE";
    for (char c : std::string("[R]\r\nk=v\r\n")) {
        raw += c;
        raw += '\0';
    }
    ASSERT_TRUE(writeFile(file, raw));
    EXPECT_EQ(profileReadString(file, "R", "k"), "v");
    ASSERT_TRUE(profileWriteString(file, "R", "k", "w"));
    EXPECT_EQ(readFile(file)->substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(profileReadString(file, "R", "k"), "w");
}
