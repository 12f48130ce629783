#include "dumpform.h"

#include "fakeseams.h"
#include "fakeshell.h"
#include "files.h"
#include "paths.h"
#include "projectcontroller.h"
#include "projecthost.h"
#include "searchpathform.h"
#include "settings.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>

namespace wharf {
namespace {

std::string fixtureFolder() { return std::string(WHARF_FIXTURE_DIR) + "/deps/"; }
std::string fixture(const std::string &name) { return fixtureFolder() + name; }

QString programFolder()
{
    return QString::fromStdString(wharf::testing::builtProgramFolder());
}

class FakeHost : public DependencyHost {
public:
    std::vector<std::string> captions;
    std::string folder;
    std::vector<std::pair<std::string, std::string>> added;

    std::vector<std::string> fileTreeCaptions() const override { return captions; }
    std::string projectFolder() const override { return folder; }
    void AddFileEntry(const std::string &source, const std::string &destination) override
    {
        added.emplace_back(source, destination);
    }
};

class TDumpFormTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
    testing::FakeSeams m_fake;
    QString m_config = QString::fromStdString(m_scratch.file("config"));
    Settings m_settings{m_config};
    FakeHost m_host;
    TDumpForm m_form{nullptr, m_fake.seams(), programFolder(), std::make_unique<Settings>(m_config)};

    void SetUp() override
    {
        // No toolchain folders: the tests set the search path they need.
        m_form.scanner().setSearchPath(ModuleSearchPath());
        m_form.setHost(&m_host);
    }

    QStringList texts() const
    {
        QStringList out;
        for (int i = 0; i < m_form.CLB_Dependencies->count(); ++i)
            out << m_form.CLB_Dependencies->item(i)->text();
        return out;
    }
    QListWidgetItem *item(int row) const { return m_form.CLB_Dependencies->item(row); }
};

TEST_F(TDumpFormTest, HasTheCaptionTextsAndButtons)
{
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("File dependencies"));
    EXPECT_EQ(m_form.findChild<QLabel *>(QStringLiteral("L_Caption"))->text(),
              QStringLiteral("The following modules are necessary to run the file(s):"));
    EXPECT_TRUE(m_form.findChild<QLabel *>(QStringLiteral("L_Explanation"))->wordWrap());
    EXPECT_NE(m_form.findChild<QListWidget *>(QStringLiteral("CLB_Dependencies")), nullptr);
    EXPECT_TRUE(m_form.findChild<QPushButton *>(QStringLiteral("B_OK"))->isDefault());
    EXPECT_EQ(m_form.findChild<QPushButton *>(QStringLiteral("B_Cancel"))->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(m_form.property("helpContext").toInt(), 16);
}

TEST_F(TDumpFormTest, GreysModulesTheFileTreeHolds)
{
    // wfbeta.dll is in the tree as an absolute path in another spelling,
    // wfalpha.dll as a source relative to the project's folder.
    m_host.folder = fixtureFolder();
    m_host.captions = {"Group 1", fixture("WFBETA.dll"), "wfalpha.dll"};
    m_form.ScanDependencies(fixture("wfapp.exe"));
    ASSERT_EQ(texts(), (QStringList{QString::fromStdString(fixture("wfapp.exe")),
                                    QString::fromStdString(fixture("wfalpha.dll")),
                                    QString::fromStdString(fixture("wfbeta.dll"))}));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(item(row)->checkState(), Qt::Checked) << row;
        EXPECT_EQ(item(row)->flags().testFlag(Qt::ItemIsEnabled), row == 0) << row;
    }
}

TEST_F(TDumpFormTest, ShowsTheWindowOnlyForModulesThatAreNew)
{
    m_host.captions = {fixture("wfalpha.dll")};
    m_form.Clear();
    m_form.ScanDependencies(fixture("wfalpha.dll"));
    EXPECT_EQ(m_form.ShowDependenciesIfNew(), QDialog::Rejected);
    EXPECT_TRUE(m_fake.modal.shown.empty());

    m_form.Clear();
    EXPECT_EQ(m_form.ShowDependenciesIfNew(), QDialog::Rejected);
    EXPECT_TRUE(m_fake.modal.shown.empty());

    m_form.ScanDependencies(fixture("wfbeta.dll"));
    m_form.ShowDependenciesIfNew();
    EXPECT_EQ(m_fake.modal.shown.size(), 1u);
}

TEST_F(TDumpFormTest, ConfirmingAddsTheCheckedNewModulesToTheSystemFolder)
{
    m_host.captions = {fixture("wfapp.exe")};
    m_form.ScanDependencies(fixture("wfapp.exe"));
    m_fake.modal.handler = [this](QDialog &) {
        item(1)->setCheckState(Qt::Unchecked); // the author leaves wfalpha.dll out
        m_form.B_OK->click();
        return m_form.result();
    };
    EXPECT_EQ(m_form.ShowDependenciesIfNew(), QDialog::Accepted);
    EXPECT_EQ(m_host.added,
              (std::vector<std::pair<std::string, std::string>>{{fixture("wfbeta.dll"), "{sys}\\wfbeta.dll"}}));
}

