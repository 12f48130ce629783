#include "inistore.h"

#include "files.h"

#include <gtest/gtest.h>

using namespace wharf;

class IniStoreTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string file = dir.file("p.wfp");

    TMemIniStore load(const std::string &text, bool keepQuotes = false)
    {
        EXPECT_TRUE(writeFile(file, text));
        return TMemIniStore(file, keepQuotes);
    }
};

TEST_F(IniStoreTest, QuoteRule)
{
    auto ini = load("[S]\n"
                    "a=\"C:\\Program Files\\x\"\n"
                    "b=\"\"\n"
                    "c=\"a\"b\"\n"
                    "d=\"open\n"
                    "e=\"\n"
                    "f=\n");
    EXPECT_EQ(ini.ReadString("S", "a", "-"), "C:\\Program Files\\x");
    EXPECT_EQ(ini.ReadString("S", "b", "-"), "");
    EXPECT_EQ(ini.ReadString("S", "c", "-"), "a\"b");
    EXPECT_EQ(ini.ReadString("S", "d", "-"), "\"open");
    EXPECT_EQ(ini.ReadString("S", "e", "-"), "");
    EXPECT_EQ(ini.ReadString("S", "f", "-"), "");  // present but empty: not the default
    EXPECT_EQ(ini.ReadString("S", "g", "-"), "-");

    auto kept = load("[S]\na=\"x\"\n", true);
    EXPECT_EQ(kept.ReadString("S", "a", ""), "\"x\"");
}

TEST_F(IniStoreTest, Integers)
{
    struct Case {
        const char *text;
        int32_t expected;
    } cases[] = {
        {"0x1F", 31}, {"0X10", 16}, {"$10", 16}, {"0x", -7}, {"12abc", -7}, {"", -7},
        {"-12", -12}, {"+5", 5}, {"2147483647", 2147483647}, {"2147483648", -7},
        {"0xFFFFFFFF", -1}, {"4194304", 4194304}, {"true", -7},
    };
    TMemIniStore ini("");
    for (const Case &c : cases) {
        ini.WriteString("S", "k", c.text);
        EXPECT_EQ(ini.ReadInteger("S", "k", -7), c.expected) << c.text;
    }
    ini.WriteInteger("S", "k", -42);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "-42");
}

TEST_F(IniStoreTest, Booleans)
{
    TMemIniStore ini("");
    ini.WriteString("S", "two", "2");
    ini.WriteString("S", "zero", "0");
    ini.WriteString("S", "word", "true");
    EXPECT_TRUE(ini.ReadBool("S", "two", false));
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
    EXPECT_TRUE(ini.ReadBool("S", "word", true));
    ini.WriteBool("S", "b", true);
    EXPECT_EQ(ini.ReadString("S", "b", ""), "1");
}

TEST_F(IniStoreTest, LinesAreKeptExactly)
{
    auto ini = load("before header\n[A]\nKey = value\n;comment\nnoequals\n\n[]\nx=1\n");
    EXPECT_EQ(ini.ReadString("A", "Key ", ""), " value");
    EXPECT_EQ(ini.ReadString("A", "Key", "-"), "-");
    EXPECT_EQ(ini.ReadString("", "x", ""), "1");
    TStringList keys;
    ini.ReadSection("A", keys);
    EXPECT_EQ(keys, (TStringList{"Key ", ""}));
    TStringList values;
    ini.ReadSectionValues("A", values);
    EXPECT_EQ(values, (TStringList{"Key = value", "noequals"}));
}

TEST_F(IniStoreTest, DuplicateSectionsAndSaveFormat)
{
    auto ini = load("[General]\r\nAppName=One\r\n[general]\r\nAppName=Two\r\nOnly=2\r\n");
    EXPECT_EQ(ini.ReadString("GENERAL", "appname", ""), "One");
    EXPECT_EQ(ini.ReadString("General", "Only", "-"), "-");
    ini.WriteString("general", "New", "\"q\"");
    ini.UpdateFile();
    EXPECT_EQ(readFile(file), "[General]\r\nAppName=One\r\nNew=\"q\"\r\n\r\n"
                              "[general]\r\nAppName=Two\r\nOnly=2\r\n\r\n");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (TStringList{"General", "general"}));
}

TEST_F(IniStoreTest, EditingOperations)
{
    auto ini = load("[A]\nk1=1\nk2=2\nk1=dup\n[B]\nx=1\n");
    ini.DeleteKey("a", "K1");
    EXPECT_EQ(ini.ReadString("A", "k1", ""), "dup");
    ini.WriteString("A", "k2", "22");
    EXPECT_EQ(ini.ReadString("A", "k2", ""), "22");
    ini.EraseSection("b");
    EXPECT_FALSE(ini.SectionExists("B"));
    ini.DeleteKey("missing", "x");
    ini.EraseSection("missing");
    ini.WriteString("C", "k", "v");
    TStringList lines;
    ini.ReadSectionValues("A", lines);
    EXPECT_EQ(lines, (TStringList{"k2=22", "k1=dup"}));
    EXPECT_EQ(ini.ReadString("c", "K", ""), "v");
}

