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

// The sample plug-in of examples/: it fills in an empty company and leaves
// every other byte of the project as it was.
TEST(ExampleComponentTest, SetsTheCompanyOnlyWhenTheProjectHasNone)
{
    const ComponentLibrary company(std::string(WHARF_EXAMPLE_PROGRAM_DIR) + "/Components/company.wfc");
    ASSERT_TRUE(company.loaded()) << company.error();
    EXPECT_EQ(company.name(), std::optional<std::string>("Company name"));
    EXPECT_TRUE(company.hasAddComponent());

    struct Case {
        const char *what;
        const char *before;
        const char *after; // nullptr: unchanged and not reported as changed
    };
    const Case cases[] = {
        {"no company", "[General]\r\nAppName=A\r\n\r\n[Groups]\r\n",
         "[General]\r\nAppName=A\r\nCompany=Example Company\r\n\r\n[Groups]\r\n"},
        {"an empty company", "[General]\r\nCompany=\r\nAppName=A\r\n",
         "[General]\r\nCompany=Example Company\r\nAppName=A\r\n"},
        {"the author's company", "[General]\r\ncompany=Mine\r\n[Groups]\r\n", nullptr},
        {"no section [General]", "[Groups]\r\nA=1", "[Groups]\r\nA=1\r\n[General]\r\nCompany=Example Company\r\n"},
        {"a last line without its end", "[Temporary]\r\nX=1\r\n[General]\r\nAppName=\xe9",
         "[Temporary]\r\nX=1\r\n[General]\r\nAppName=\xe9\r\nCompany=Example Company\r\n"},
        {"Company in another section", "[Other]\r\nCompany=X\r\n[General]\r\n",
         "[Other]\r\nCompany=X\r\n[General]\r\nCompany=Example Company\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch;
        const std::string project = scratch.file("wftemp.tmp");
        ASSERT_TRUE(writeFile(project, c.before));
        EXPECT_EQ(company.addComponent(project), c.after != nullptr);
        EXPECT_EQ(*readFile(project), c.after ? c.after : c.before);
    }
}

} // namespace
} // namespace wharf
