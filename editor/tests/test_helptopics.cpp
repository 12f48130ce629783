// The help the programs open: every topic the editor's windows, pages and
// menus ask for exists in the shipped help, F1 in each window beside the
// main window and in each open menu opens its topic, every control the help
// names is in the window its topic is about, and every link between the help
// pages lands on an existing page and anchor.

#include "addddfileform.h"
#include "addfileform.h"
#include "billboardeditor.h"
#include "compileform.h"
#include "copyform.h"
#include "helpkey.h"
#include "dumpform.h"
#include "editorfixture.h"
#include "editorpage.h"
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
#include "mainnavigation.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "pagetable.h"
#include "paths.h"
#include "previewform.h"
#include "readform.h"
#include "regeditor.h"
#include "searchpathform.h"
#include "scriptmemo.h"
#include "shellstate.h"
#include "startform.h"
#include "systemform.h"
#include "varform.h"
#include "verform.h"
#include "warningform.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextDocumentFragment>
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

// A text as the help and a control's caption are compared: without the
// accelerator's "&", a closing ":" or "...", outer blanks, and case.
QString comparable(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    text = text.simplified();
    for (const QString &end : {QStringLiteral("..."), QStringLiteral(":")})
        if (text.endsWith(end))
            text.chop(end.size());
    return text.trimmed().toCaseFolded();
}

