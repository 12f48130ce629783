#include "infoform.h"

#include "fakeseams.h"
#include "files.h"
#include "ownfiles.h"
#include "verform.h"
#include "builtfolders.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include <cstdlib>

namespace wharf {
namespace {

QString fixture(const QString &name) { return QStringLiteral(WHARF_FIXTURE_DIR "/") + name; }

QString programFile(const QString &name)
{
    return QString::fromStdString(wharf::testing::builtProgramFolder()) + u'/' + name;
}

QStringList row(const QTableWidget &grid, int r)
{
    QStringList cells;
    for (int c = 0; c < grid.columnCount(); ++c)
        cells << (grid.item(r, c) ? grid.item(r, c)->text() : QString());
    return cells;
}

TEST(TInfoFormTest, ShowsVersionBuildAndLink)
{
    testing::FakeSeams fake;
    TInfoForm form(nullptr, fake.seams(), fixture(QStringLiteral("ver-fixed.exe")),
                   QStringLiteral("https://example.org/wharf"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(form.L_Version->text(), QStringLiteral("Version 2.0 Professional"));
    EXPECT_EQ(form.L_Build->text(), QStringLiteral("(Build 3.4)")); // from 1.2.3.4
    EXPECT_FALSE(form.I_Logo->pixmap().isNull());
    EXPECT_TRUE(form.B_OK->isDefault());
    EXPECT_EQ(form.B_Versions->text(), QStringLiteral("&Version info..."));
    EXPECT_FALSE(form.L_WebSite->isHidden());
    EXPECT_EQ(form.L_WebSite->cursor().shape(), Qt::PointingHandCursor);

    // The editor built here has no version resource: the build's version.
    const TInfoForm plain(nullptr, fake.seams(), fixture(QStringLiteral("nores.exe")), QString());
    EXPECT_EQ(plain.L_Build->text(), QStringLiteral("(Build 1.14)"));
    EXPECT_TRUE(plain.L_WebSite->isHidden());
}

TEST(TInfoFormTest, TheLinkIsUnderlinedUnderTheMouseAndOpensTheAddress)
{
    testing::FakeSeams fake;
    TInfoForm form(nullptr, fake.seams(), QString(), QStringLiteral("https://example.org/wharf"));
    form.FormMouseMove(form.L_WebSite);
    EXPECT_TRUE(form.L_WebSite->font().underline());
    form.FormMouseMove(form.B_OK);
    EXPECT_FALSE(form.L_WebSite->font().underline());

    // Through the events the controls receive.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.L_WebSite, &move);
    EXPECT_TRUE(form.L_WebSite->font().underline());
    QMouseEvent away(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &away);
    EXPECT_FALSE(form.L_WebSite->font().underline());

    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(form.L_WebSite, &release);
    ASSERT_EQ(fake.processes.documents.size(), 1u);
    EXPECT_EQ(fake.processes.documents[0], QStringLiteral("https://example.org/wharf"));
}

TEST(TInfoFormTest, VersionInfoShowsTheVersionWindowInPlaceOfTheAboutBox)
{
    testing::FakeSeams fake;
    const QStringList ownFiles{programFile(QStringLiteral("setup.bin"))};
    TInfoForm form(nullptr, fake.seams());
    form.setOwnFileList(&ownFiles);
    form.show();
    QStringList shownRow;
    bool aboutVisible = true;
    fake.modal.handler = [&](QDialog &dialog) {
        auto &versions = dynamic_cast<TVerForm &>(dialog);
        versions.FormShow();
        shownRow = row(*versions.SG_Versions, 0);
        aboutVisible = form.isVisible();
        return int(QDialog::Accepted);
    };
    form.B_VersionsClick();
    EXPECT_EQ(fake.modal.shown.size(), 1u);
    EXPECT_FALSE(aboutVisible);
    EXPECT_EQ(shownRow, (QStringList{"setup.bin", "Setup runtime placeholder", "2.0.0.0"}));
    EXPECT_FALSE(form.isVisible());
}

TEST(TVerFormTest, ListsTheOwnFilesWithDescriptionAndVersion)
{
    ScratchFolder scratch;
    ASSERT_TRUE(writeFile(scratch.file("wharfwright"), "\x7f" "ELF"));
    ASSERT_TRUE(writeFile(scratch.file("Sample.wfc"), "\x7f" "ELF"));
    const QStringList files{QString::fromStdString(scratch.file("wharfwright")),
                            programFile(QStringLiteral("Wharfspeak.exe")), programFile(QStringLiteral("SETUP.BIN")),
                            programFile(QStringLiteral("setupldr.bin")), QString::fromStdString(scratch.file("Sample.wfc"))};
    TVerForm form(nullptr, files);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Version information"));
    EXPECT_EQ(form.L_WinVer->text(), QString::fromStdString(operatingSystemLine()));
    ASSERT_EQ(form.SG_Versions->columnCount(), 3);
    EXPECT_EQ(form.SG_Versions->horizontalHeaderItem(0)->text(), QStringLiteral("File name"));
    EXPECT_EQ(form.SG_Versions->horizontalHeaderItem(1)->text(), QStringLiteral("Description"));
    EXPECT_EQ(form.SG_Versions->horizontalHeaderItem(2)->text(), QStringLiteral("Version"));
    EXPECT_EQ(form.SG_Versions->columnWidth(1), 257);

    for (int pass = 0; pass < 2; ++pass) { // rebuilt, not appended, each time
        form.FormShow();
        ASSERT_EQ(form.SG_Versions->rowCount(), 5);
        EXPECT_EQ(row(*form.SG_Versions, 0), (QStringList{"wharfwright", "Brindlewharf setup project editor", "2.0.1.14"}));
        EXPECT_EQ(row(*form.SG_Versions, 1), (QStringList{"wharfspeak.exe", "", ""}));
        // setup.bin under another spelling is missing here; shown lower case.
        EXPECT_EQ(row(*form.SG_Versions, 2), (QStringList{"setup.bin", "", ""}));
        EXPECT_EQ(row(*form.SG_Versions, 3), (QStringList{"setupldr.bin", "Setup loader placeholder", "2.0.0.0"}));
        EXPECT_EQ(row(*form.SG_Versions, 4), (QStringList{"sample.wfc", "", ""}));
    }

    TVerForm empty(nullptr, {});
    empty.FormShow();
    EXPECT_EQ(empty.SG_Versions->rowCount(), 1);
    EXPECT_EQ(row(*empty.SG_Versions, 0), (QStringList{"", "", ""}));
}

} // namespace
} // namespace wharf
