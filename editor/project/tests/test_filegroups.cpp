#include "filegroups.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

Project projectWithGroups(const std::vector<std::string> &names)
{
    Project project;
    for (const std::string &name : names) {
        GroupEntry group;
        group.Name = name;
        project.Groups.push_back(group);
    }
    return project;
}

void addFiles(Project &project, int group, std::initializer_list<const char *> sources)
{
    for (const char *source : sources) {
        FileEntry file;
        file.Source = source;
        file.GroupIndex = static_cast<uint16_t>(group);
        project.Groups[static_cast<size_t>(group)].Files.push_back(file);
    }
}

std::vector<std::string> sourcesOf(const GroupEntry &group)
{
    std::vector<std::string> sources;
    for (const FileEntry &file : group.Files)
        sources.push_back(file.Source);
    return sources;
}

std::vector<std::string> namesOf(const Project &project)
{
    std::vector<std::string> names;
    for (const GroupEntry &group : project.Groups)
        names.push_back(group.Name);
    return names;
}

TEST(FileGroupsTest, NewGroupsAndTypesAreNumberedByTheirCountAndNeverDuplicate)
{
    struct Case {
        std::vector<std::string> groups;
        const char *expected;
    };
    const Case cases[] = {
        {{}, "Group 1"},
        {{"Group 1"}, "Group 2"},
        {{"Files"}, "Group 2"}, // the count, not a free number below it
        {{"Group 1", "Group 2"}, "Group 3"},
        {{"Group 2", "Group 3"}, "Group 4"}, // a freed number below is not taken back
        {{"Files", "GROUP 3"}, "Group 4"},   // taken, without regard to case
        {{"Group 3", "Group 4", "x"}, "Group 5"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(newGroupName(projectWithGroups(c.groups)), c.expected) << ::testing::PrintToString(c.groups);

    Project project;
    project.InstallTypes = {{"Installation type 1", "|0|"}};
    EXPECT_EQ(newInstallTypeName(project), "Installation type 2");
    project.InstallTypes = {{"Typical", ""}};
    EXPECT_EQ(newInstallTypeName(project), "Installation type 2");
    project.InstallTypes = {{"Typical", ""}, {"INSTALLATION TYPE 3", ""}};
    EXPECT_EQ(newInstallTypeName(project), "Installation type 4");
}

TEST(FileGroupsTest, RenameChecksIgnoreCaseAndTheEntryItself)
{
    Project project = projectWithGroups({"Program files", "Help"});
    EXPECT_TRUE(groupNameTaken(project, "HELP", 0));
    EXPECT_FALSE(groupNameTaken(project, "Help", 1)); // unchanged name
    EXPECT_FALSE(groupNameTaken(project, "Docs", 0));
    project.InstallTypes = {{"Typical", ""}, {"Full", ""}};
    EXPECT_TRUE(installTypeNameTaken(project, "typical", 1));
    EXPECT_FALSE(installTypeNameTaken(project, "Typical", 0));
}

TEST(FileGroupsTest, GroupTokens)
{
    EXPECT_EQ(groupsInTypeText({1, 3}), "|1||3|");
    EXPECT_TRUE(typeIncludesGroup("|0||2|", 2));
    EXPECT_FALSE(typeIncludesGroup("|0||12|", 1));
    EXPECT_FALSE(typeIncludesGroup("", 0));
    // Cut to 255 characters without leaving half a token.
    std::vector<int> many(100);
    for (int i = 0; i < 100; ++i)
        many[static_cast<size_t>(i)] = i;
    const std::string text = groupsInTypeText(many);
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(text.back(), '|');
    EXPECT_EQ(text.substr(text.size() - 4), "|65|");
}

TEST(FileGroupsTest, DeletingAGroupRenumbersTheTypesAndTheFiles)
{
    Project project = projectWithGroups({"A", "B", "C", "D"});
    addFiles(project, 3, {"d.txt"});
    project.InstallTypes = {{"Typical", "|0||2||3|"}, {"Only B", "|1|"}, {"Stale", "|9|"}};
    project.Selection.Group = 3;
    project.Selection.File = 0;
    deleteNode(project, {1, -1});
    EXPECT_EQ(namesOf(project), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(project.InstallTypes[0].GroupsInType, "|0||1||2|");
    EXPECT_EQ(project.InstallTypes[1].GroupsInType, "");
    EXPECT_EQ(project.InstallTypes[2].GroupsInType, "");
    EXPECT_EQ(project.Groups[2].Files[0].GroupIndex, 2);
    EXPECT_EQ(project.Selection.Group, 2);

    // A file goes alone; a node that does not exist changes nothing.
    deleteNode(project, {2, 0});
    EXPECT_TRUE(project.Groups[2].Files.empty());
    EXPECT_EQ(project.Selection.File, -1);
    deleteNode(project, {7, -1});
    EXPECT_EQ(project.Groups.size(), 3u);
}

TEST(FileGroupsTest, MoveRules)
{
    Project project = projectWithGroups({"A", "B", "C"});
    addFiles(project, 0, {"a1", "a2", "a3"});
    addFiles(project, 1, {"b1"});
    struct Case {
        FileNode from, onto;
        bool allowed;
    };
    const Case cases[] = {
        {{0, -1}, {2, -1}, true},  // group before group
        {{0, -1}, {1, 0}, false},  // a group never onto a file
        {{0, -1}, {0, -1}, false}, // nor onto itself
        {{0, 1}, {1, -1}, true},   // file onto a group
        {{0, 1}, {1, 0}, true},    // file onto a file of another group
        {{0, 1}, {0, 1}, false},   // onto itself
        {{0, 9}, {1, -1}, false},  // no such node
        {{0, 1}, {5, -1}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(canMoveNode(project, c.from, c.onto), c.allowed)
            << c.from.Group << "," << c.from.File << " -> " << c.onto.Group << "," << c.onto.File;
}

TEST(FileGroupsTest, FilesMoveBeforeTheTargetOrToTheEndOfAGroup)
{
    Project project = projectWithGroups({"A", "B"});
    addFiles(project, 0, {"a1", "a2", "a3"});
    addFiles(project, 1, {"b1", "b2"});
    // Onto a file of another group: before that file, in that group.
    EXPECT_EQ(moveNode(project, {0, 0}, {1, 1}), (FileNode{1, 1}));
    EXPECT_EQ(sourcesOf(project.Groups[1]), (std::vector<std::string>{"b1", "a1", "b2"}));
    EXPECT_EQ(project.Groups[1].Files[1].GroupIndex, 1);
    EXPECT_EQ(project.Selection.Group, 1);
    EXPECT_EQ(project.Selection.File, 1);
    // Down inside its own group: before the target.
    EXPECT_EQ(moveNode(project, {0, 0}, {0, 1}), (FileNode{0, 0}));
    EXPECT_EQ(moveNode(project, {1, 0}, {1, 2}), (FileNode{1, 1}));
    EXPECT_EQ(sourcesOf(project.Groups[1]), (std::vector<std::string>{"a1", "b1", "b2"}));
    // Onto a group: its last file.
    EXPECT_EQ(moveNode(project, {1, 0}, {0, -1}), (FileNode{0, 2}));
    EXPECT_EQ(sourcesOf(project.Groups[0]), (std::vector<std::string>{"a2", "a3", "a1"}));
    // Refused moves change nothing.
    const Project before = project;
    EXPECT_EQ(moveNode(project, {0, -1}, {0, 1}), (FileNode{0, -1}));
    EXPECT_EQ(project, before);
}

TEST(FileGroupsTest, MovingGroupsKeepsWhatEachTypeNames)
{
    Project project = projectWithGroups({"A", "B", "C", "D"});
    addFiles(project, 0, {"a"});
    addFiles(project, 3, {"d"});
    project.InstallTypes = {{"T", "|0||3|"}, {"U", "|1|"}};
    // A before D: B, C, A, D.
    EXPECT_EQ(moveNode(project, {0, -1}, {3, -1}), (FileNode{2, -1}));
    EXPECT_EQ(namesOf(project), (std::vector<std::string>{"B", "C", "A", "D"}));
    EXPECT_EQ(project.InstallTypes[0].GroupsInType, "|2||3|");
    EXPECT_EQ(project.InstallTypes[1].GroupsInType, "|0|");
    EXPECT_EQ(project.Groups[2].Files[0].GroupIndex, 2);
    // D before B: D, B, C, A.
    moveNode(project, {3, -1}, {0, -1});
    EXPECT_EQ(namesOf(project), (std::vector<std::string>{"D", "B", "C", "A"}));
    EXPECT_EQ(project.InstallTypes[0].GroupsInType, "|0||3|");
    EXPECT_EQ(project.InstallTypes[1].GroupsInType, "|1|");
    EXPECT_EQ(project.Groups[0].Files[0].GroupIndex, 0);
}

TEST(FileGroupsTest, FileOrdinalCountsThroughAllGroups)
{
    Project project = projectWithGroups({"A", "B", "C"});
    addFiles(project, 0, {"a1", "a2"});
    addFiles(project, 2, {"c1", "c2"});
    EXPECT_EQ(fileOrdinal(project, {0, 0}), 0);
    EXPECT_EQ(fileOrdinal(project, {2, 1}), 3);
    EXPECT_EQ(fileOrdinal(project, {1, -1}), -1);
}

} // namespace
} // namespace wharf
