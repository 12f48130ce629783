#include "designer.h"

#include "designerfixture.h"

#include <QAction>
#include <QComboBox>

using namespace wharf;
using wharf::testing::DesignerFixture;

namespace {

using DesignerTest = DesignerFixture;

TEST_F(DesignerTest, StartsWithAnEmptyDialogAndEveryCommand)
{
    designer->start({});
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(main().windowTitle(), "Brindlewharf Dialog Designer - Untitled dialog");
    EXPECT_TRUE(fake.messages.shown.empty());
    for (const char *item : {"MI_DlgProperties", "MI_Preferences", "MI_Debug"})
        EXPECT_TRUE(main().findChild<QAction *>(item)->isEnabled()) << item;
    addControl({"Type=0"});
    for (const char *item : {"MI_Copy", "MI_Cut", "MI_Properties", "PI_Properties"})
        EXPECT_TRUE(main().findChild<QAction *>(item)->isEnabled()) << item;
    // The popup opens the properties of the selected control.
    main().findChild<QAction *>("PI_Properties")->trigger();
    EXPECT_EQ(fake.modal.shown, std::vector<QString>{"frm_CtlProperties"});
}

TEST_F(DesignerTest, OpensTheFirstArgument)
{
    const QString missing = QString::fromStdString(dir.file("gone.ddf"));
    designer->start({missing, "ignored"});
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The dialog file " + missing + " does not exist!");
    EXPECT_EQ(main().document().controlCount(), 0u);

    addControl({"Type=1", "Name=Go"});
    const QString path = QString::fromStdString(dir.file("page.ddf"));
    main().SaveDialogFile(path);
    makeDesigner();
    designer->start({path});
    EXPECT_EQ(main().document().fileName(), path.toStdString());
    EXPECT_EQ(main().findChild<QComboBox *>("CB_Controls")->itemText(0), "Go");
}

} // namespace
