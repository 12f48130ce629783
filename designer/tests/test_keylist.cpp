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
