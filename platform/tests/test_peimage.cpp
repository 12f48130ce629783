#include "peimage.h"

#include "files.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace wharf;

namespace {

std::string fixture(const std::string &name)
{
    auto data = readFile(std::string(WHARF_FIXTURE_DIR) + "/" + name);
    EXPECT_TRUE(data) << name;
    return data.value_or(std::string());
}

std::string programFile(const std::string &name)
{
    auto data = readFile(wharf::testing::builtProgramFolder() + "/" + name);
    EXPECT_TRUE(data) << name;
    return data.value_or(std::string());
}

std::span<const uint8_t> bytesOf(const std::string &s)
{
    return {reinterpret_cast<const uint8_t *>(s.data()), s.size()};
}

uint8_t *mutableBytes(std::string &s) { return reinterpret_cast<uint8_t *>(s.data()); }

std::vector<std::string> sectionNames(const PeImage &image)
{
    std::vector<std::string> names;
    for (const PeSection &s : image.sections())
        names.push_back(s.name);
    return names;
}

// File offset of the resource directory's root.
uint32_t resourceRootOffset(const std::string &file)
{
    const PeImage image(bytesOf(file));
    return image.rvaToOffset(image.dataDirectory(kDirResource).virtualAddress, 16).value_or(0);
}

} // namespace

TEST(PeImageTest, ReadsThe32BitStub)
{
    const std::string file = programFile("setup.bin");
    const PeImage image(bytesOf(file));
    ASSERT_TRUE(image.valid());
    EXPECT_FALSE(image.is64());
    EXPECT_EQ(image.machine(), 0x14C);
    EXPECT_EQ(image.fileAlignment(), 0x200u);
    EXPECT_EQ(image.sectionAlignment(), 0x1000u);

    // The resource section is followed by the debug directory and the
    // relocations, which is what the resource updater's moves are tested on.
    const auto names = sectionNames(image);
    const auto rsrc = std::find(names.begin(), names.end(), ".rsrc");
    ASSERT_NE(rsrc, names.end());
    ASSERT_GE(names.end() - rsrc, 3);
    EXPECT_EQ(rsrc[1], ".buildid");
    EXPECT_EQ(rsrc[2], ".reloc");
    const PeSection &resourceSection = image.sections()[static_cast<std::size_t>(rsrc - names.begin())];
    EXPECT_EQ(image.dataDirectory(kDirResource).virtualAddress, resourceSection.virtualAddress);
    EXPECT_EQ(image.sectionAt(image.dataDirectory(kDirDebug).virtualAddress)->name, ".buildid");

    const auto imports = image.importedModules();
    EXPECT_NE(std::find(imports.begin(), imports.end(), "USER32.dll"), imports.end());
    EXPECT_NE(std::find(imports.begin(), imports.end(), "KERNEL32.dll"), imports.end());
}

TEST(PeImageTest, ResourceTreeOf32And64BitImages)
{
    for (const std::string &file : {programFile("setup.bin"), fixture("pe64.exe")}) {
        const PeImage image(bytesOf(file));
        ASSERT_TRUE(image.valid());
        const auto tree = image.resourceTree();
        ASSERT_TRUE(tree);
        const ResourceNode *group = PeImage::findResource(*tree, kResTypeIconGroup, "MAINICON");
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(PeImage::findResource(*tree, kResTypeIconGroup, "MAINICON", 1033), group);
        EXPECT_EQ(PeImage::findResource(*tree, kResTypeIconGroup, "MAINICON", 7), nullptr);
        const auto groupData = image.resourceData(*group);
        ASSERT_TRUE(groupData);
        ASSERT_EQ(groupData->size(), 6u + 14 * 2);
        EXPECT_EQ(readLe16(groupData->data() + 4), 2);
        // Every icon the group names is there with the size it gives.
        for (int i = 0; i < 2; ++i) {
            const uint8_t *entry = groupData->data() + 6 + 14 * i;
            const ResourceNode *icon = PeImage::findResource(*tree, kResTypeIcon, readLe16(entry + 12));
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->dataSize, readLe32(entry + 8));
        }
        EXPECT_NE(PeImage::findResource(*tree, kResTypeVersion, 1), nullptr);
        EXPECT_EQ(tree->child(kResTypeIconGroup)->child("MAINICON")->id.text(), "MAINICON");
    }
    const std::string pe64 = fixture("pe64.exe");
    EXPECT_TRUE(PeImage(bytesOf(pe64)).is64());
}

