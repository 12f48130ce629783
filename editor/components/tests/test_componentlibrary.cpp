#include "componentlibrary.h"

#include "files.h"
#include "paths.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

const std::string kSamples = std::string(WHARF_SAMPLE_PROGRAM_DIR) + "/Components";

TEST(ComponentScanTest, ListsEveryPluginFileByNameWithWhatItTellsOfItself)
{
    const std::vector<ComponentEntry> entries = scanComponents(kSamples);
    std::vector<std::string> files;
    for (const ComponentEntry &entry : entries)
        files.push_back(entry.fileName);
    ASSERT_EQ(files, (std::vector<std::string>{"bare.wfc", "broken.wfc", "copyright.wfc", "mischief.wfc"}));

    const ComponentEntry &bare = entries[0];
    EXPECT_TRUE(bare.loaded);
    EXPECT_EQ(bare.name, "(No description available)");
    EXPECT_EQ(bare.info, "");
    EXPECT_TRUE(bare.iconBytes.empty());
    EXPECT_EQ(bare.fullPath, joinPath(kSamples, "bare.wfc"));

    // The file that is no library shows as such and borrows nothing from
    // the entry before it.
    const ComponentEntry &broken = entries[1];
    EXPECT_FALSE(broken.loaded);
    EXPECT_EQ(broken.name, "broken.wfc (could not be loaded)");
    EXPECT_NE(broken.info.find("could not be loaded"), std::string::npos);
    EXPECT_FALSE(broken.loadError.empty());
    EXPECT_TRUE(broken.iconBytes.empty());

    const ComponentEntry &copyright = entries[2];
    EXPECT_TRUE(copyright.loaded);
    EXPECT_EQ(copyright.name, "Copyright notice");
    EXPECT_EQ(copyright.info, "Sets the copyright line of the setup.");
    ASSERT_GE(copyright.iconBytes.size(), 8u);
    EXPECT_EQ(copyright.iconBytes[1], 'P');

    // Lengths beyond the buffer or below zero are bounded by it.
    const ComponentEntry &mischief = entries[3];
    EXPECT_EQ(mischief.name, std::string(255, 'M'));
    EXPECT_EQ(mischief.info, "");
}

TEST(ComponentScanTest, AMissingFolderListsNothing)
{
    EXPECT_TRUE(scanComponents(kSamples + "/none").empty());
}

TEST(ComponentLibraryTest, ReportsWhatTheLibraryLacks)
{
    const ComponentLibrary missing(kSamples + "/absent.wfc");
    EXPECT_FALSE(missing.loaded());
    EXPECT_FALSE(missing.error().empty());
    EXPECT_FALSE(missing.name());
    EXPECT_FALSE(missing.addComponent("/nonexistent"));

    const ComponentLibrary bare(joinPath(kSamples, "bare.wfc"));
    ASSERT_TRUE(bare.loaded());
    EXPECT_FALSE(bare.hasAddComponent());
    EXPECT_FALSE(bare.icon());
    EXPECT_FALSE(bare.addComponent("/nonexistent"));

    const ComponentLibrary copyright(joinPath(kSamples, "copyright.wfc"));
    EXPECT_TRUE(copyright.hasAddComponent());
    ScratchFolder scratch;
    const std::string project = scratch.file("wftemp.tmp");
    ASSERT_TRUE(writeFile(project, "[General]\r\nAppName=A\r\nCopyright=old\r\n\r\n[Groups]\r\n"));
    EXPECT_TRUE(copyright.addComponent(project));
    EXPECT_EQ(*readFile(project), "[General]\r\nAppName=A\r\nCopyright=(c) Sample Components\r\n\r\n[Groups]\r\n");
}

} // namespace
} // namespace wharf