TEST_F(IniStoreTest, EightBitTextRoundTrips)
{
    // A project written on Windows: names with Windows-1252 letters.
    auto ini = load("[Files]\r\n0=\"C:\\Programme\\M\xFCller \x80.txt\"\r\n");
    EXPECT_EQ(ini.ReadString("files", "0", ""), "C:\\Programme\\M\u00FCller \u20AC.txt");
    ini.UpdateFile();
    EXPECT_EQ(readFile(file), "[Files]\r\n0=\"C:\\Programme\\M\xFCller \x80.txt\"\r\n\r\n");
    // Text with no Windows-1252 form is refused and the file stays intact.
    ini.WriteString("Files", "1", "\u0416");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    EXPECT_EQ(readFile(file), "[Files]\r\n0=\"C:\\Programme\\M\xFCller \x80.txt\"\r\n\r\n");
}

TEST_F(IniStoreTest, UnwritableFileRaises)
{
    TMemIniStore ini(dir.file("no/such/folder/x.ini"));
    ini.WriteString("a", "b", "c");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
}

TEST_F(IniStoreTest, ProfileStore)
{
    ASSERT_TRUE(writeFile(file, "[S]\nk= \"v\" \nempty=\nx=1\n"));
    TProfileIniFile ini(file);
    EXPECT_EQ(ini.ReadString("s", "K", "-"), "v");
    EXPECT_EQ(ini.ReadString("s", "none", "-"), "-");
    EXPECT_EQ(ini.ReadInteger("S", "x", 0), 1);
    TStringList list{"keep=1", "x=old", "empty=old"};
    ini.ReadSectionValues("S", list);
    EXPECT_EQ(list, (TStringList{"keep=1", "x=1", "k=v"}));
    ini.WriteString("T", "a", "b");
    EXPECT_EQ(TProfileIniFile(file).ReadString("T", "a", ""), "b");
    TProfileIniFile bad(dir.file("no/such.ini"));
    try {
        bad.WriteString("a", "b", "c");
        FAIL() << "no exception";
    } catch (const EIniFileException &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.file("no/such.ini") + ": No such file or directory");
    }
}

TEST_F(IniStoreTest, LookUpsStayRightWhileLinesAndSectionsAreAdded)
{
    // Reads between writes keep the index in use; every added line and
    // section must land in it without disturbing the first match.
    auto ini = load("[Dup]\nk=first\n[dup]\nk=second\nother=x\n[S]\nKey=1\nkey=2\n");
    EXPECT_EQ(ini.ReadString("S", "KEY", ""), "1");
    ini.WriteString("S", "new", "a");
    EXPECT_EQ(ini.ReadString("S", "NEW", ""), "a");
    ini.WriteString("s", "KEY", "3"); // replaces the first of the two lines
    ini.WriteString("DUP", "other", "y");  // goes to the first [Dup], which has no such key yet
    EXPECT_EQ(ini.ReadString("dup", "other", ""), "y");
    ini.WriteString("Fresh", "a", "1");
    EXPECT_TRUE(ini.SectionExists("FRESH"));
    ini.WriteString("Fresh", "b", "2");
    ini.WriteString("FRESH", "a", "3");
    EXPECT_EQ(ini.ReadString("fresh", "a", ""), "3");
    ini.DeleteKey("S", "key"); // the first line goes, the second is found now
    EXPECT_EQ(ini.ReadString("S", "key", ""), "2");
    ini.WriteString("S", "after", "z");
    EXPECT_EQ(ini.ReadString("S", "after", ""), "z");
    EXPECT_EQ(ini.SaveToBytes(), "[Dup]\r\nk=first\r\nother=y\r\n\r\n[dup]\r\nk=second\r\nother=x\r\n\r\n"
                                 "[S]\r\nkey=2\r\nnew=a\r\nafter=z\r\n\r\n[Fresh]\r\na=3\r\nb=2\r\n\r\n");
}

TEST_F(IniStoreTest, AppendedKeysGoOnlyIntoSectionsTheAppendsMade)
{
    auto ini = load("[Old]\nk=1\n");
    // A section read from the file takes the append as a write.
    ini.AppendNewKey("old", "K", "2");
    EXPECT_EQ(ini.ReadString("Old", "k", ""), "2");
    // A section the appends make gets the lines in order, found afterwards.
    ini.AppendNewKey("New", "0", "a");
    ini.AppendNewKey("NEW", "1", "b");
    EXPECT_EQ(ini.ReadString("new", "1", ""), "b");
    // Once written another way it is an ordinary section again.
    ini.WriteString("New", "0", "c");
    ini.AppendNewKey("New", "1", "d");
    EXPECT_EQ(ini.SaveToBytes(), "[Old]\r\nK=2\r\n\r\n[New]\r\n0=c\r\n1=d\r\n\r\n");
}
