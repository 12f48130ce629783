// Where the file dialogs of both programs start, and the size a dialog of
// Qt's own is given.

#include "seams.h"

#include "files.h"
#include "textfit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace wharf {
namespace {

TEST(FileDialogStartTest, ThePathsFolderElseTheLastFolderElseTheDocumentsFolder)
{
    ScratchFolder dir;
    ASSERT_TRUE(createFolder(dir.file("edited")));
    ASSERT_TRUE(createFolder(dir.file("last")));
    ASSERT_TRUE(createFolder(dir.file("documents")));
    const QString edited = QString::fromStdString(dir.file("edited"));
    const QString last = QString::fromStdString(dir.file("last"));
    const QString documents = QString::fromStdString(dir.file("documents"));
    const QString gone = QString::fromStdString(dir.file("gone"));
    struct Case {
        const char *what;
        QString initialDir;
        QString fileName;
        QString lastFolder;
        QString expected;
    };
    const Case cases[] = {
        {"the folder of the path", edited, {}, last, edited},
        {"a Windows-style folder", QString(edited).replace(u'/', u'\\'), {}, last, edited},
        {"the folder of the preset name", {}, edited + "/readme.rtf", last, edited},
        {"a folder that is gone", gone, gone + "/x.ddf", last, last},
        {"an empty field", {}, {}, last, last},
        {"a pattern as the name", {}, QStringLiteral("*.ddf"), last, last},
        {"no last folder", {}, {}, {}, documents},
        {"a last folder that is gone", {}, {}, gone, documents},
    };
    for (const Case &c : cases) {
        FileDialogRequest request;
        request.initialDir = c.initialDir;
        request.fileName = c.fileName;
        EXPECT_EQ(fileDialogStartFolder(request, c.lastFolder, documents), c.expected) << c.what;
    }
    EXPECT_TRUE(QFileInfo(userDocumentsFolder()).isDir());
}

TEST(FileDialogSizeTest, QtsOwnDialogShowsEveryColumnsTitleWhole)
{
    ScratchFolder dir;
    // More files than the list shows at once: its scroll bar takes room too.
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(writeFile(dir.file("setup-file-" + std::to_string(i) + ".exe"), "MZ"));
    QFileDialog dialog(nullptr, QStringLiteral("Open"), QString::fromStdString(dir.path()),
                       QStringLiteral("All files (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    fitFileDialog(dialog);
    dialog.show();
    QApplication::processEvents();
    const QHeaderView *header = view->header();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        EXPECT_GE(header->sectionSize(section), header->sectionSizeHint(section)) << section;
    }
    // The date column holds a date and time as the list writes them.
    const QString date = QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat);
    EXPECT_GT(header->sectionSize(3), QFontMetrics(view->font()).horizontalAdvance(date));
    EXPECT_TRUE(testing::fitsScreen(dialog));
    // All of the columns are in sight.
    EXPECT_LE(header->sectionPosition(3) + header->sectionSize(3), view->viewport()->width());
}

} // namespace
} // namespace wharf
