#include "folderbrowse.h"

#include "fakeseams.h"

#include <gtest/gtest.h>

namespace wharf {
namespace {

TEST(TFolderBrowseTest, ShowsTheFolderPickerAndKeepsTheChoice)
{
    testing::FakeSeams fake;
    TFolderBrowse browse(nullptr, fake.seams());
    browse.Title = QStringLiteral("Choose the output folder");
    browse.Directory = QStringLiteral("/work/out");
    fake.fileDialogs.results.push_back({true, {QStringLiteral("/work/other")}, 0});
    EXPECT_TRUE(browse.Execute(nullptr));
    ASSERT_EQ(fake.fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fake.fileDialogs.requests[0].kind, FileDialogRequest::Kind::Folder);
    EXPECT_EQ(fake.fileDialogs.requests[0].initialDir, QStringLiteral("/work/out"));
    EXPECT_EQ(fake.fileDialogs.requests[0].title, QStringLiteral("Choose the output folder"));
    EXPECT_EQ(browse.Directory, QStringLiteral("/work/other"));
}

TEST(TFolderBrowseTest, CancelOrNoPathLeavesTheDirectory)
{
    testing::FakeSeams fake;
    TFolderBrowse browse(nullptr, fake.seams());
    EXPECT_FALSE(browse.Execute(nullptr)); // cancelled
    EXPECT_TRUE(fake.fileDialogs.requests[0].initialDir.isEmpty());
    browse.Directory = QStringLiteral("/kept");
    fake.fileDialogs.results.push_back({true, {QString()}, 0});
    EXPECT_FALSE(browse.Execute(nullptr));
    EXPECT_EQ(browse.Directory, QStringLiteral("/kept"));
}

} // namespace
} // namespace wharf
