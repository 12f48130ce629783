#include "windowsnames.h"

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