TEST_F(TDumpFormTest, AMissingModuleIsShownAsNotFoundAndNeverAdded)
{
    m_form.ScanDependencies(fixture("wfghostapp.exe"));
    ASSERT_EQ(texts(), (QStringList{QString::fromStdString(fixture("wfghostapp.exe")),
                                    QString::fromStdString(fixture("wfalpha.dll")),
                                    QStringLiteral("wfghost.dll (not found)")}));
    EXPECT_FALSE(item(2)->flags().testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(item(2)->data(Qt::CheckStateRole).isValid());
    m_form.B_OKClick();
    ASSERT_EQ(m_host.added.size(), 2u);
    EXPECT_EQ(m_host.added[1].second, "{sys}\\wfalpha.dll");
}

TEST_F(TDumpFormTest, ARelativePathIsScannedInTheProjectsFolder)
{
    m_host.folder = fixtureFolder();
    m_host.captions = {"wfbeta.dll"};
    m_form.ScanDependencies("wfbeta.dll");
    ASSERT_EQ(texts(), (QStringList{QString::fromStdString(fixture("wfbeta.dll")),
                                    QString::fromStdString(fixture("wfalpha.dll"))}));
    EXPECT_FALSE(item(0)->flags().testFlag(Qt::ItemIsEnabled));
}

TEST_F(TDumpFormTest, AChangedSearchPathIsStoredAndScannedAgain)
{
    const std::string here = m_scratch.file("here");
    const std::string lib = m_scratch.file("lib");
    createFolder(here);
    createFolder(lib);
    ASSERT_TRUE(copyFile(fixture("wfghostapp.exe"), joinPath(here, "app.exe")));
    ASSERT_TRUE(copyFile(fixture("wfalpha.dll"), joinPath(lib, "wfalpha.dll")));
    m_form.ScanDependencies(joinPath(here, "app.exe"));
    EXPECT_EQ(texts().size(), 3); // the program, wfalpha.dll and wfghost.dll not found
    EXPECT_TRUE(texts().contains(QStringLiteral("wfalpha.dll (not found)")));

    m_fake.modal.handler = [&](QDialog &dialog) {
        auto &form = dynamic_cast<TSearchPathForm &>(dialog);
        EXPECT_TRUE(form.folders().empty());
        m_fake.fileDialogs.results.push_back({true, {QString::fromStdString(lib)}, 0});
        form.B_AddFolderClick();
        return int(QDialog::Accepted);
    };
    m_form.B_SearchPathClick();
    EXPECT_EQ(texts(), (QStringList{QString::fromStdString(joinPath(here, "app.exe")),
                                    QString::fromStdString(joinPath(lib, "wfalpha.dll")),
                                    QStringLiteral("wfghost.dll (not found)")}));
    EXPECT_EQ(readDependencySearchPath(m_settings), std::vector<std::string>{lib});

    // A cancelled dialog changes nothing.
    m_fake.modal.handler = [](QDialog &) { return int(QDialog::Rejected); };
    m_form.B_SearchPathClick();
    EXPECT_EQ(m_form.scanner().searchPath().folders(), std::vector<std::string>{lib});

    TDumpForm second(nullptr, m_fake.seams(), programFolder(), std::make_unique<Settings>(m_config));
    EXPECT_EQ(second.scanner().searchPath().folders(), std::vector<std::string>{lib});
}

TEST_F(TDumpFormTest, WithoutTheSystemModuleListEveryImportIsListed)
{
    TDumpForm bare(nullptr, m_fake.seams(), QString::fromStdString(m_scratch.file("empty")));
    EXPECT_FALSE(bare.scanner().systemModules().loaded());
    bare.scanner().setSearchPath(ModuleSearchPath());
    bare.ScanDependencies(fixture("wfalpha.dll"));
    EXPECT_GE(bare.CLB_Dependencies->count(), 3); // itself, KERNEL32.dll and msvcrt.dll not found
}

} // namespace
} // namespace wharf

namespace wharf {
namespace {

TEST(ProjectDependencyHostTest, ReadsTheFileTreeOfTheOpenProject)
{
    ScratchFolder scratch;
    testing::FakeShell shell;
    ProjectController controller(scratch.path(), shell, shell, shell);
    Project &project = controller.document();
    project.Groups = {{"Main", false, {}}, {"Extras", false, {}}};
    FileEntry relative;
    relative.Source = "wfbeta.dll";
    FileEntry absolute;
    absolute.Source = fixture("wfapp.exe");
    absolute.Relative = false;
    project.Groups[0].Files = {relative};
    project.Groups[1].Files = {absolute};
    EXPECT_EQ(fileTreeCaptions(project),
              (std::vector<std::string>{"Main", "wfbeta.dll", "Extras", fixture("wfapp.exe")}));

    std::vector<std::string> added;
    ProjectDependencyHost host(controller, [&](const std::string &source, const std::string &destination) {
        added.push_back(source + " -> " + destination);
    });
    EXPECT_EQ(host.projectFolder(), controller.ProjectFolder());
    host.AddFileEntry("/x/a.dll", "{sys}\\a.dll");
    EXPECT_EQ(added, std::vector<std::string>{"/x/a.dll -> {sys}\\a.dll"});

    testing::FakeSeams fake;
    TDumpForm form(nullptr, fake.seams(), programFolder());
    form.scanner().setSearchPath(ModuleSearchPath());
    form.setHost(&host);
    form.ScanDependencies(fixture("wfapp.exe"));
    ASSERT_EQ(form.CLB_Dependencies->count(), 3);
    EXPECT_FALSE(form.CLB_Dependencies->item(0)->flags().testFlag(Qt::ItemIsEnabled));
    EXPECT_TRUE(form.CLB_Dependencies->item(1)->flags().testFlag(Qt::ItemIsEnabled));
    // The relative source is read against the project's folder, which is
    // empty until the project has a file: wfbeta.dll is new.
    EXPECT_TRUE(form.CLB_Dependencies->item(2)->flags().testFlag(Qt::ItemIsEnabled));
}

} // namespace
} // namespace wharf
