#include "panelstatusbar.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QProgressBar>

namespace wharf {
namespace {

TEST(TPanelStatusBarTest, APanelWidensToItsTextAndTheOthersMove)
{
    TPanelStatusBar bar;
    for (int width : {35, 60, 40})
        bar.addPanel(width);
    bar.resize(600, 24);
    auto *gauge = new QProgressBar;
    bar.hostControl(gauge, 2);
    const QFontMetrics metrics(bar.font());
    const auto fits = [&](int panel) {
        return metrics.horizontalAdvance(bar.panelText(panel)) + 6 <= bar.panelRect(panel).width();
    };

    // Short texts keep the given widths.
    bar.setPanelText(0, QStringLiteral("OK"));
    EXPECT_EQ(bar.panelRect(0).width(), 35);

    // A longer text widens its panel; the next ones and their controls move.
    const QString memory = QStringLiteral("Available memory: 22,402,304 KB");
    bar.setPanelText(1, memory);
    EXPECT_TRUE(fits(1));
    EXPECT_EQ(bar.panelWidth(1), 60); // the given width stays the minimum
    EXPECT_EQ(bar.panelRect(2).left(), bar.panelRect(1).right() + 1 + 2);
    EXPECT_TRUE(bar.panelRect(2).contains(gauge->geometry()));
    EXPECT_GE(bar.sizeHint().width(), bar.panelRect(2).left() + 40);

    // A shorter text later does not make the panels jump back and forth.
    const int wide = bar.panelRect(1).width();
    bar.setPanelText(1, QStringLiteral("Available memory: 9 KB"));
    EXPECT_EQ(bar.panelRect(1).width(), wide);
    bar.setPanelText(1, memory);
    EXPECT_EQ(bar.panelRect(1).width(), wide);

    // Setting the width again starts from the text shown now; a larger
    // font widens the panels again.
    bar.setPanelWidth(1, 61);
    EXPECT_TRUE(fits(1));
    QFont larger = bar.font();
    larger.setPixelSize(QFontInfo(larger).pixelSize() * 2);
    bar.setFont(larger);
    EXPECT_TRUE(QFontMetrics(larger).horizontalAdvance(memory) + 6 <= bar.panelRect(1).width());
}

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
