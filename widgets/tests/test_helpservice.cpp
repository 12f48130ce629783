#include "helpservice.h"

#include "fakeseams.h"
#include "files.h"

#include <gtest/gtest.h>

#include <QUrl>

namespace wharf {
namespace {

class HelpServiceTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    testing::FakeSeams m_fake;
    HelpService m_help{QString::fromStdString(m_folder.path() + "/"), m_fake.seams()};
};

TEST_F(HelpServiceTest, MissingHelpFileIsReported)
{
    EXPECT_FALSE(m_help.showContents(nullptr, QStringLiteral("wharfwright.hlp")));
    ASSERT_EQ(m_fake.messages.shown.size(), 1u);
    EXPECT_EQ(m_fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_EQ(m_fake.messages.shown[0].text, QStringLiteral("Could not find the help file \"wharfwright.hlp\"."));
    EXPECT_TRUE(m_fake.processes.documents.empty());

    // A topic asked for is named with the file.
    EXPECT_FALSE(m_help.showKeyword(nullptr, QStringLiteral("ddscript.hlp"), QStringLiteral("MessageBox")));
    ASSERT_EQ(m_fake.messages.shown.size(), 2u);
    EXPECT_EQ(m_fake.messages.shown[1].text,
              QStringLiteral("Could not find the help file \"ddscript.hlp\" for the topic \"MessageBox\"."));
}

TEST_F(HelpServiceTest, OpensTheDocumentStandingForTheHelpFile)
{
    ASSERT_TRUE(writeFile(m_folder.file("ddscript.hlp"), "old"));
    ASSERT_TRUE(writeFile(m_folder.file("ddscript.html"), "<html></html>"));
    ASSERT_TRUE(writeFile(m_folder.file("wharfwright.txt"), "help"));

    EXPECT_TRUE(m_help.showKeyword(nullptr, QStringLiteral("ddscript.hlp"), QStringLiteral("MessageBox")));
    EXPECT_TRUE(m_help.showContents(nullptr, QStringLiteral("ddscript.hlp")));
    EXPECT_TRUE(m_help.showKeyword(nullptr, QStringLiteral("wharfwright.hlp"), QStringLiteral("Files")));
    const QString html = QString::fromStdString(m_folder.file("ddscript.html"));
    ASSERT_EQ(m_fake.processes.documents.size(), 3u);
    EXPECT_EQ(m_fake.processes.documents[0], QUrl::fromLocalFile(html).toString() + QStringLiteral("#MessageBox"));
    EXPECT_EQ(m_fake.processes.documents[1], html);
    EXPECT_EQ(m_fake.processes.documents[2], QString::fromStdString(m_folder.file("wharfwright.txt")));
    EXPECT_TRUE(m_fake.messages.shown.empty());
}

TEST_F(HelpServiceTest, AHelpFileNoViewerOpensIsNamedInFull)
{
    ASSERT_TRUE(writeFile(m_folder.file("wharfwright.html"), "<html></html>"));
    m_fake.processes.succeed = false;
    EXPECT_FALSE(m_help.showKeyword(nullptr, QStringLiteral("wharfwright.hlp"), QStringLiteral("Files")));
    ASSERT_EQ(m_fake.messages.shown.size(), 1u);
    EXPECT_EQ(m_fake.messages.shown[0].type, MsgDlgType::Error);
    const QString document = QString::fromStdString(m_folder.file("wharfwright.html"));
    EXPECT_TRUE(m_fake.messages.shown[0].text.startsWith(
        QStringLiteral("Could not open the help file \"%1\" for the topic \"Files\": ").arg(document)))
        << m_fake.messages.shown[0].text.toStdString();
}

} // namespace
} // namespace wharf
