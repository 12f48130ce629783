#include "entryicon.h"

#include "files.h"
#include "paths.h"

#include <gtest/gtest.h>

#include <string>

namespace wharf {
namespace {

const std::string kFixtures = WHARF_FIXTURE_DIR;

std::string fixture(const char *name) { return joinPath(kFixtures, name); }

bool isDefaultIcon(const QImage &image) { return image == defaultEntryIcon(); }

TEST(EntryIconTest, ProgramsGiveTheIconGroupAtTheIndex)
{
    // twoicons.exe: the named group (16 and 32 pixels) first, then group 7
    // (24 pixels only).
    const QImage first = associatedIcon(fixture("twoicons.exe"), 0);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), QSize(32, 32));
    EXPECT_FALSE(isDefaultIcon(first));
    EXPECT_NE(first.pixel(16, 16), 0u);
    EXPECT_EQ(associatedIcon(fixture("twoicons.exe"), 1).size(), QSize(24, 24));
    // The 64-bit reader path and the placeholder runtime.
    EXPECT_EQ(associatedIcon(fixture("pe64.exe"), 0).size(), QSize(32, 32));

    // No such group, no icons at all, no resources: the default icon.
    EXPECT_TRUE(isDefaultIcon(associatedIcon(fixture("twoicons.exe"), 2)));
    EXPECT_TRUE(isDefaultIcon(associatedIcon(fixture("noicon.exe"), 0)));
    EXPECT_TRUE(isDefaultIcon(associatedIcon(fixture("nores.exe"), 0)));
}

TEST(EntryIconTest, IconFilesGiveTheirImageNearestThirtyTwoPixels)
{
    EXPECT_EQ(associatedIcon(fixture("one.ico"), 0).size(), QSize(24, 24));
    EXPECT_EQ(associatedIcon(fixture("four.ico"), 0).size(), QSize(32, 32)); // of 16, 32, 48, 128
    // An icon file holds one icon only.
    EXPECT_TRUE(isDefaultIcon(associatedIcon(fixture("one.ico"), 1)));
}

TEST(EntryIconTest, OtherMissingOrDamagedFilesGiveTheDefaultIcon)
{
    ScratchFolder scratch;
    const std::string text = scratch.file("readme.txt");
    ASSERT_TRUE(writeFile(text, "hello"));
    const std::optional<std::string> ico = readFile(fixture("four.ico"));
    ASSERT_TRUE(ico);
    const std::string cut = scratch.file("cut.ico");
    ASSERT_TRUE(writeFile(cut, ico->substr(0, 40)));
    std::string wrongOffset = *ico;
    wrongOffset[18] = '\x7F'; // the first image's offset points past the end
    wrongOffset[19] = '\x7F';
    wrongOffset[20] = '\x7F';
    const std::string bad = scratch.file("bad.ico");
    ASSERT_TRUE(writeFile(bad, wrongOffset));
    const std::optional<std::string> program = readFile(fixture("twoicons.exe"));
    ASSERT_TRUE(program);
    const std::string halfProgram = scratch.file("half.exe");
    ASSERT_TRUE(writeFile(halfProgram, program->substr(0, program->size() / 2)));

    for (const std::string &path : {std::string(), text, cut, scratch.file("missing.exe"), halfProgram})
        EXPECT_TRUE(isDefaultIcon(associatedIcon(path, 0))) << path;
    // The other images of a file with one broken entry still serve.
    const QImage fromBad = associatedIcon(bad, 0);
    EXPECT_FALSE(fromBad.isNull());
}

TEST(EntryIconTest, GetEntryIconTakesTheLastProjectFileWithThatDestination)
{
    Project project;
    project.Groups.push_back({"Main", false, {}});
    auto file = [](std::string source, std::string destination) {
        FileEntry entry;
        entry.Source = std::move(source);
        entry.Destination = std::move(destination);
        return entry;
    };
    // A relative source written on Windows, against the project's folder.
    const std::string projectFolder = extractFilePath(excludeTrailingSeparator(kFixtures));
    const std::string fixturesName = extractFileName(excludeTrailingSeparator(kFixtures));
    project.Groups[0].Files = {
        file(fixture("four.ico"), "{app}\\tool.exe"),
        file(fixturesName + "\\twoicons.exe", "{app}\\tool.exe"),
        file(fixture("gone.exe"), "{app}\\gone.exe"),
    };

    EXPECT_EQ(GetEntryIcon(project, projectFolder, "{app}\\tool.exe", 1).size(), QSize(24, 24));
    // Destinations compare exactly.
    EXPECT_TRUE(GetEntryIcon(project, projectFolder, "{APP}\\tool.exe", 0).isNull());
    EXPECT_TRUE(GetEntryIcon(project, projectFolder, "{app}\\other.exe", 0).isNull());
    // A matching file missing here still gives a picture: the default one.
    EXPECT_TRUE(isDefaultIcon(GetEntryIcon(project, projectFolder, "{app}\\gone.exe", 0)));
}

} // namespace
} // namespace wharf
