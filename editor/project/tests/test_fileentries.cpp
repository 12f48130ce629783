#include "files.h"
#include "folderwalk.h"
#include "groupchange.h"
#include "inistore.h"
#include "newfileentry.h"
#include "paths.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wharf {
namespace {

void loadExtensionDefaults(TMemIniStore &ini)
{
    ini.LoadFromBytes("[.txt]\r\nDestination={app}\\Docs\r\nOverwrite=0\r\n\r\n"
                      "[.dll]\r\nDestination={sys}\\\r\nShared=1\r\nRegServer=1\r\nInUse=1\r\nCompareVersions=1\r\n"
                      "CompareTimeStamps=0\r\nSystem=0x3\r\nCheckDependencies=1\r\n\r\n"
                      "[.ttf]\r\nDestination={fonts}\r\nInstallFont=1\r\nUninstall=0\r\n");
}

TEST(NewFileEntryTest, AFileWithoutSectionGetsTheFixedDefaults)
{
    TMemIniStore ini("");
    loadExtensionDefaults(ini);
    const FileEntry entry = makeFileEntry(&ini, "C:\\Src\\readme.xyz", "{app}\\readme.xyz", true, 2);
    FileEntry expected;
    expected.Source = "C:\\Src\\readme.xyz";
    expected.Destination = "{app}\\readme.xyz";
    expected.Description = "readme.xyz";
    expected.GroupIndex = 2;
    expected.CompareTimeStamps = true;
    expected.Relative = true;
    EXPECT_EQ(entry, expected);
    EXPECT_EQ(makeFileEntry(nullptr, "C:\\Src\\readme.xyz", "{app}\\readme.xyz", true, 2), expected);
    EXPECT_FALSE(extensionChecksDependencies(&ini, "a.xyz"));
    EXPECT_FALSE(extensionChecksDependencies(nullptr, "a.dll"));
}

TEST(NewFileEntryTest, TheExtensionsSectionSetsOptionsAndTheFolderOfFilesDirectlyInApp)
{
    TMemIniStore ini("");
    loadExtensionDefaults(ini);
    // Directly in {app}\: the extension's folder takes its place.
    EXPECT_EQ(makeFileEntry(&ini, "/src/notes.txt", "{app}\\notes.txt", false, 0).Destination, "{app}\\Docs\\notes.txt");
    // In a sub folder of {app}: kept.
    EXPECT_EQ(makeFileEntry(&ini, "/src/notes.txt", "{app}\\Manual\\notes.txt", false, 0).Destination,
              "{app}\\Manual\\notes.txt");
    // The section's name ignores case; a trailing separator gives no double one.
    const FileEntry dll = makeFileEntry(&ini, "/src/LIB.DLL", "{app}\\LIB.DLL", false, 0);
    EXPECT_EQ(dll.Destination, "{sys}\\LIB.DLL");
    EXPECT_TRUE(dll.Shared && dll.RegOCX && dll.Pending && dll.CompareVersions);
    EXPECT_FALSE(dll.CompareTimeStamps);
    EXPECT_EQ(dll.TargetSystems, 3);
    EXPECT_TRUE(extensionChecksDependencies(&ini, "/src/LIB.DLL"));
    const FileEntry font = makeFileEntry(&ini, "{src}\\a.ttf", "{app}\\a.ttf", false, 0);
    EXPECT_TRUE(font.InstallFont);
    EXPECT_FALSE(font.Uninstall);
    EXPECT_TRUE(font.Overwrite);
    // Texts are cut to 255 characters.
    const std::string longName(300, 'n');
    EXPECT_EQ(makeFileEntry(&ini, "/src/" + longName, "{tmp}\\" + longName, false, 0).Destination.size(), 255u);
}

std::vector<FileEntry> threeFiles()
{
    std::vector<FileEntry> files(3);
    files[0].Destination = "{app}\\bin\\a.exe";
    files[1].Destination = "{app}\\bin\\b.dll";
    files[2].Destination = "{app}\\bin\\c.dat";
    files[0].Shared = files[1].Shared = true;
    for (FileEntry &file : files)
        file.CompareTimeStamps = true;
    files[0].TargetSystems = 0;     // all
    files[1].TargetSystems = 1 + 1; // system 0 only
    files[2].TargetSystems = 1 + 2; // system 1 only
    return files;
}

TEST(GroupChangeTest, CommonStateOfTheFiles)
{
    const GroupChange change = groupChangeFor(threeFiles());
    EXPECT_EQ(change.Options[foShared], TriState::Mixed);
    EXPECT_EQ(change.Options[foCompareTimeStamps], TriState::Checked);
    EXPECT_EQ(change.Options[foInstallFont], TriState::Unchecked);
    EXPECT_EQ(change.Options[foOverwrite], TriState::Checked);
    EXPECT_EQ(change.Systems[0], TriState::Mixed);
    EXPECT_EQ(change.Systems[1], TriState::Mixed);
    EXPECT_EQ(change.Systems[5], TriState::Mixed); // only the "all" mask has it
    EXPECT_EQ(change.DestinationFolder, "{app}\\bin");

    std::vector<FileEntry> spread = threeFiles();
    spread[2].Destination = "{app}\\c.dat";
    EXPECT_EQ(groupChangeFor(spread).DestinationFolder, "");
    spread = threeFiles();
    for (FileEntry &file : spread)
        file.Destination = "C:\\" + extractFileName(file.Destination);
    EXPECT_EQ(groupChangeFor(spread).DestinationFolder, "C:\\");

    const GroupChange none = groupChangeFor({});
    EXPECT_EQ(none.Options[foOverwrite], TriState::Unchecked);
    EXPECT_EQ(none.Systems[0], TriState::Unchecked);
    EXPECT_EQ(none.DestinationFolder, "");
}

TEST(GroupChangeTest, MixedLeavesEachFileAndCheckedSetsAll)
{
    const std::vector<FileEntry> before = threeFiles();
    std::vector<FileEntry> files = before;
    GroupChange change = groupChangeFor(files);
    change.DestinationFolder.clear();
    applyGroupChange(files, change);
    EXPECT_EQ(files, before); // untouched: every value (and mask 0) stays

    change.Options[foShared] = TriState::Checked;
    change.Options[foCompareTimeStamps] = TriState::Unchecked;
    change.DestinationFolder = "{sys}\\";
    applyGroupChange(files, change);
    for (const FileEntry &file : files) {
        EXPECT_TRUE(file.Shared);
        EXPECT_FALSE(file.CompareTimeStamps);
    }
    EXPECT_EQ(files[1].Destination, "{sys}\\b.dll");
}

TEST(GroupChangeTest, MasksKeepTheirEncodingInTwentyTwoBits)
{
    std::vector<FileEntry> files = threeFiles();
    files.push_back(FileEntry{});
    files[3].TargetSystems = static_cast<int32_t>(0x7FFFFFFF); // stray high bits
    GroupChange change = groupChangeFor(files);
    change.Systems[1] = TriState::Unchecked;
    change.Systems[21] = TriState::Checked;
    applyGroupChange(files, change);
    // "All" without system 1.
    EXPECT_EQ(files[0].TargetSystems, ((1 << 22) - 1 - 2) + 1);
    EXPECT_EQ(files[1].TargetSystems, (1 | (1 << 21)) + 1);
    EXPECT_EQ(files[2].TargetSystems, (1 << 21) + 1);
    EXPECT_EQ(files[3].TargetSystems, ((1 << 22) - 1 - 3) + 1);
    for (const FileEntry &file : files)
        EXPECT_GT(file.TargetSystems, 0);
}

TEST(FolderWalkTest, CollectsVisibleFilesAndFoldersParentFirst)
{
    ScratchFolder scratch;
    const std::string base = scratch.file("tree");
    for (const char *folder : {"tree", "tree/b", "tree/b/deep", "tree/a", "tree/.hidden", "tree/a/.git"})
        ASSERT_TRUE(createFolder(scratch.file(folder)));
    for (const char *file : {"tree/top.txt", "tree/.profile", "tree/a/one.dll", "tree/b/two.exe",
                             "tree/b/deep/three.dat", "tree/.hidden/secret.txt"})
        ASSERT_TRUE(writeFile(scratch.file(file), "x"));
    // A name no project path can hold (written past the path routines).
    std::ofstream(scratch.file("tree") + "/a/back\\slash") << "x";
    std::vector<std::string> files;
    std::vector<std::string> folders;
    CollectFolders(base, "", files, folders);
    EXPECT_EQ(files, (std::vector<std::string>{"top.txt", "a\\one.dll", "b\\two.exe", "b\\deep\\three.dat"}));
    EXPECT_EQ(folders, (std::vector<std::string>{"a", "b", "b\\deep"}));
    EXPECT_EQ(collectedPath(base, "b\\deep\\three.dat"), base + "/b/deep/three.dat");

    // The uninstall order: deepest first, then parents.
    std::vector<std::string> order{"a", "b", "b\\deep", "B"};
    sortFolderNames(order);
    EXPECT_EQ(order, (std::vector<std::string>{"b\\deep", "b", "a", "B"}));
    EXPECT_LT(CompareFolderNames("a\\b", "a"), 0);
    EXPECT_EQ(CompareFolderNames("a", "a"), 0);

    // Each folder is reported before it is listed, and a false answer ends
    // the walk there.
    std::vector<std::string> visited;
    files.clear();
    folders.clear();
    EXPECT_FALSE(CollectFolders(base, "", files, folders, [&](std::string_view folder) {
        visited.emplace_back(folder);
        return visited.size() < 2;
    }));
    EXPECT_EQ(visited, (std::vector<std::string>{"", "a"}));
    EXPECT_EQ(files, std::vector<std::string>{"top.txt"});
    files.clear();
    folders.clear();
    EXPECT_TRUE(CollectFolders(base, "", files, folders, [](std::string_view) { return true; }));
    EXPECT_EQ(folders, (std::vector<std::string>{"a", "b", "b\\deep"}));

    // A folder that can't be listed gives nothing.
    files.clear();
    CollectFiles(scratch.file("missing"), "", files);
    EXPECT_TRUE(files.empty());
}

} // namespace
} // namespace wharf
