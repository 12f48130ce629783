#include "registrytree.h"

#include <gtest/gtest.h>

using namespace wharf;

namespace {

RegistryEntry keyRecord(bool uninstall)
{
    RegistryEntry record;
    record.IsKey = true;
    record.Uninstall = uninstall;
    return record;
}

RegistryEntry valueRecord(const std::string &data)
{
    RegistryEntry record;
    record.Data = data;
    return record;
}

std::vector<RegistryNode> &hklm(RegistryTree &tree)
{
    return tree.roots()[2].Children;
}

} // namespace

TEST(RegistryTreeTest, KeysAreAddedOnceAndMergedWithoutRegardToCase)
{
    RegistryTree tree;
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "Software\\Test", valueRecord("{emp}"),
                                 keyRecord(true), "{emp}"));
    ASSERT_EQ(hklm(tree).size(), 1u);
    RegistryNode &software = hklm(tree)[0];
    EXPECT_EQ(software.Text, "Software");
    EXPECT_EQ(software.Entry, intermediateKeyRecord());
    ASSERT_EQ(software.Children.size(), 1u);
    EXPECT_EQ(software.Children[0].Text, "Test");
    EXPECT_TRUE(software.Children[0].Entry.Uninstall);
    EXPECT_TRUE(software.Children[0].Children.empty());  // both "{emp}": no value

    // "software" is the existing key; it keeps its record, the new last key
    // gets the given one, and the value goes below it.
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "software\\Other\\", valueRecord("x"), keyRecord(false),
                                 "Name"));
    ASSERT_EQ(hklm(tree).size(), 1u);
    EXPECT_EQ(software.Entry, intermediateKeyRecord());
    ASSERT_EQ(software.Children.size(), 2u);
    const RegistryNode &other = software.Children[1];
    EXPECT_EQ(other.Text, "Other");
    ASSERT_EQ(other.Children.size(), 1u);  // the trailing "\" adds no empty key
    EXPECT_FALSE(other.Children[0].isKey());
    EXPECT_EQ(other.Children[0].Text, "Name");
    EXPECT_EQ(other.Children[0].Entry.Data, "x");

    // An existing key on the path takes the new record only when it is last.
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "SOFTWARE", valueRecord("{emp}"), keyRecord(true),
                                 "{emp}"));
    EXPECT_TRUE(software.Entry.Uninstall);
    EXPECT_EQ(software.Children.size(), 2u);
}

TEST(RegistryTreeTest, WhatAnExistingLastKeyTakes)
{
    // The last key exists with Uninstall set and a mask of its own; the
    // added record clears Uninstall and has every system. One path at a time
    // and many through one inserter give the same tree.
    RegistryEntry flagged = keyRecord(true);
    flagged.TargetSystems = 63;
    const struct {
        ExistingKey existing;
        bool uninstall;
        int32_t mask;
    } cases[] = {
        {ExistingKey::Replace, false, kAllTargetSystems},
        {ExistingKey::KeepMask, false, 63},
        {ExistingKey::Keep, true, 63},
    };
    for (const auto &c : cases) {
        RegistryTree one;
        RegistryTree many;
        for (RegistryTree *tree : {&one, &many})
            ASSERT_TRUE(addRegistryPath(*tree, "HKEY_LOCAL_MACHINE", "A\\B", flagged, false, valueRecord("v"), "N"));
        RegistryInserter inserter(many);
        for (const char *path : {"a\\b", "A\\C", "A\\b", "A\\b"}) {
            ASSERT_TRUE(addRegistryPath(one, "HKEY_LOCAL_MACHINE", path, keyRecord(false), true, valueRecord("v"),
                                        "N", c.existing));
            ASSERT_TRUE(inserter.add("HKEY_LOCAL_MACHINE", path, keyRecord(false), true, valueRecord("v"), "N",
                                     c.existing));
        }
        EXPECT_TRUE(one == many) << static_cast<int>(c.existing);
        const RegistryNode &b = hklm(one)[0].Children[0];
        EXPECT_EQ(b.Entry.Uninstall, c.uninstall) << static_cast<int>(c.existing);
        EXPECT_EQ(b.Entry.TargetSystems, c.mask) << static_cast<int>(c.existing);
        EXPECT_EQ(b.Children.size(), 3u);  // every value, names are not checked
    }
}

