// The tab order made from a window's layout, and the check the window
// tests of both programs run over it.

#include "layouttaborder.h"

#include "tabchain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

namespace wharf {
namespace {

using testing::findTabOrderJumps;
using testing::tabStops;

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The names of the widgets Tab visits, a spin box by its own name.
QStringList visited(QWidget &window)
{
    QStringList names;
    for (QWidget *w : tabStops(window)) {
        const QWidget *named = qobject_cast<QSpinBox *>(w->parentWidget()) ? w->parentWidget() : w;
        names << named->objectName();
    }
    return names;
}

// A window as the control properties were: a form of Name and Hint over a
// group of positions, a group beside it, tabs below and the buttons; the
// widgets made in another order than they stand.
struct PropertiesWindow {
    PropertiesWindow()
    {
        name = named(new QLineEdit(&window), "Name");
        left = named(new QSpinBox(&window), "Left");
        top = named(new QSpinBox(&window), "Top");
        hint = named(new QLineEdit(&window), "Hint");
        ok = named(new QPushButton(QStringLiteral("OK"), &window), "OK");
        cancel = named(new QPushButton(QStringLiteral("Cancel"), &window), "Cancel");
        tabs = named(new QTabWidget(&window), "Tabs");
        auto *first = named(new QLineEdit, "FirstPage");
        auto *second = named(new QLineEdit, "SecondPage");
        tabs->addTab(first, QStringLiteral("One"));
        tabs->addTab(second, QStringLiteral("Two"));
        auto *special = named(new QGroupBox(QStringLiteral("Special"), &window), "Special");
        auto *caption = named(new QLineEdit(special), "Caption");
        auto *checked = named(new QCheckBox(QStringLiteral("Checked"), special), "Checked");
        auto *specialForm = new QFormLayout(special);
        specialForm->addRow(QStringLiteral("Caption:"), caption);
        specialForm->addRow(checked);

        auto *position = named(new QGroupBox(QStringLiteral("Position"), &window), "Position");
        auto *grid = new QGridLayout(position);
        // Added right to left, placed left to right.
        grid->addWidget(top, 0, 1);
        grid->addWidget(left, 0, 0);
        auto *common = new QFormLayout;
        common->addRow(QStringLiteral("Name:"), name);
        common->addRow(QStringLiteral("Hint:"), hint);
        auto *leftSide = new QVBoxLayout;
        leftSide->addLayout(common);
        leftSide->addWidget(position);
        auto *upper = new QHBoxLayout;
        upper->addLayout(leftSide);
        upper->addWidget(special);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        auto *layout = new QVBoxLayout(&window);
        layout->addLayout(upper);
        layout->addWidget(tabs);
        layout->addLayout(buttons);
        window.show();
        QApplication::processEvents();
    }

    QWidget window;
    QLineEdit *name;
    QSpinBox *left;
    QSpinBox *top;
    QLineEdit *hint;
    QPushButton *ok;
    QPushButton *cancel;
    QTabWidget *tabs;
};

TEST(LayoutTabOrderTest, TheCheckNamesWhereTabGoesBackAndTheOrderFromTheLayoutHasNone)
{
    PropertiesWindow w;
    const std::vector<testing::TabJump> before = findTabOrderJumps(w.window);
    ASSERT_FALSE(before.empty());
    // Tab from the last position goes back up to the hint.
    EXPECT_TRUE(std::any_of(before.begin(), before.end(), [](const testing::TabJump &jump) {
        return jump.to.endsWith(QStringLiteral("/Hint"));
    })) << testing::describeTabJumps(before).toStdString();

    setTabOrderFromLayout(w.window);
    EXPECT_TRUE(findTabOrderJumps(w.window).empty())
        << testing::describeTabJumps(findTabOrderJumps(w.window)).toStdString();
    // The group beside is entered after the left column is done; a tab
    // widget's bar comes before its page; a spin box is one stop.
    EXPECT_EQ(visited(w.window), (QStringList{"Name", "Hint", "Left", "Top", "Caption", "Checked", "qt_tabwidget_tabbar",
                                              "FirstPage", "OK", "Cancel"}));
    w.tabs->setCurrentIndex(1);
    EXPECT_EQ(visited(w.window).at(7), QStringLiteral("SecondPage"));
}

TEST(LayoutTabOrderTest, ColumnsSideBySideAndTheRingsWrapAreNoJumps)
{
    // Two group boxes side by side, each read top to bottom: Tab finishes
    // the left one before it enters the right one, whose top is higher
    // than where it leaves.
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    for (const char *side : {"Left", "Right"}) {
        auto *group = named(new QGroupBox(QString::fromLatin1(side), &window), side);
        auto *column = new QVBoxLayout(group);
        for (int i = 0; i < 3; ++i)
            column->addWidget(named(new QCheckBox(QStringLiteral("Option %1").arg(i), group), "Option"));
        layout->addWidget(group);
    }
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(findTabOrderJumps(window).empty())
        << testing::describeTabJumps(findTabOrderJumps(window)).toStdString();
    EXPECT_EQ(tabStops(window).size(), 6u);

    // Made last, a widget that stands first closes the ring where the
    // chain wraps: no jump. One made last that stands between the groups
    // is one.
    auto *first = named(new QLineEdit(&window), "First");
    layout->insertWidget(0, first);
    QApplication::processEvents();
    EXPECT_TRUE(findTabOrderJumps(window).empty());
    EXPECT_EQ(tabStops(window).front(), first);
    auto *middle = named(new QLineEdit(&window), "Middle");
    layout->insertWidget(2, middle);
    QApplication::processEvents();
    EXPECT_EQ(findTabOrderJumps(window).size(), 1u);
    setTabOrderFromLayout(window);
    EXPECT_TRUE(findTabOrderJumps(window).empty());
    EXPECT_EQ(tabStops(window).at(4), middle);
}

} // namespace
} // namespace wharf