TEST(PeImageTest, ImageWithoutResources)
{
    const std::string file = fixture("nores.exe");
    const PeImage image(bytesOf(file));
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.dataDirectory(kDirResource).virtualAddress, 0u);
    EXPECT_FALSE(image.resourceTree());
}

TEST(PeImageTest, NotAnImage)
{
    for (const std::string &text : {std::string(), std::string("MZ"), std::string(4096, 'M'),
                                   std::string("MZ") + std::string(200, '\0')}) {
        const PeImage image(bytesOf(text));
        EXPECT_FALSE(image.valid());
        EXPECT_FALSE(image.resourceTree());
        EXPECT_TRUE(image.importedModules().empty());
    }
    std::string file = programFile("setup.bin");
    writeLe32(mutableBytes(file) + 0x3C, 0x7FFFFFF0); // header offset past the end
    EXPECT_FALSE(PeImage(bytesOf(file)).valid());
}

// Every prefix of a real image reads without touching bytes beyond it.
TEST(PeImageTest, TruncatedImagesStayInBounds)
{
    const std::string full = programFile("selfext.bin");
    for (std::size_t length = 0; length <= full.size(); length += 97) {
        const std::string cut = full.substr(0, length);
        const PeImage image(bytesOf(cut));
        const auto tree = image.resourceTree();
        if (tree) {
            EXPECT_TRUE(PeImage::findResource(*tree, kResTypeRcData, "LOADER_SIZE"));
        }
        image.importedModules();
        image.bytesAt(0x1000, 0xFFFFFFFF);
    }
}

// Damaged resource directories give no tree at all.
TEST(PeImageTest, InconsistentResourceTrees)
{
    const std::string original = programFile("setup.bin");
    const uint32_t root = resourceRootOffset(original);
    ASSERT_NE(root, 0u);
    const PeImage clean(bytesOf(original));
    const auto tree = clean.resourceTree();
    ASSERT_TRUE(tree);

    struct Case {
        const char *what;
        std::function<void(uint8_t *)> damage;
    };
    const std::vector<Case> cases = {
        {"the first type entry points back at the root (a loop)",
         [&](uint8_t *p) { writeLe32(p + root + 16 + 4, 0x80000000u); }},
        {"the first type entry points outside the section",
         [&](uint8_t *p) { writeLe32(p + root + 16 + 4, 0x80FFFFF0u); }},
        {"the root claims more entries than the section holds",
         [&](uint8_t *p) { writeLe16(p + root + 14, 0xFFFF); }},
        {"a type directory sits at the language level (too deep)",
         [&](uint8_t *p) {
             // Follow type -> name, then make the language entry point to
             // the root directory again.
             const uint32_t typeDir = readLe32(p + root + 16 + 4) & 0x7FFFFFFF;
             const uint32_t nameDir = readLe32(p + root + typeDir + 16 + 4) & 0x7FFFFFFF;
             writeLe32(p + root + nameDir + 16 + 4, 0x80000000u | typeDir);
         }},
        {"a data entry at the name level",
         [&](uint8_t *p) {
             const uint32_t typeDir = readLe32(p + root + 16 + 4) & 0x7FFFFFFF;
             writeLe32(p + root + typeDir + 16 + 4, 0);
         }},
        {"a data entry whose data runs past the image",
         [&](uint8_t *p) {
             const uint32_t typeDir = readLe32(p + root + 16 + 4) & 0x7FFFFFFF;
             const uint32_t nameDir = readLe32(p + root + typeDir + 16 + 4) & 0x7FFFFFFF;
             const uint32_t leaf = readLe32(p + root + nameDir + 16 + 4);
             writeLe32(p + root + leaf + 4, 0x7FFFFFFF);
         }},
        {"a name whose length runs past the section",
         [&](uint8_t *p) {
             // The icon group's name entry is the first named entry.
             for (uint32_t e = 0;; ++e) {
                 const uint32_t typeDir = readLe32(p + root + 16 + 8 * e + 4) & 0x7FFFFFFF;
                 if (readLe16(p + root + typeDir + 12) > 0) {
                     const uint32_t name = readLe32(p + root + typeDir + 16) & 0x7FFFFFFF;
                     writeLe16(p + root + name, 0xFFFF);
                     return;
                 }
             }
         }},
    };
    for (const Case &c : cases) {
        std::string file = original;
        c.damage(mutableBytes(file));
        EXPECT_FALSE(PeImage(bytesOf(file)).resourceTree()) << c.what;
    }
}
