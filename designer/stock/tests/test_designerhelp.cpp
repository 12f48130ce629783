// The designer's help as the program folder ships it: the help menu opens
// the designer's and the script language's pages without a complaint, and
// F1 in each of the designer's windows opens that window's topic.

#include "designer.h"
#include "fakeseams.h"
#include "files.h"
#include "paths.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>

#include <set>

namespace wharf {
namespace {

const QString kProgramFolder = QStringLiteral(WHARF_PROGRAM_FOLDER "/");

std::set<QString> anchorsOf(const QString &page)
{
    const std::optional<std::string> text = readFile((kProgramFolder + page).toStdString());
    std::set<QString> anchors;
    if (!text)
        return anchors;
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &m : id.globalMatch(QString::fromStdString(*text)))
        anchors.insert(m.captured(1));
    return anchors;
}

class DesignerHelp : public ::testing::Test {
protected:
    ScratchFolder dir;
    testing::FakeSeams fake;
    TDesigner designer{fake.seams(), kProgramFolder, QString::fromStdString(dir.path())};

    QString trigger(const char *action)
    {
        QAction *item = designer.main().findChild<QAction *>(QString::fromLatin1(action));
        if (!item)
            return QStringLiteral("<no action>");
        item->trigger();
        return fake.processes.documents.empty() ? QString() : fake.processes.documents.back();
    }
};

TEST_F(DesignerHelp, TheHelpMenuOpensTheShippedPages)
{
    EXPECT_TRUE(trigger("MI_Help").endsWith(QStringLiteral("/Wharfdraft.html")));
    EXPECT_TRUE(trigger("MI_ScriptHelp").endsWith(QStringLiteral("/ddscript.html")));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(DesignerHelp, FOneInEveryWindowOpensItsTopic)
{
    const std::set<QString> topics = anchorsOf(QStringLiteral("Wharfdraft.html"));
    QWidget *const windows[] = {&designer.main(), &designer.preferences(), &designer.ctlProperties(),
                                &designer.dlgProps(), &designer.editCLB(), &designer.debugResults()};
    for (QWidget *window : windows) {
        const QString topic = window->objectName();
        EXPECT_TRUE(topics.count(topic)) << "no topic " << topic.toStdString();
        const size_t before = fake.processes.documents.size();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
        ASSERT_EQ(fake.processes.documents.size(), before + 1) << topic.toStdString();
        EXPECT_TRUE(fake.processes.documents.back().endsWith(QStringLiteral("Wharfdraft.html#") + topic))
            << fake.processes.documents.back().toStdString();
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

} // namespace
} // namespace wharf
