#include "panelstatusbar.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QProgressBar>

namespace wharf {
namespace {

TEST(TPanelStatusBarTest, HostsControlsOnFixedPanels)
{
    TPanelStatusBar bar;
    for (int width : {300, 35, 200, 40, 100, 50})
        bar.addPanel(width);
    bar.resize(800, 24);
    ASSERT_EQ(bar.panelCount(), 6);
    EXPECT_EQ(bar.panelRect(0).width(), 300);
    EXPECT_EQ(bar.panelRect(2).left(), bar.panelRect(1).right() + 1 + 2);
    EXPECT_EQ(bar.panelRect(5).right(), 799); // the last panel takes the rest
    EXPECT_TRUE(bar.panelRect(6).isNull());

    auto *progress = new QProgressBar;
    auto *gauge = new QProgressBar;
    bar.hostControl(progress, 0);
    bar.hostControl(gauge, 3);
    EXPECT_EQ(progress->parentWidget(), &bar);
    EXPECT_TRUE(bar.panelRect(0).contains(progress->geometry()));
    EXPECT_TRUE(bar.panelRect(3).contains(gauge->geometry()));

    bar.setPanelWidth(0, 150);
    EXPECT_TRUE(bar.panelRect(3).contains(gauge->geometry()));
    EXPECT_EQ(bar.panelRect(3).left(), 150 + 2 + 35 + 2 + 200 + 2);

    bar.setPanelText(4, QStringLiteral("Modified"));
    EXPECT_EQ(bar.panelText(4), QStringLiteral("Modified"));
    delete gauge; // a deleted control is forgotten
    bar.resize(900, 24);
    EXPECT_TRUE(bar.panelRect(0).contains(progress->geometry()));
    EXPECT_FALSE(bar.grab().isNull());
}

} // namespace
} // namespace wharf