TEST(RegistryTreeTest, ValuesBelowRootsAndTheDefaultValue)
{
    RegistryTree tree;
    // No path: the value goes right below the root.
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_CURRENT_USER", "{emp}", valueRecord("1"), keyRecord(true), "Top"));
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_CURRENT_USER", "", valueRecord("2"), keyRecord(true), "Second"));
    ASSERT_EQ(tree.roots()[1].Children.size(), 2u);
    EXPECT_EQ(tree.roots()[1].Children[0].Text, "Top");
    EXPECT_EQ(tree.roots()[1].Children[1].Entry.Data, "2");

    // The default value with empty data is still added when asked for.
    ASSERT_TRUE(addRegistryPath(tree, "HKEY_CURRENT_USER", "Key", keyRecord(false), true, valueRecord("{emp}"),
                                "{emp}"));
    const RegistryNode &key = tree.roots()[1].Children[2];
    ASSERT_EQ(key.Children.size(), 1u);
    EXPECT_EQ(key.Children[0].Text, "{emp}");
    EXPECT_EQ(key.Children[0].Entry.Data, "{emp}");

    // The same value twice is added twice; names are not checked.
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_CURRENT_USER", "Key", valueRecord("a"), keyRecord(false), "V"));
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_CURRENT_USER", "Key", valueRecord("a"), keyRecord(false), "V"));
    EXPECT_EQ(key.Children.size(), 3u);
}

TEST(RegistryTreeTest, OnlyTheSixRootsAndOnlyKeysOnThePath)
{
    RegistryTree tree;
    EXPECT_FALSE(AddRegistryEntry(tree, "HKEY_NOWHERE", "A", valueRecord("x"), keyRecord(false), "V"));
    EXPECT_FALSE(AddRegistryEntry(tree, "", "A", valueRecord("x"), keyRecord(false), "V"));
    EXPECT_FALSE(tree.hasEntries());

    EXPECT_TRUE(AddRegistryEntry(tree, "hkey_local_machine", "A", valueRecord("x"), keyRecord(false), "V"));
    ASSERT_EQ(hklm(tree).size(), 1u);

    // A value named like a key on the path is not that key.
    EXPECT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "", valueRecord("x"), keyRecord(false), "B"));
    EXPECT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "B\\C", valueRecord("y"), keyRecord(false), "W"));
    ASSERT_EQ(hklm(tree).size(), 3u);
    EXPECT_FALSE(hklm(tree)[1].isKey());
    EXPECT_TRUE(hklm(tree)[1].Children.empty());
    EXPECT_TRUE(hklm(tree)[2].isKey());
    EXPECT_EQ(hklm(tree)[2].Text, "B");
    EXPECT_EQ(hklm(tree)[2].Children[0].Text, "C");
}

TEST(RegistryTreeTest, PathsFindAndRemoveNodes)
{
    RegistryTree tree;
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "A\\B", valueRecord("x"), keyRecord(false), "V"));
    ASSERT_TRUE(AddRegistryEntry(tree, "HKEY_LOCAL_MACHINE", "A", valueRecord("y"), keyRecord(false), "b"));

    EXPECT_EQ(findRegistryNode(tree, {2, 0, 0, 0})->Text, "V");
    EXPECT_EQ(findRegistryNode(tree, {2, 0, 1})->Text, "b");
    EXPECT_EQ(findRegistryNode(tree, {2}), nullptr);          // a root has no record
    EXPECT_EQ(findRegistryNode(tree, {2, 0, 1, 0}), nullptr);  // nothing below a value
    EXPECT_EQ(findRegistryNode(tree, {6, 0}), nullptr);
    EXPECT_EQ(findRegistryNode(tree, {2, 3}), nullptr);
    EXPECT_EQ(registryChildren(tree, {2}), &hklm(tree));
    EXPECT_EQ(registryChildren(tree, {2, 0, 1}), nullptr);
    EXPECT_EQ(registryChildren(tree, {}), nullptr);

    // Names are unique per kind only: key "B" and value "b" live side by side.
    const std::vector<RegistryNode> &a = hklm(tree)[0].Children;
    EXPECT_EQ(findRegistrySibling(a, "B", false), 1);
    EXPECT_EQ(findRegistrySibling(a, "b", true), 0);
    EXPECT_EQ(findRegistrySibling(a, "B", true, 0), -1);

    EXPECT_FALSE(removeRegistryNode(tree, {2}));
    EXPECT_TRUE(removeRegistryNode(tree, {2, 0, 0}));  // the key with its value
    ASSERT_EQ(hklm(tree)[0].Children.size(), 1u);
    EXPECT_EQ(hklm(tree)[0].Children[0].Text, "b");
}

TEST(RegistryTreeTest, DwordTexts)
{
    const struct {
        const char *text;
        std::optional<uint32_t> value;
    } cases[] = {
        {"$0000001F", 31u},     {"$ffffffff", 0xFFFFFFFFu}, {"0x10", 16u},     {"255", 255u},
        {" 42 ", 42u},          {"4294967295", 0xFFFFFFFFu}, {"-1", 0xFFFFFFFFu}, {"-2147483648", 0x80000000u},
        {"+7", 7u},             {"4294967296", std::nullopt}, {"$100000000", std::nullopt},
        {"-2147483649", std::nullopt}, {"", std::nullopt},  {"$", std::nullopt}, {"12a", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseDwordText(c.text), c.value) << c.text;
    EXPECT_EQ(dwordValue("nonsense"), 0u);
    EXPECT_EQ(dwordText(256), "$00000100");
    EXPECT_EQ(dwordText(0xFFFFFFFFu), "$FFFFFFFF");
}
