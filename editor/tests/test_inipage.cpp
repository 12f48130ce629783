#include "inipage.h"

#include "editorfixture.h"
#include "entrygrid.h"
#include "inieditor.h"
#include "mainform.h"
#include "pagetable.h"
#include "projectcontroller.h"
#include "systemform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace wharf {
namespace {

TEST(EntryGridTest, ColumnsWidenToTheirHeadersAndTextsNeverBelowTheirWidths)
{
    TEntryGrid grid(QStringLiteral("SG_Test"), {QStringLiteral("Uninst."), QStringLiteral("Key")}, {10, 80});
    const QFontMetrics metrics(grid.font());
    const QFontMetrics headerMetrics(grid.horizontalHeader()->font());
    // The narrow first column widens to its header, the second keeps 80.
    EXPECT_GT(grid.columnWidth(0), headerMetrics.horizontalAdvance(QStringLiteral("Uninst.")));
    EXPECT_EQ(grid.columnWidth(1), 80);
    EXPECT_GE(grid.verticalHeader()->defaultSectionSize(), std::max(15, metrics.height()));

    grid.setRowCount(2);
    const QString path = QStringLiteral("{win}\\harbour-tool-settings.ini");
    grid.setCell(0, 1, QStringLiteral("Path"));
    EXPECT_EQ(grid.columnWidth(1), 80);
    grid.setCell(1, 1, path);
    EXPECT_GT(grid.columnWidth(1), metrics.horizontalAdvance(path));
    const int wide = grid.columnWidth(1);
    grid.setCell(1, 1, QStringLiteral("x")); // a shorter text keeps the room
    EXPECT_EQ(grid.columnWidth(1), wide);

    // A larger font widens the columns to the texts they hold.
    grid.setCell(1, 1, path);
    QFont larger = grid.font();
    larger.setPixelSize(QFontInfo(larger).pixelSize() * 2);
    grid.setFont(larger);
    EXPECT_GT(grid.columnWidth(1), QFontMetrics(larger).horizontalAdvance(path));
}

// Short of room, the columns give up what they have beyond their texts, so
// the last one (the INI grid's "System") stays in sight.
TEST(EntryGridTest, ShortOfRoomEveryColumnStaysInSightWithItsTextsWhole)
{
    TEntryGrid grid(QStringLiteral("SG_Test"),
                    {QString(), QStringLiteral("INI file name"), QStringLiteral("Value name"), QStringLiteral("System")},
                    {10, 200, 200, 31});
    grid.setRowCount(1);
    grid.setCell(0, 1, QStringLiteral("{win}\\harbour.ini"));
    grid.setCell(0, 3, QStringLiteral("4194304"));
    const auto total = [&grid] {
        int sum = 0;
        for (int c = 0; c < grid.columnCount(); ++c)
            sum += grid.columnWidth(c);
        return sum;
    };
    const auto textsWhole = [&grid] {
        const QFontMetrics cells(grid.font());
        const QFontMetrics headers(grid.horizontalHeader()->font());
        return grid.columnWidth(1) > cells.horizontalAdvance(QStringLiteral("{win}\\harbour.ini")) &&
               grid.columnWidth(2) > headers.horizontalAdvance(QStringLiteral("Value name")) &&
               grid.columnWidth(3) > cells.horizontalAdvance(QStringLiteral("4194304"));
    };
    grid.resize(700, 200);
    grid.show();
    QApplication::processEvents();
    EXPECT_EQ(grid.columnWidth(0), 10);
    EXPECT_EQ(grid.columnWidth(1), 200); // room enough: the given widths
    EXPECT_LE(total(), grid.viewport()->width());

    grid.resize(360, 200);
    QApplication::processEvents();
    EXPECT_LE(total(), grid.viewport()->width());
    EXPECT_LT(grid.columnWidth(1), 200);
    EXPECT_TRUE(textsWhole());

    // Less room than the texts need: the texts stay whole and the grid
    // scrolls sideways.
    grid.resize(120, 200);
    QApplication::processEvents();
    EXPECT_TRUE(textsWhole());
    EXPECT_GT(total(), grid.viewport()->width());
}

class IniPageTest : public ::testing::Test, public testing::EditorFixture {
protected:
    void SetUp() override { start(); }

    TMainForm &form() { return *windows.MainForm; }
    TIniPage &page() { return *qobject_cast<TIniPage *>(form().page(kIniPage)); }
    Project &doc() { return form().controller().document(); }
    TEntryGrid &grid() { return *page().SG_IniEntries; }

    QStringList row(int r)
    {
        QStringList cells;
        for (int c = 0; c < grid().columnCount(); ++c)
            cells << grid().cell(r, c);
        return cells;
    }

    // The dialog answers with edit and then OK, or Cancel.
    void answer(std::function<void(TINIEditor &)> edit, bool ok = true)
    {
        fake.modal.handler = [edit, ok](QDialog &dialog) {
            auto &e = static_cast<TINIEditor &>(dialog);
            if (edit)
                edit(e);
            (ok ? e.B_OK : e.B_Cancel)->click();
            return e.result();
        };
    }

