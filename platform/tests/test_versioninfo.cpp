#include "versioninfo.h"

#include "files.h"
#include "peimage.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace wharf;

namespace {

std::string fixturePath(const std::string &name) { return std::string(WHARF_FIXTURE_DIR) + "/" + name; }

std::string programPath(const std::string &name)
{
    return wharf::testing::builtProgramFolder() + "/" + name;
}

} // namespace

TEST(VersionInfoTest, AnswersFromRealExecutables)
{
    struct Case {
        std::string path;
        bool valid;
        std::string description;
        std::string version;
    };
    const std::vector<Case> cases = {
        {programPath("setup.bin"), true, "Setup runtime placeholder", "2.0.0.0"},
        {fixturePath("pe64.exe"), true, "64-bit placeholder", "2.0.0.0"},
        // A text version is answered as it stands, not as the fixed numbers.
        {fixturePath("ver-beta.exe"), true, "B\u00EAta d\u00E9j\u00E0 \u20AC", "2.0 beta"},
        // No string FileVersion: the fixed version (the table key is lower case).
        {fixturePath("ver-fixed.exe"), true, "Fixed version fixture", "1.2.3.4"},
        // Values of the second translation are not found.
        {fixturePath("ver-second.exe"), true, "", "3.0.0.0"},
        {fixturePath("nores.exe"), false, "", ""},
        {fixturePath("four.ico"), false, "", ""},
        {fixturePath("missing.exe"), false, "", ""},
        {std::string(WHARF_FIXTURE_DIR), false, "", ""},
    };
    for (const Case &c : cases) {
        const TVersionInfo info(c.path);
        EXPECT_EQ(info.Valid(), c.valid) << c.path;
        EXPECT_EQ(info.FileDescriptionValue(), c.description) << c.path;
        EXPECT_EQ(info.FileVersionValue(), c.version) << c.path;
    }
}

TEST(VersionInfoTest, WindowsStylePath)
{
    std::string path = fixturePath("ver-beta.exe");
    std::replace(path.begin(), path.end(), '/', '\\');
    EXPECT_EQ(TVersionInfo(path).FileVersionValue(), "2.0 beta");
}

// Damaged version resources are read within their bounds and never hang.
TEST(VersionInfoTest, DamagedVersionResource)
{
    ScratchFolder scratch;
    const std::string original = readFile(fixturePath("ver-beta.exe")).value();
    const PeImage image({reinterpret_cast<const uint8_t *>(original.data()), original.size()});
    const auto tree = image.resourceTree();
    ASSERT_TRUE(tree);
    const ResourceNode *leaf = PeImage::findResource(*tree, kResTypeVersion, 1);
    ASSERT_NE(leaf, nullptr);
    const uint32_t at = image.rvaToOffset(leaf->dataRva, leaf->dataSize).value();
    const std::string key = std::string("F\0i\0l\0e\0V\0e\0r\0s\0i\0o\0n\0", 22);
    const std::size_t fileVersionKey = original.find(key, at);
    ASSERT_NE(fileVersionKey, std::string::npos);

    struct Case {
        const char *what;
        std::size_t offset;
        uint16_t value;
        bool valid;
        std::string version;
    };
    const std::vector<Case> cases = {
        {"root longer than the resource", at, 0xFFFF, false, ""},
        {"root shorter than its header", at, 4, false, ""},
        {"string block of length zero", fileVersionKey - 6, 0, true, "1.0.0.0"},
        {"string block longer than its table", fileVersionKey - 6, 0x7FFF, true, "1.0.0.0"},
        {"fixed part smaller than it must be", at + 2, 10, true, ""},
    };
    for (const Case &c : cases) {
        std::string file = original;
        writeLe16(reinterpret_cast<uint8_t *>(file.data()) + c.offset, c.value);
        const std::string path = scratch.file("damaged.exe");
        ASSERT_TRUE(writeFile(path, file));
        const TVersionInfo info(path);
        EXPECT_EQ(info.Valid(), c.valid) << c.what;
        EXPECT_EQ(info.FileVersionValue(), c.version) << c.what;
    }
}
