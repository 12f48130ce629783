// The help the programs open: every topic the editor's windows and pages
// ask for exists in the shipped help, F1 in each window beside the main
// window opens that window's topic, and every link between the help pages
// lands on an existing page and anchor.

#include "addddfileform.h"
#include "addfileform.h"
#include "billboardeditor.h"
#include "compileform.h"
#include "copyform.h"
#include "helpkey.h"
#include "dumpform.h"
#include "editorfixture.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "fileeditor.h"
#include "helpservice.h"
#include "files.h"
#include "globalchangeform.h"
#include "iconeditor.h"
#include "infoform.h"
#include "inieditor.h"
#include "inputwindow.h"
#include "mainform.h"
#include "pagetable.h"
#include "paths.h"
#include "previewform.h"
#include "readform.h"
#include "regeditor.h"
#include "searchpathform.h"
#include "shellstate.h"
#include "systemform.h"
#include "varform.h"
#include "verform.h"
#include "warningform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QUrl>

#include <map>
#include <set>

namespace wharf {
namespace {

using testing::EditorFixture;

const QString kDataFolder = QStringLiteral(WHARF_EDITOR_DATA);

QString readText(const QString &name)
{
    const std::optional<std::string> text = readFile((kDataFolder + name).toStdString());
    return text ? QString::fromStdString(*text) : QString();
}

std::set<QString> anchorsOf(const QString &page)
{
    std::set<QString> anchors;
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &m : id.globalMatch(readText(page)))
        anchors.insert(m.captured(1));
    return anchors;
}

class HelpTopicsTest : public ::testing::Test, public EditorFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copyFile((kDataFolder + "wharfwright.html").toStdString(), programFolder + "wharfwright.html"));
        start();
        topics = anchorsOf(QStringLiteral("wharfwright.html"));
        ASSERT_FALSE(topics.empty());
    }

    // Presses F1 in the first line edit of the window (the window itself
    // when it has none) and returns the document opened, or empty.
    QString pressF1In(QWidget &window)
    {
        QWidget *target = window.findChild<QLineEdit *>();
        if (!target)
            target = &window;
        const size_t before = fake.processes.documents.size();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        return fake.processes.documents.size() > before ? fake.processes.documents.back() : QString();
    }

    std::set<QString> topics;
};

TEST_F(HelpTopicsTest, EveryPageAndTabTopicExists)
{
    std::vector<int> contexts{27, 117}; // the menus, "Show variables"
    for (const PageInfo &page : editorPages()) {
        contexts.push_back(page.helpContext);
        for (const PageTab &tab : page.tabs)
            contexts.push_back(tab.helpContext);
    }
    for (int context : contexts)
        EXPECT_TRUE(topics.count(QString::number(context))) << "no topic " << context;
}

TEST_F(HelpTopicsTest, FOneInEveryWindowOpensItsOwnTopic)
{
    ShellState shell;
    TWarningForm warning(shell);
    TCopyForm copy;
    TVerForm versions;
    TSearchPathForm searchPath(nullptr, fake.seams());
    TInputWindow input;
    // Each window with the topic it must open: its help context where it
    // has one, its own topic otherwise.
    const std::vector<std::pair<QWidget *, QString>> windowsAndTopics{
        {windows.DumpForm.get(), "16"},          {windows.AddDDFileForm.get(), "16"},
        {windows.AddFileForm.get(), "16"},       {windows.FileEditor.get(), "16"},
        {windows.GlobalChangeForm.get(), "GlobalChangeForm"},
        {windows.VarForm.get(), "8"},            {windows.PreviewForm.get(), "PreviewForm"},
        {windows.BillboardEditor.get(), "14"},   {windows.SystemForm.get(), "SystemForm"},
        {windows.IconEditor.get(), "19"},        {windows.RegEditor.get(), "20"},
        {windows.INIEditor.get(), "21"},         {windows.ExExecutableEditor.get(), "24"},
        {windows.ExDllEditor.get(), "25"},       {windows.CompileForm.get(), "115"},
        {windows.ReadForm.get(), "ReadForm"},    {windows.InfoForm.get(), "3"},
        {&warning, "WarningForm"},               {&copy, "CopyForm"},
        {&versions, "VerForm"},                  {&searchPath, "SearchPathForm"},
        {&input, "InputWindow"},
    };
    for (const auto &[window, topic] : windowsAndTopics) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(helpTopicOf(*window), topic) << window->objectName().toStdString();
        EXPECT_TRUE(topics.count(topic)) << "no topic " << topic.toStdString();
        const QString opened = pressF1In(*window);
        EXPECT_TRUE(opened.endsWith(QStringLiteral("wharfwright.html#") + topic))
            << window->objectName().toStdString() << " opened \"" << opened.toStdString() << "\"";
    }
    EXPECT_TRUE(fake.messages.shown.empty());

    // Shift+F1 is no help key, and the main window keeps its own F1, which
    // follows the page shown.
    const size_t before = fake.processes.documents.size();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
    QApplication::sendEvent(windows.InfoForm.get(), &press);
    EXPECT_EQ(fake.processes.documents.size(), before);
    HelpService help(QString::fromStdString(programFolder), fake.seams());
    TDialogHelpKey key(help, QStringLiteral("wharfwright.hlp"), windows.MainForm.get());
    EXPECT_FALSE(key.showHelpFor(*windows.MainForm->centralWidget()));
    EXPECT_EQ(fake.processes.documents.size(), before);
}

// Every link of the shipped help pages, within a page or to another one,
// lands on a page that is shipped and on an anchor it holds; every command
// of the command list has its topic in the script help.
TEST(HelpPages, LinksAndCommandTopicsResolve)
{
    const QStringList pages{QStringLiteral("wharfwright.html"), QStringLiteral("ddscript.html"),
                            QStringLiteral("Wharfdraft.html")};
    std::map<QString, std::set<QString>> anchors;
    for (const QString &page : pages)
        anchors[page] = anchorsOf(page);
    static const QRegularExpression href(QStringLiteral("\\bhref=\"([^\"]*)\""));
    for (const QString &page : pages) {
        for (const QRegularExpressionMatch &m : href.globalMatch(readText(page))) {
            const QString link = m.captured(1);
            const qsizetype hash = link.indexOf(u'#');
            const QString target = hash == 0 ? page : link.left(hash < 0 ? link.size() : hash);
            const QString anchor = hash < 0 ? QString() : link.mid(hash + 1);
            ASSERT_TRUE(anchors.count(target)) << page.toStdString() << ": " << link.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(anchors[target].count(anchor)) << page.toStdString() << ": " << link.toStdString();
            }
        }
    }
    const QStringList commands = readText(QStringLiteral("script.dat")).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(commands.isEmpty());
    for (const QString &line : commands) {
        const QString name = line.section(u' ', 1).section(u'(', 0, 0);
        EXPECT_TRUE(anchors[QStringLiteral("ddscript.html")].count(name)) << line.toStdString();
    }
}

} // namespace
} // namespace wharf
