#include "ownfiles.h"

#include "files.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace wharf {
namespace {

std::string fixture(const std::string &name) { return std::string(WHARF_FIXTURE_DIR) + "/" + name; }

std::string programFile(const std::string &name)
{
    return wharf::testing::builtProgramFolder() + "/" + name;
}

TEST(BuildLabelTest, DropsTheFirstTwoParts)
{
    const std::pair<const char *, const char *> cases[] = {
        {"2.0.1.14", "(Build 1.14)"}, {"1.2.3.4.5", "(Build 3.4.5)"}, {"2.0", "(Build 0)"},
        {"2", "(Build 2)"},           {"", "(Build )"},
    };
    for (const auto &[version, label] : cases)
        EXPECT_EQ(buildLabel(version), label) << version;
    EXPECT_EQ(buildLabel(buildFileVersion()), "(Build 1.14)");
}

TEST(OperatingSystemLineTest, NamesTheSystemAndItsKernel)
{
    const std::pair<const char *, const char *> cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm) (Kernel 6.1.0-18-amd64)"},
        {"NAME=Fedora\r\nVERSION_ID=40\r\n", "Fedora (Kernel 6.1.0-18-amd64)"},
        {"PRETTY_NAME='Arch Linux'\n", "Arch Linux (Kernel 6.1.0-18-amd64)"},
        {"PRETTY_NAME=\"Say \\\"hi\\\"\"\n", "Say \"hi\" (Kernel 6.1.0-18-amd64)"},
        {"PRETTY_NAMES=x\nPRETTY_NAME=\n", "Linux (Kernel 6.1.0-18-amd64)"},
        {"", "Linux (Kernel 6.1.0-18-amd64)"},
    };
    for (const auto &[text, line] : cases)
        EXPECT_EQ(operatingSystemLine(text, "6.1.0-18-amd64"), line) << text;
    EXPECT_NE(operatingSystemLine().find(" (Kernel "), std::string::npos);
}

TEST(OwnFileVersionTest, ReadsVersionResourcesAndGivesOurOwnProgramsTheBuildsVersion)
{
    EXPECT_EQ(ownFileVersion(programFile("setup.bin")), (FileVersionText{"Setup runtime placeholder", "2.0.0.0"}));
    EXPECT_EQ(ownFileVersion(fixture("ver-fixed.exe")), (FileVersionText{"Fixed version fixture", "1.2.3.4"}));
    EXPECT_EQ(ownFileVersion(fixture("nores.exe")), FileVersionText{});
    EXPECT_EQ(ownFileVersion(programFile("Wharfspeak.exe")), FileVersionText{});

    ScratchFolder scratch;
    for (const char *name : {"wharfwright", "libwharfforge.so", "other.wfc"})
        ASSERT_TRUE(writeFile(scratch.file(name), "\x7f" "ELF built here"));
    EXPECT_EQ(ownFileVersion(scratch.file("wharfwright")),
              (FileVersionText{"Brindlewharf setup project editor", "2.0.1.14"}));
    EXPECT_EQ(ownFileVersion(scratch.file("libwharfforge.so")).description, "Brindlewharf setup compiler");
    EXPECT_EQ(ownFileVersion(scratch.file("other.wfc")), FileVersionText{});
    EXPECT_EQ(ownFileVersion(scratch.file("wharfdraft")), FileVersionText{}); // not there
}

} // namespace
} // namespace wharf
