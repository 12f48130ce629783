#include "componentspage.h"

#include "dumpform.h"
#include "editorfixture.h"
#include "files.h"
#include "infoform.h"
#include "mainform.h"
#include "mainnavigation.h"
#include "navbutton.h"
#include "pagetable.h"
#include "paths.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

namespace wharf {
namespace {

// The editor started with the sample plug-in "copyright.wfc" in its
// program folder's "Components".
class ComponentsInTheEditorTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override
    {
        const std::string components = joinPath(programFolder, "Components");
        ASSERT_TRUE(createFolder(components));
        ASSERT_TRUE(copyFile(WHARF_SAMPLE_COMPONENTS "/copyright.wfc", joinPath(components, "copyright.wfc")));
        start();
    }
    TMainForm &form() { return *windows.MainForm; }
    TComponentsPage &page() { return *qobject_cast<TComponentsPage *>(form().page(kComponentsPage)); }
};

TEST_F(ComponentsInTheEditorTest, ThePageListsThePluginsAndItsButtonFollowsTheSelection)
{
    ASSERT_NE(qobject_cast<TComponentsPage *>(form().page(kComponentsPage)), nullptr);
    ComponentsPanel &panel = *page().panel();
    ASSERT_EQ(panel.LV_Components->count(), 1);
    EXPECT_EQ(panel.LV_Components->item(0)->text(), QStringLiteral("Copyright notice"));
    // After the fixed files, for the version window.
    ASSERT_EQ(form().shell().OwnFileList.size(), 10);
    EXPECT_EQ(form().shell().OwnFileList.back(),
              QString::fromStdString(joinPath(joinPath(programFolder, "Components"), "copyright.wfc")));

    TNavButton *navigation = form().OB_Main->button(kComponentsPage, 0);
    EXPECT_TRUE(navigation->isHidden());
    panel.LV_Components->setCurrentRow(0);
    EXPECT_TRUE(panel.B_AddComp->isEnabled());
    EXPECT_FALSE(navigation->isHidden());

    // The navigation button lets the plug-in edit the project.
    page().navigationButtonClicked(0);
    EXPECT_EQ(form().controller().document().General.Copyright, "(c) Sample Components");
    EXPECT_TRUE(form().controller().ProjectModified());
}

TEST_F(ComponentsInTheEditorTest, TheInfoItemShowsTheAboutBoxAndTheScannerWindowExists)
{
    ASSERT_NE(windows.DumpForm, nullptr);
    ASSERT_NE(windows.InfoForm, nullptr);
    EXPECT_TRUE(form().MI_Info->isEnabled());
    form().MI_Info->trigger();
    ASSERT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_EQ(fake.modal.shown[0], QStringLiteral("InfoForm"));
}

} // namespace
} // namespace wharf
