#include "textfit.h"

#include "panelstatusbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <functional>

namespace wharf {
namespace {

constexpr const char *kLong = "A caption far too long for its place";

// One kind of widget placed in a window of 400 x 300 (cut) and the same
// kind given room (fits).
struct FitCase {
    const char *kind;
    std::function<void(QWidget &window, bool cut)> place;
    const char *reported; // part of the report of the cut one
};

const FitCase kCases[] = {
    {"label",
     [](QWidget &w, bool cut) { (new QLabel(QString::fromLatin1(kLong), &w))->setGeometry(0, 0, cut ? 60 : 390, 20); },
     "QLabel width"},
    {"label one line high for two",
     [](QWidget &w, bool cut) {
         (new QLabel(QStringLiteral("one\ntwo"), &w))->setGeometry(0, 0, 100, cut ? 14 : 60);
     },
     "QLabel height"},
    {"word-wrapped label",
     [](QWidget &w, bool cut) {
         auto *label = new QLabel(QString::fromLatin1(kLong), &w);
         label->setWordWrap(true);
         label->setGeometry(0, 0, 100, cut ? 16 : 120);
     },
     "QLabel height"},
    {"label partly outside its parent",
     [](QWidget &w, bool cut) {
         auto *parent = new QWidget(&w);
         parent->setGeometry(0, 0, 200, 100);
         (new QLabel(QStringLiteral("Name:"), parent))->setGeometry(cut ? 180 : 10, 10, 60, 20);
     },
     "clipped by"},
    {"push button",
     [](QWidget &w, bool cut) {
         (new QPushButton(QStringLiteral("&Properties of the file..."), &w))->setGeometry(0, 0, cut ? 60 : 300, 26);
     },
     "QPushButton width"},
    {"check box",
     [](QWidget &w, bool cut) { (new QCheckBox(QString::fromLatin1(kLong), &w))->setGeometry(0, 0, cut ? 80 : 390, 20); },
     "QCheckBox width"},
    {"group box title",
     [](QWidget &w, bool cut) {
         (new QGroupBox(QString::fromLatin1(kLong), &w))->setGeometry(0, 0, cut ? 80 : 390, 60);
     },
     "QGroupBox title"},
    {"tabs behind scroll arrows",
     [](QWidget &w, bool cut) {
         auto *tabs = new QTabWidget(&w);
         for (const char *caption : {"Initialization script", "Script for Show event"})
             tabs->addTab(new QWidget, QString::fromLatin1(caption));
         tabs->setGeometry(0, 0, cut ? 180 : 398, 100);
         tabs->tabBar()->setElideMode(Qt::ElideNone);
         tabs->setUsesScrollButtons(true);
     },
     "shown"},
    {"header section and cell",
     [](QWidget &w, bool cut) {
         auto *table = new QTableWidget(1, 2, &w);
         table->setHorizontalHeaderLabels({QStringLiteral("Uninstall"), QStringLiteral("System")});
         table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("{app}\\harbour.ini")));
         table->setGeometry(0, 0, 390, 200);
         table->setColumnWidth(0, cut ? 30 : 200);
         table->setColumnWidth(1, 100);
     },
     "section 0"},
    {"combo box",
     [](QWidget &w, bool cut) {
         auto *combo = new QComboBox(&w);
         combo->addItem(QString::fromLatin1(kLong));
         combo->setGeometry(0, 0, cut ? 80 : 390, 24);
     },
     "current text"},
    {"status panel beyond the bar",
     [](QWidget &w, bool cut) {
         auto *bar = new TPanelStatusBar(&w);
         bar->addPanel(300);
         bar->addPanel(50);
         bar->setPanelText(1, QStringLiteral("Modified"));
         bar->setGeometry(0, 200, cut ? 320 : 398, 24);
     },
     "panel 1 shown"},
};

TEST(TextFitTest, FindsEveryKindOfCutTextAndNothingInWindowsWithRoom)
{
    for (const FitCase &c : kCases) {
        SCOPED_TRACE(c.kind);
        for (const bool cut : {true, false}) {
            QWidget window;
            window.resize(400, 300);
            c.place(window, cut);
            window.show();
            QApplication::processEvents();
            const std::vector<testing::CutText> cuts = testing::findCutText(window);
            const QString report = testing::describeCutText(cuts);
            if (cut)
                EXPECT_TRUE(report.contains(QString::fromLatin1(c.reported))) << report.toStdString();
            else
                EXPECT_TRUE(cuts.empty()) << report.toStdString();
        }
    }
}

TEST(TextFitTest, HiddenWidgetsAndClosedPagesAreLeftAlone)
{
    QWidget window;
    window.resize(400, 300);
    auto *hidden = new QLabel(QString::fromLatin1(kLong), &window);
    hidden->setGeometry(0, 0, 20, 20);
    hidden->hide();
    // Entirely outside its parent, as the buttons of a closed header are.
    auto *closed = new QWidget(&window);
    closed->setGeometry(0, 40, 200, 0);
    (new QLabel(QString::fromLatin1(kLong), closed))->setGeometry(0, 0, 20, 20);
    window.show();
    EXPECT_TRUE(testing::findCutText(window).empty());

    // Every page of a tab widget is looked at, and the current one kept.
    auto *tabs = new QTabWidget(&window);
    tabs->setGeometry(0, 100, 390, 150);
    tabs->addTab(new QWidget, QStringLiteral("One"));
    auto *second = new QWidget;
    (new QLabel(QString::fromLatin1(kLong), second))->setGeometry(0, 0, 20, 20);
    tabs->addTab(second, QStringLiteral("Two"));
    tabs->show();
    QApplication::processEvents();
    const std::vector<testing::CutText> cuts = testing::findCutText(window);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0].text, QString::fromLatin1(kLong));
    EXPECT_EQ(tabs->currentIndex(), 0);
}

} // namespace
} // namespace wharf
