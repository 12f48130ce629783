#include "keylist.h"

#include <gtest/gtest.h>

using namespace wharf;

TEST(KeyListTest, ReadsOnlyItsOwnSection)
{
    const TStringList keys = {"[Controls]", "Left=5", ";Top=1", "", "left=6", "Top= 7 ", "[Other]", "Width=9"};
    EXPECT_EQ(keyListValue(keys, "LEFT"), "5");
    EXPECT_EQ(keyListValue(keys, "Top"), " 7 ");
    EXPECT_EQ(keyListValue(keys, "Width"), std::nullopt);
    EXPECT_EQ(keyListInteger(keys, "Top", -1), -1); // blanks make it no integer
    EXPECT_EQ(keyListInteger(keys, "Left", -1), 5);
    EXPECT_EQ(keyListInteger(keys, "Height", 3), 3);
}

TEST(KeyListTest, WritesReplaceInPlaceOrAdd)
{
    TStringList keys = {"[Controls]", "Type=2", "width=10", "Unknown", "Width=11", ""};
    setKeyListValue(keys, "Width", "20");
    setKeyListValue(keys, "Left", "3");
    // Replaced at its first place; added behind the last real line, so the
    // closing empty line stays last.
    EXPECT_EQ(keys, (TStringList{"[Controls]", "Type=2", "Width=20", "Unknown", "Width=11", "Left=3", ""}));

    TStringList bare;
    setKeyListValue(bare, "Top", "1");
    EXPECT_EQ(bare, (TStringList{"[Controls]", "Top=1"}));
    EXPECT_EQ(withKeyListHeader({"[Controls]", "A=1"}), (TStringList{"[Controls]", "A=1"}));
}

TEST(KeyListTest, StoreSectionOperations)
{
    TStringList keys = {"[Controls]", "A=1", "B", "C=3"};
    TKeyListStore store(keys);
    TStringList names;
    store.ReadSection("controls", names);
    EXPECT_EQ(names, (TStringList{"A", "B", "C"}));
    store.DeleteKey("Controls", "a");
    EXPECT_EQ(keys, (TStringList{"[Controls]", "B", "C=3"}));
    store.EraseSection("Controls");
    EXPECT_TRUE(keys.empty());
}

// One store kept alive over many writes answers as a fresh scan of the list
// does, across sections, duplicate sections and closing empty lines.
TEST(KeyListTest, LongLivedStoreAgreesWithTheList)
{
    TStringList keys = {"[Controls]", "A=1", "", "[Other]", "A=2", "[controls]", "B=3", ""};
    TKeyListStore store(keys);
    const auto agrees = [&](std::string_view section, std::string_view key) {
        TKeyListStore fresh(keys);
        return store.ReadString(section, key, "-") == fresh.ReadString(section, key, "-");
    };
    for (int i = 0; i < 50; ++i) {
        const std::string k = "K" + std::to_string(i % 7);
        const char *section = i % 3 == 0 ? "Other" : i % 5 == 0 ? "New" : "Controls";
        store.WriteString(section, k, std::to_string(i));
        if (i % 11 == 0)
            store.DeleteKey("Controls", "A");
        for (const char *s : {"Controls", "Other", "New"})
            for (const char *key : {"A", "B", "K0", "K3", "K6"})
                ASSERT_TRUE(agrees(s, key)) << i << " " << s << " " << key;
    }
    // The first section of a name holds the keys.
    EXPECT_EQ(store.ReadString("Controls", "B", "-"), "-");
    store.WriteString("Extra", "X", "1");
    EXPECT_EQ(store.ReadString("extra", "x", "-"), "1");
    EXPECT_EQ(TKeyListStore(keys).ReadString("extra", "x", "-"), "1");
}