    void addEntry(const char *file)
    {
        answer([file](TINIEditor &e) { e.E_INIFile->setText(QString::fromLatin1(file)); });
        page().B_INIAddClick();
    }
};

TEST_F(IniPageTest, ANewProjectShowsOnlyTheEmptyRowAndItsButtonsDoNothing)
{
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(grid().columnCount(), 9);
    EXPECT_EQ(grid().horizontalHeaderItem(8)->text(), QStringLiteral("System"));
    EXPECT_FALSE(page().B_INIEdit->isEnabled());
    EXPECT_FALSE(page().B_INIDelete->isEnabled());
    page().B_INIEditClick();
    page().B_INIDeleteClick();
    EXPECT_TRUE(fake.modal.shown.empty());
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_FALSE(form().controller().ProjectModified());

    // Cancelling an add leaves the grid as it was.
    answer([](TINIEditor &e) { e.E_INIFile->setText(QStringLiteral("x.ini")); }, false);
    page().B_INIAddClick();
    EXPECT_EQ(fake.modal.shown, std::vector<QString>{QStringLiteral("INIEditor")});
    EXPECT_TRUE(doc().IniEntries.empty());
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(row(0).join(QString()), QString());
    EXPECT_FALSE(page().B_INIEdit->isEnabled());
}

TEST_F(IniPageTest, OkStoresTheDialogAndTheEmptyMarker)
{
    answer([](TINIEditor &e) {
        // A new entry: remove No, overwrite and create Yes, all systems.
        EXPECT_FALSE(e.Ch_UninstINIKey->isChecked());
        EXPECT_TRUE(e.Ch_OverwriteINIKey->isChecked());
        EXPECT_TRUE(e.Ch_CreateINIKey->isChecked());
        EXPECT_EQ(e.TargetSystemsTag(), kAllTargetSystems);
        e.E_INIFile->setText(QStringLiteral("{win}\\app.ini"));
        e.E_INISection->setText(QStringLiteral("Options"));
        e.E_INIKey->setText(QStringLiteral("Path"));
    });
    page().B_INIAddClick();
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(row(0), QStringList({QString(), QStringLiteral("{win}\\app.ini"), QStringLiteral("Options"),
                                   QStringLiteral("Path"), QStringLiteral("{emp}"), QStringLiteral("No"),
                                   QStringLiteral("Yes"), QStringLiteral("Yes"), QStringLiteral("4194304")}));
    EXPECT_EQ(row(1).join(QString()), QString());
    EXPECT_EQ(doc().IniEntries[0].Value, "{emp}");
    EXPECT_TRUE(form().controller().ProjectModified());

    // The next time the dialog shows the marker; the target systems go
    // through their own dialog.
    grid().setCurrentCell(0, 1);
    EXPECT_TRUE(page().B_INIEdit->isEnabled());
    fake.modal.handler = [](QDialog &dialog) {
        if (dialog.objectName() == QStringLiteral("SystemForm")) {
            auto &systems = static_cast<TSystemForm &>(dialog);
            for (int i = 0; i < systems.CLB_System->count(); ++i)
                systems.setChecked(i, i == 1);
            return int(QDialog::Accepted);
        }
        auto &e = static_cast<TINIEditor &>(dialog);
        EXPECT_EQ(e.E_INIValue->text(), QStringLiteral("{emp}"));
        e.E_INIValue->setText(QStringLiteral("{app}"));
        e.Ch_UninstINIKey->setChecked(true);
        e.Ch_CreateINIKey->setChecked(false);
        e.B_TargetSysClick();
        e.B_OK->click();
        return e.result();
    };
    page().B_INIEditClick();
    const IniEntry &entry = doc().IniEntries[0];
    EXPECT_EQ(entry.Value, "{app}");
    EXPECT_TRUE(entry.Uninstall);
    EXPECT_FALSE(entry.Create);
    EXPECT_EQ(entry.TargetSystems, targetSystemMask([] {
                  TargetSystemChecks checks{};
                  checks[1] = true;
                  return checks;
              }()));
    EXPECT_EQ(grid().cell(0, 5), QStringLiteral("Yes"));
    EXPECT_EQ(grid().cell(0, 7), QStringLiteral("No"));
    EXPECT_EQ(grid().cell(0, 8), QString::number(entry.TargetSystems));
}

TEST_F(IniPageTest, DeletingTheFirstOfThreeMovesTheOthersUp)
{
    addEntry("a.ini");
    addEntry("b.ini");
    addEntry("c.ini");
    ASSERT_EQ(grid().rowCount(), 4);
    form().controller().SetModified(false);

    grid().setCurrentCell(0, 1);
    page().B_INIDeleteClick();
    EXPECT_TRUE(fake.messages.shown.empty());
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(grid().cell(0, 1), QStringLiteral("b.ini"));
    EXPECT_EQ(grid().cell(1, 1), QStringLiteral("c.ini"));
    EXPECT_EQ(row(2).join(QString()), QString());
    EXPECT_TRUE(form().controller().ProjectModified());
    // The current row is now the second entry.
    EXPECT_EQ(doc().Selection.IniEntry, 0);

    // The placeholder is no entry: nothing to delete there.
    grid().setCurrentCell(2, 1);
    EXPECT_FALSE(page().B_INIDelete->isEnabled());
    page().B_INIDeleteClick();
    EXPECT_EQ(doc().IniEntries.size(), 2u);

    // A load shows the document's entries afresh.
    doc().IniEntries.pop_back();
    page().load();
    EXPECT_EQ(grid().rowCount(), 2);
}

} // namespace
} // namespace wharf