// Each topic of the help with the controls it names: the help writes a
// control's caption in <i> and a list of fields as a <dt> term (several
// separated by ", "). A topic runs from its anchor to the next anchor.
std::vector<std::pair<QString, QStringList>> namedControls(const QString &html)
{
    static const QRegularExpression anchor(QStringLiteral("<\\w+[^>]*\\bid=\"([^\"]+)\""));
    static const QRegularExpression named(QStringLiteral("<i>(.*?)</i>|<dt[^>]*>(.*?)</dt>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    std::vector<std::pair<QString, qsizetype>> starts;
    for (const QRegularExpressionMatch &m : anchor.globalMatch(html))
        starts.emplace_back(m.captured(1), m.capturedStart());
    std::vector<std::pair<QString, QStringList>> topics;
    for (size_t i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1].second : html.size();
        const QString section = html.mid(starts[i].second, end - starts[i].second);
        QStringList names;
        for (const QRegularExpressionMatch &m : named.globalMatch(section)) {
            const QString text = QTextDocumentFragment::fromHtml(m.captured(1) + m.captured(2)).toPlainText();
            names << (m.captured(2).isEmpty() ? QStringList{text} : text.split(QStringLiteral(", ")));
        }
        topics.emplace_back(starts[i].first, names);
    }
    return topics;
}

// Every caption a window shows: labels, buttons, group boxes, tabs, column
// headers, menu items and menus, the navigation bar's captions, and the
// window's title.
void collectCaptions(const QWidget &root, std::set<QString> &captions)
{
    const auto add = [&](const QString &text) {
        if (!text.isEmpty())
            captions.insert(comparable(text));
    };
    std::function<void(const QWidget &)> visit = [&](const QWidget &widget) {
        add(widget.windowTitle());
        if (const auto *label = qobject_cast<const QLabel *>(&widget))
            add(label->text());
        if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
            add(button->text());
        if (const auto *group = qobject_cast<const QGroupBox *>(&widget))
            add(group->title());
        if (const auto *tabs = qobject_cast<const QTabWidget *>(&widget))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i));
        if (const auto *header = qobject_cast<const QHeaderView *>(&widget); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                add(header->model()->headerData(i, header->orientation()).toString());
        if (const auto *navButton = qobject_cast<const TNavButton *>(&widget))
            add(navButton->Caption());
        if (const auto *navHeader = qobject_cast<const TNavBarHeader *>(&widget))
            add(navHeader->Caption());
        for (const QAction *action : widget.actions()) {
            add(action->text());
            if (action->menu() && action->menu() != &widget)
                visit(*action->menu());
        }
        for (const QWidget *child : widget.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            visit(*child);
    };
    visit(root);
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

// The windows the editor makes outside its creation list.
struct OtherWindows {
    explicit OtherWindows(const Seams &seams) : searchPath(nullptr, seams) {}
    ShellState shell;
    TWarningForm warning{shell};
    TCopyForm copy;
    TVerForm versions;
    TSearchPathForm searchPath;
    TInputWindow input;
    TStartForm start;
};

TEST_F(HelpTopicsTest, FOneInEveryWindowOpensItsOwnTopic)
{
    OtherWindows other(fake.seams());
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
        {&other.warning, "WarningForm"},         {&other.copy, "CopyForm"},
        {&other.versions, "VerForm"},            {&other.searchPath, "SearchPathForm"},
        {&other.input, "InputWindow"},
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

// Each topic of the help is about a window, a page, a tab or the menus; a
// field, button, tab or menu item the topic names is one of its controls.
TEST_F(HelpTopicsTest, EveryControlTheHelpNamesIsInTheWindowOfItsTopic)
{
    const OtherWindows other(fake.seams()); // found below by their object names
    TMainForm &main = *windows.MainForm;
    QWidget *menus = main.menuBar();
    // The widgets of each topic, by object name; none for a topic that is
    // about no window.
    const std::map<QString, QStringList> topicWidgets{
        {"start", {}},
        {"27", {"MM_MainMenu"}},
        {"10", {"TS_AppInfo", "H_General"}},
        {"SystemForm", {"SystemForm"}},
        {"11", {"TS_Layout"}},
        {"PreviewForm", {"TS_Layout", "PreviewForm"}},
        {"12", {"TS_LangFiles"}},
        {"13", {"Page_Components", "H_Components"}},
        {"14", {"TS_Dialogs", "H_Dialogs"}},
        {"stock", {}},
        {"BillboardEditor", {"BillboardEditor"}},
        {"15", {"TS_Scripting"}},
        {"16", {"TS_FilesGroups", "H_Files"}},
        {"FileEditor", {"FileEditor"}},
        {"AddFileForm", {"AddFileForm", "AddDDFileForm"}},
        {"DumpForm", {"DumpForm"}},
        {"SearchPathForm", {"SearchPathForm"}},
        {"GlobalChangeForm", {"GlobalChangeForm"}},
        {"17", {"TS_InstTypes"}},
        {"18", {"TS_AdditionalFiles"}},
        {"19", {"Page_Icons", "H_Icons", "IconEditor"}},
        {"20", {"Page_Registry", "H_Registry"}},
        {"RegEditor", {"RegEditor"}},
        {"InputWindow", {"InputWindow"}},
        {"21", {"Page_Ini", "H_Ini", "INIEditor"}},
        {"22", {"TS_Uninstall", "H_Uninstall"}},
        {"23", {"TS_Autorun"}},
        {"24", {"TS_ExExtensions", "H_Extensions", "ExExecutableEditor"}},
        {"25", {"TS_DllExtensions", "ExDllEditor"}},
        {"26", {"Page_Compile", "H_Compile"}},
        {"WarningForm", {"WarningForm"}},
        {"CopyForm", {"CopyForm"}},
        {"115", {"CompileForm"}},
        {"8", {"VarForm"}},
        {"117", {"MM_MainMenu"}},
        {"3", {"InfoForm"}},
        {"VerForm", {"VerForm"}},
        {"ReadForm", {"ReadForm"}},
        {"StartForm", {"StartForm"}},
    };
    const auto widgetNamed = [&](const QString &name) -> QWidget * {
        if (name == menus->objectName())
            return menus;
        for (QWidget *widget : QApplication::allWidgets())
            if (widget->objectName() == name && (widget->isWindow() || widget->window() == &main))
                return widget;
        return nullptr;
    };
    const auto topics = namedControls(readText(QStringLiteral("wharfwright.html")));
    ASSERT_FALSE(topics.empty());
    for (const auto &[topic, names] : topics) {
        const auto known = topicWidgets.find(topic);
        if (known == topicWidgets.end()) {
            ADD_FAILURE() << "topic " << topic.toStdString() << " is about no known window";
            continue;
        }
        std::set<QString> captions;
        for (const QString &name : known->second) {
            QWidget *widget = widgetNamed(name);
            ASSERT_NE(widget, nullptr) << name.toStdString();
            collectCaptions(*widget, captions);
        }
        if (known->second.isEmpty())
            continue;
        for (const QString &name : names)
            EXPECT_TRUE(captions.count(comparable(name)))
                << "topic " << topic.toStdString() << " names \"" << name.toStdString() << "\", which "
                << known->second.join(u'+').toStdString() << " does not show";
    }
}

// F1 in an open menu: the menus of the menu bar (and their submenus) open
// the menus' topic, a page's pop-up menu the topic of the page shown.
TEST_F(HelpTopicsTest, FOneInAMenuOpensTheTopicOfWhatItBelongsTo)
{
    TMainForm &main = *windows.MainForm;
    main.show();
    QMenu reopen;
    QMenu *file = main.findChild<QMenu *>(QStringLiteral("MI_File"));
    ASSERT_NE(file, nullptr);
    file->addAction(QStringLiteral("&Reopen"))->setMenu(&reopen); // a submenu without a parent
    const auto menuOf = [&](int page, const char *name) {
        main.MI_Steps[static_cast<size_t>(page)]->trigger();
        return main.page(page)->findChild<QMenu *>(QString::fromLatin1(name));
    };
    const struct {
        std::function<QMenu *()> open;
        QString topic;
    } cases[] = {
        {[&] { return file; }, "27"},
        {[&] { return main.findChild<QMenu *>(QStringLiteral("MI_Options")); }, "27"},
        {[&] { return &reopen; }, "27"},
        {[&] { return menuOf(kFilesPage, "PM_FileTree"); }, "16"},
        {[&] { return menuOf(kRegistryPage, "PM_Registry"); }, "20"},
        {[&] { return menuOf(kCompilePage, "PM_OutputFiles"); }, "26"},
        {[&] {
             main.MI_Steps[kDialogsPage]->trigger();
             main.page(kDialogsPage)->tabControl()->setCurrentIndex(1);
             return main.page(kDialogsPage)->findChild<QMenu *>(QStringLiteral("PM_SMemo"));
         },
         "15"},
    };
    for (const auto &c : cases) {
        QMenu *menu = c.open();
        ASSERT_NE(menu, nullptr) << c.topic.toStdString();
        EXPECT_TRUE(topics.count(c.topic));
        const size_t before = fake.processes.documents.size();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
        ASSERT_EQ(fake.processes.documents.size(), before + 1) << menu->objectName().toStdString();
        EXPECT_TRUE(fake.processes.documents.back().endsWith(QStringLiteral("wharfwright.html#") + c.topic))
            << menu->objectName().toStdString() << " opened " << fake.processes.documents.back().toStdString();
    }
    file->removeAction(file->actions().back());

    // Without the help file the author is told so in a box of the window
    // the menu belongs to, not of the menu, which closes as the box shows.
    ASSERT_TRUE(deleteFile(programFolder + "wharfwright.html"));
    for (const auto &c : cases) {
        QMenu *menu = c.open();
        fake.messages.shown.clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
        ASSERT_EQ(fake.messages.shown.size(), 1u) << menu->objectName().toStdString();
        EXPECT_EQ(fake.messages.shown[0].type, MsgDlgType::Error);
        EXPECT_EQ(fake.messages.shown[0].parent, &main) << menu->objectName().toStdString();
    }
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
