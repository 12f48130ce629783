#include "scopedenv.h"
#include "componentspanel.h"

#include "fakeseams.h"
#include "fakeshell.h"
#include "files.h"
#include "paths.h"
#include "projectcontroller.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

#include <cstdlib>

using wharf::testing::ScopedEnv;

namespace wharf {
namespace {

const QString kSampleProgramDir = QStringLiteral(WHARF_SAMPLE_PROGRAM_DIR);

QImage imageOf(const QIcon &icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

class ComponentsPanelTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
    testing::FakeSeams m_fake;
    testing::FakeShell m_shell;
    ProjectController m_controller{m_scratch.file("program"), m_shell, m_shell, m_shell, &m_shell};
    ComponentsPanel m_page{nullptr, m_controller, m_fake.seams()};
    QStringList m_ownFiles{QStringLiteral("/opt/wharf/wharfwright")};
    // The plug-ins' copies go into the user's runtime folder, here one the
    // test can watch.
    std::string m_temp = m_scratch.file("tmp");
    std::optional<ScopedEnv> m_runtime;
    std::string m_projectFile = m_scratch.file("work/app.wfp");

    void SetUp() override
    {
        createFolder(m_temp);
        createFolder(m_scratch.file("work"));
        m_runtime.emplace("XDG_RUNTIME_DIR", m_temp);
        m_page.Scan(kSampleProgramDir, &m_ownFiles);
        m_controller.document().General.AppName = "Sample";
        m_controller.document().General.Copyright = "mine";
        ASSERT_TRUE(m_controller.SaveProject(m_projectFile));
    }

    void choose(const QString &file)
    {
        const int row = static_cast<int>(m_page.PluginFiles.indexOf(file));
        ASSERT_GE(row, 0);
        m_page.LV_Components->setCurrentRow(row);
    }

    void expectNoCopyLeft()
    {
        EXPECT_TRUE(folderExists(m_temp + "/brindlewharf"));
        EXPECT_TRUE(listFolder(m_temp + "/brindlewharf").empty());
    }
};

TEST_F(ComponentsPanelTest, ListsThePluginsWithTheirIconsNamesAndTips)
{
    EXPECT_EQ(m_page.L_Components->text(), QStringLiteral("The following components are available on your system:"));
    EXPECT_EQ(m_page.PluginFiles, (QStringList{"bare.wfc", "broken.wfc", "copyright.wfc", "mischief.wfc"}));
    ASSERT_EQ(m_page.LV_Components->count(), 4);
    EXPECT_EQ(m_page.LV_Components->item(0)->text(), QStringLiteral("(No description available)"));
    EXPECT_EQ(m_page.LV_Components->item(1)->text(), QStringLiteral("broken.wfc (could not be loaded)"));
    EXPECT_EQ(m_page.LV_Components->item(2)->text(), QStringLiteral("Copyright notice"));
    EXPECT_EQ(m_page.LV_ComponentsInfoTip(0), QString());
    EXPECT_EQ(m_page.LV_ComponentsInfoTip(2), QStringLiteral("Sets the copyright line of the setup."));
    EXPECT_EQ(m_page.LV_Components->item(2)->toolTip(), m_page.LV_ComponentsInfoTip(2));
    EXPECT_EQ(m_page.LV_ComponentsInfoTip(9), QString());

    // Without an icon of its own, and for a picture that is none, the
    // stand-in icon; the failed library never shows its neighbour's.
    const QImage unknown = unknownComponentIcon().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(m_page.IL_CompImages.size(), 4u);
    EXPECT_EQ(imageOf(m_page.IL_CompImages[0]), unknown);
    EXPECT_EQ(imageOf(m_page.IL_CompImages[1]), unknown);
    EXPECT_NE(imageOf(m_page.IL_CompImages[2]), unknown);
    EXPECT_EQ(imageOf(m_page.IL_CompImages[3]), unknown);

    const QString folder = kSampleProgramDir + QStringLiteral("/Components/");
    EXPECT_EQ(m_ownFiles, (QStringList{"/opt/wharf/wharfwright", folder + "bare.wfc", folder + "broken.wfc",
                                       folder + "copyright.wfc", folder + "mischief.wfc"}));
}

TEST_F(ComponentsPanelTest, TheButtonFollowsTheSelection)
{
    EXPECT_FALSE(m_page.B_AddComp->isEnabled());
    QSignalSpy spy(&m_page, &ComponentsPanel::addComponentEnabled);
    choose(QStringLiteral("bare.wfc"));
    EXPECT_TRUE(m_page.B_AddComp->isEnabled());
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_TRUE(spy.last().at(0).toBool());
    m_page.LV_Components->clearSelection();
    EXPECT_FALSE(m_page.B_AddComp->isEnabled());
    EXPECT_FALSE(spy.last().at(0).toBool());
}

TEST_F(ComponentsPanelTest, WithoutAComponentsFolderTheListStaysEmpty)
{
    ComponentsPanel page(nullptr, m_controller, m_fake.seams());
    QSignalSpy spy(&page, &ComponentsPanel::addComponentEnabled);
    page.Scan(QString::fromStdString(m_scratch.file("program")));
    EXPECT_EQ(page.LV_Components->count(), 0);
    EXPECT_FALSE(page.B_AddComp->isEnabled());
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_FALSE(spy.last().at(0).toBool());
}

TEST_F(ComponentsPanelTest, APluginThatReportsAChangeIsReadBackIntoTheProject)
{
    ASSERT_FALSE(m_controller.ProjectModified());
    choose(QStringLiteral("copyright.wfc"));
    m_page.B_AddCompClick();
    EXPECT_TRUE(m_fake.messages.shown.empty()); // an unmodified project asks nothing
    EXPECT_EQ(m_controller.document().General.Copyright, "(c) Sample Components");
    EXPECT_EQ(m_controller.document().General.AppName, "Sample");
    EXPECT_TRUE(m_controller.ProjectModified());
    EXPECT_EQ(m_controller.ProjectFileName(), m_projectFile);
    EXPECT_EQ(m_controller.ProjectFolder(), extractFilePath(m_projectFile));
    EXPECT_EQ(m_shell.recentFiles.size(), 1u); // only the save of SetUp
    expectNoCopyLeft();
}

TEST_F(ComponentsPanelTest, TheSaveQuestionOfAModifiedProject)
{
    m_controller.document().General.AppName = "Unsaved";
    m_controller.SetModified(true);
    choose(QStringLiteral("copyright.wfc"));

    // Cancel: nothing happens.
    m_fake.messages.answers = {QMessageBox::Cancel};
    m_page.B_AddCompClick();
    ASSERT_EQ(m_fake.messages.shown.size(), 1u);
    EXPECT_EQ(m_fake.messages.shown[0].type, MsgDlgType::Warning);
    EXPECT_EQ(m_fake.messages.shown[0].text,
              QStringLiteral("Errors in component libraries can cause a data loss. Do you want to save the current "
                             "file before adding/editing the component?"));
    EXPECT_EQ(m_controller.document().General.Copyright, "mine");

    // No: the plug-in gets a copy with the unsaved edits; the file stays.
    m_fake.messages.answers = {QMessageBox::No};
    m_page.B_AddCompClick();
    EXPECT_EQ(m_controller.document().General.AppName, "Unsaved");
    EXPECT_EQ(m_controller.document().General.Copyright, "(c) Sample Components");
    EXPECT_EQ(readFile(m_projectFile)->find("Unsaved"), std::string::npos);
    EXPECT_TRUE(m_controller.ProjectModified());

    // Yes: the project is saved to its own file first.
    m_fake.messages.answers = {QMessageBox::Yes};
    m_page.B_AddCompClick();
    EXPECT_NE(readFile(m_projectFile)->find("AppName=Unsaved"), std::string::npos);
    EXPECT_TRUE(m_controller.ProjectModified()); // the plug-in changed it after the save
    expectNoCopyLeft();
}

TEST_F(ComponentsPanelTest, PluginsThatDoNothingLeaveTheProjectAlone)
{
    const Project before = m_controller.document();
    for (const char *file : {"bare.wfc", "broken.wfc"}) {
        choose(QString::fromUtf8(file));
        m_page.B_AddCompClick();
        EXPECT_EQ(m_controller.document(), before) << file;
        EXPECT_FALSE(m_controller.ProjectModified()) << file;
    }
    ScopedEnv mode("WFC_MISCHIEF", "silent");
    choose(QStringLiteral("mischief.wfc"));
    m_page.B_AddCompClick();
    EXPECT_EQ(m_controller.document(), before);
    EXPECT_FALSE(m_controller.ProjectModified());
    EXPECT_TRUE(m_fake.messages.shown.empty());

    m_page.LV_Components->clearSelection();
    m_page.B_AddCompClick();
    EXPECT_EQ(m_controller.document(), before);
    expectNoCopyLeft();
}

TEST_F(ComponentsPanelTest, AChangeWhoseCopyIsGoneOrNoProjectIsReportedAndTheProjectStays)
{
    for (const bool modified : {false, true}) {
        for (const char *mischief : {"delete", "garbage"}) {
            m_controller.SetModified(modified);
            m_fake.messages.shown.clear();
            m_fake.messages.answers = {QMessageBox::No};
            const Project before = m_controller.document();
            ScopedEnv mode("WFC_MISCHIEF", mischief);
            choose(QStringLiteral("mischief.wfc"));
            m_page.B_AddCompClick();
            EXPECT_EQ(m_controller.document(), before) << mischief;
            EXPECT_EQ(m_controller.ProjectModified(), modified) << mischief;
            EXPECT_EQ(m_controller.ProjectFileName(), m_projectFile);
            ASSERT_FALSE(m_fake.messages.shown.empty()) << mischief;
            EXPECT_EQ(m_fake.messages.shown.back().type, MsgDlgType::Error);
            EXPECT_TRUE(m_fake.messages.shown.back().text.contains(QStringLiteral("reported a change")));
            expectNoCopyLeft();
        }
    }
}

TEST_F(ComponentsPanelTest, TheExamplePluginFillsInTheCompanyOnce)
{
    ComponentsPanel page(nullptr, m_controller, m_fake.seams());
    page.Scan(QStringLiteral(WHARF_EXAMPLE_PROGRAM_DIR));
    ASSERT_EQ(page.PluginFiles, QStringList{QStringLiteral("company.wfc")});
    EXPECT_EQ(page.LV_Components->item(0)->text(), QStringLiteral("Company name"));
    page.LV_Components->setCurrentRow(0);

    page.B_AddCompClick();
    EXPECT_EQ(m_controller.document().General.Company, "Example Company");
    EXPECT_EQ(m_controller.document().General.Copyright, "mine");
    EXPECT_TRUE(m_controller.ProjectModified());

    // Set once, the company stays, and the project is not marked again.
    m_controller.document().General.Company = "Mine";
    m_controller.SetModified(false);
    page.B_AddCompClick();
    EXPECT_EQ(m_controller.document().General.Company, "Mine");
    EXPECT_FALSE(m_controller.ProjectModified());
    EXPECT_TRUE(m_fake.messages.shown.empty());
    expectNoCopyLeft();
}

} // namespace
} // namespace wharf
