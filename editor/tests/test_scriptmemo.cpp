#include "scriptmemo.h"

#include "fakeseams.h"
#include "files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>

namespace wharf {
namespace {

// "script.dat" is Windows-1252: 0xE4 is "ä".
const char kCommands[] = "File FileCopy(Source, Dest)\r\n"
                         "Message MessageBox(Text, Caption)\r\n"
                         "Message MessageBeep(Kind)\r\n"
                         "Flow Exit\r\n"
                         "Beep(Kind)\r\n"
                         "String StrL\xE4nge(Text)\r\n";

class TScriptMemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TScriptMemo::forgetCommandFileReport();
        TScriptMemo::setHighlightSyntax(false);
        m_memo.setProgramFolder(QString::fromStdString(m_folder.path()));
    }

    void writeCommands() { ASSERT_TRUE(writeFile(m_folder.file("script.dat"), kCommands)); }

    // Sets the text and puts the caret at position.
    void setText(const QString &text, int position)
    {
        m_memo.M_Script->setPlainText(text);
        QTextCursor cursor = m_memo.M_Script->textCursor();
        cursor.setPosition(position);
        m_memo.M_Script->setTextCursor(cursor);
    }

    void pressCtrl(Qt::Key key) { QTest::keyClick(m_memo.M_Script, key, Qt::ControlModifier); }
    QString selected() const { return m_memo.M_Script->textCursor().selectedText(); }
    int row() const { return m_memo.LB_Commands->currentRow(); }

    ScratchFolder m_folder;
    testing::FakeSeams m_fake;
    TScriptMemo m_memo{nullptr, m_fake.seams()};
};

TEST_F(TScriptMemoTest, LoadsTheCommandListOnceOnEntry)
{
    writeCommands();
    EXPECT_EQ(m_memo.M_Script->font().family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(m_memo.M_Script->toolTip().startsWith(QStringLiteral("Press Ctrl+L")));
    m_memo.M_ScriptEnter(m_memo.M_Script);
    ASSERT_EQ(m_memo.LB_Commands->count(), 6);
    EXPECT_EQ(m_memo.LB_Commands->item(0)->text(), QStringLiteral("File FileCopy(Source, Dest)"));
    EXPECT_EQ(m_memo.LB_Commands->item(5)->text(), QStringLiteral("String StrLänge(Text)"));
    EXPECT_FALSE(m_memo.LB_Commands->isVisible());
    m_memo.M_ScriptEnter(m_memo.M_Script);
    EXPECT_EQ(m_memo.LB_Commands->count(), 6);
    EXPECT_TRUE(m_fake.messages.shown.empty());
}

TEST_F(TScriptMemoTest, MissingCommandFileIsReportedOnceAndCtrlLDoesNothing)
{
    TScriptMemo other(nullptr, m_fake.seams());
    other.setProgramFolder(QString::fromStdString(m_folder.path()));
    m_memo.M_ScriptEnter(m_memo.M_Script);
    m_memo.M_ScriptEnter(m_memo.M_Script);
    other.M_ScriptEnter(other.M_Script);
    ASSERT_EQ(m_fake.messages.shown.size(), 1u);
    EXPECT_EQ(m_fake.messages.shown[0].type, MsgDlgType::Error);
    EXPECT_TRUE(m_fake.messages.shown[0].text.contains(QString::fromStdString(m_folder.file("script.dat"))));

    setText(QStringLiteral("Mes"), 3);
    pressCtrl(Qt::Key_L);
    EXPECT_FALSE(m_memo.LB_Commands->isVisibleTo(&m_memo));
    EXPECT_EQ(selected(), QString()); // nothing selected either
    EXPECT_EQ(m_memo.M_Script->toPlainText(), QStringLiteral("Mes"));

    // Once the file is there, the next entry loads it.
    writeCommands();
    m_memo.M_ScriptEnter(m_memo.M_Script);
    EXPECT_EQ(m_memo.LB_Commands->count(), 6);
}

TEST_F(TScriptMemoTest, CtrlLSelectsTheWordAndTheCommandNamedByIt)
{
    writeCommands();
    m_memo.M_ScriptEnter(m_memo.M_Script);

    // The word "mes" also starts the category "Message": only the name counts.
    setText(QStringLiteral("if x then\n  mes"), 15);
    pressCtrl(Qt::Key_L);
    EXPECT_EQ(selected(), QStringLiteral("mes"));
    EXPECT_EQ(row(), 1);
    EXPECT_TRUE(m_memo.LB_Commands->isVisibleTo(&m_memo));
    EXPECT_TRUE(TScriptMemo::SuppressHighlight());
    EXPECT_EQ(TScriptMemo::TargetEdit(), m_memo.M_Script);

    const struct {
        QString text;
        int caret;
        QString word;
        int row;
    } cases[] = {
        {QStringLiteral("x(MESSAGEBE"), 11, QStringLiteral("MESSAGEBE"), 2},
        {QStringLiteral("a, strl"), 7, QStringLiteral("strl"), 5},
        {QStringLiteral("\tfilec"), 6, QStringLiteral("filec"), 0},
        {QStringLiteral("zzz"), 3, QStringLiteral("zzz"), 5},       // no match: the last item
        {QStringLiteral("MessageBox "), 11, QString(), 0},            // after a blank: item 0
        {QStringLiteral("Mess x"), 4, QStringLiteral("Mess"), 1},     // the word ends at the caret
    };
    for (const auto &c : cases) {
        m_memo.LB_Commands->hide();
        setText(c.text, c.caret);
        pressCtrl(Qt::Key_L);
        EXPECT_EQ(selected(), c.word) << c.text.toStdString();
        EXPECT_EQ(row(), c.row) << c.text.toStdString();
    }

    // A selection is taken as the word.
    m_memo.M_Script->setPlainText(QStringLiteral("call Beep now"));
    QTextCursor cursor = m_memo.M_Script->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    m_memo.M_Script->setTextCursor(cursor);
    pressCtrl(Qt::Key_L);
    EXPECT_EQ(selected(), QStringLiteral("Beep no"));
    EXPECT_EQ(row(), 5); // no name starts with "Beep no": the last item
}

TEST_F(TScriptMemoTest, InsertsTheCommandWithEmptyParameterPlaces)
{
    writeCommands();
    m_memo.M_ScriptEnter(m_memo.M_Script);
    const struct {
        int row;
        QString inserted;
    } cases[] = {
        {1, QStringLiteral("MessageBox( , )")},
        {2, QStringLiteral("MessageBeep( )")},
        {3, QStringLiteral("Exit")},    // no "(": the name alone
        {4, QStringLiteral("Beep( )")}, // no category: the name stays
        {0, QStringLiteral("FileCopy( , )")},
    };
    for (const auto &c : cases) {
        setText(QStringLiteral("x := mes;"), 8);
        pressCtrl(Qt::Key_L);
        m_memo.LB_Commands->setCurrentRow(c.row);
        m_memo.LB_CommandsDblClick(m_memo.LB_Commands);
        EXPECT_EQ(m_memo.M_Script->toPlainText(), QStringLiteral("x := ") + c.inserted + u';');
        EXPECT_FALSE(m_memo.LB_Commands->isVisibleTo(&m_memo));
    }

    // RETURN inserts, ESC only closes.
    setText(QStringLiteral("mes"), 3);
    pressCtrl(Qt::Key_L);
    QTest::keyClick(m_memo.LB_Commands, Qt::Key_Return);
    EXPECT_EQ(m_memo.M_Script->toPlainText(), QStringLiteral("MessageBox( , )"));
    setText(QStringLiteral("mes"), 3);
    pressCtrl(Qt::Key_L);
    QTest::keyClick(m_memo.LB_Commands, Qt::Key_Escape);
    EXPECT_FALSE(m_memo.LB_Commands->isVisibleTo(&m_memo));
    EXPECT_EQ(m_memo.M_Script->toPlainText(), QStringLiteral("mes"));
}

TEST_F(TScriptMemoTest, TypingIntoTheListSearchesByName)
{
    writeCommands();
    m_memo.M_ScriptEnter(m_memo.M_Script);
    setText(QString(), 0);
    pressCtrl(Qt::Key_L);
    EXPECT_EQ(TScriptMemo::CommandSearchText(), QString());
    QTest::keyClicks(m_memo.LB_Commands, QStringLiteral("me"));
    EXPECT_EQ(TScriptMemo::CommandSearchText(), QStringLiteral("me"));
    EXPECT_EQ(row(), 1); // "MESSAGEBOX(...)" is the first name not less than "ME"
    QTest::keyClicks(m_memo.LB_Commands, QStringLiteral("ssageBp"));
    EXPECT_EQ(row(), 5); // every name but the last's is less than "MESSAGEBP": the last
    QTest::keyClick(m_memo.LB_Commands, Qt::Key_Backspace);
    EXPECT_EQ(TScriptMemo::CommandSearchText(), QStringLiteral("messageB"));
    EXPECT_EQ(row(), 1);
    QTest::keyClicks(m_memo.LB_Commands, QStringLiteral("zz"));
    EXPECT_EQ(row(), 5); // nothing among all but the last: the last
    // Backspace on one character empties the text.
    pressCtrl(Qt::Key_L);
    QTest::keyClicks(m_memo.LB_Commands, QStringLiteral("e"));
    QTest::keyClick(m_memo.LB_Commands, Qt::Key_Backspace);
    EXPECT_EQ(TScriptMemo::CommandSearchText(), QString());
    EXPECT_EQ(row(), 0);
}

TEST_F(TScriptMemoTest, CtrlHShowsHelpOnTheWord)
{
    setText(QStringLiteral("MessageBox(x)"), 10);
    pressCtrl(Qt::Key_H);
    ASSERT_EQ(m_fake.messages.shown.size(), 1u); // no help document
    EXPECT_EQ(m_fake.messages.shown[0].text,
              QStringLiteral("Could not find the help file \"ddscript.hlp\" for the topic \"MessageBox\"."));

    ASSERT_TRUE(writeFile(m_folder.file("ddscript.html"), "<html></html>"));
    pressCtrl(Qt::Key_H);
    ASSERT_EQ(m_fake.processes.documents.size(), 1u);
    EXPECT_TRUE(m_fake.processes.documents[0].endsWith(QStringLiteral("ddscript.html#MessageBox")));
    EXPECT_TRUE(TScriptMemo::SuppressHighlight());
    QTest::keyClick(m_memo.M_Script, Qt::Key_A);
    EXPECT_FALSE(TScriptMemo::SuppressHighlight());
}

TEST_F(TScriptMemoTest, CtrlHFindsTheCommandsTopicWhateverTheCaseTyped)
{
    writeCommands();
    m_memo.M_ScriptEnter(m_memo.M_Script);
    ASSERT_TRUE(writeFile(m_folder.file("ddscript.html"), "<html></html>"));
    const struct {
        QString text;
        int caret;
        QString anchor;
    } cases[] = {
        {QStringLiteral("messagebox(x)"), 10, QStringLiteral("#MessageBox")},
        {QStringLiteral("MESSAGEBOX"), 10, QStringLiteral("#MessageBox")},
        {QStringLiteral("NoSuchCommand()"), 13, QStringLiteral("#NoSuchCommand")}, // kept as typed
        // The caret inside the name, or at its start: the whole name.
        {QStringLiteral("x := MessageBox(y)"), 9, QStringLiteral("#MessageBox")},
        {QStringLiteral("x := MessageBox(y)"), 5, QStringLiteral("#MessageBox")},
        {QStringLiteral("FileCopy"), 1, QStringLiteral("#FileCopy")},
    };
    for (const auto &c : cases) {
        setText(c.text, c.caret);
        pressCtrl(Qt::Key_H);
        ASSERT_FALSE(m_fake.processes.documents.empty());
        EXPECT_TRUE(m_fake.processes.documents.back().endsWith(c.anchor))
            << c.text.toStdString() << " -> " << m_fake.processes.documents.back().toStdString();
    }
}

// The command list shows whole rows only, with or without a scroll bar
// below them for lines wider than the list.
TEST_F(TScriptMemoTest, TheCommandListShowsWholeRows)
{
    const std::string wide = "Dialog SetControlProperty(DialogName, ControlName, PropertyName, Value)\r\n";
    for (const std::string &extra : {std::string(), wide}) {
        SCOPED_TRACE(extra.empty() ? "narrow" : "wide");
        ASSERT_TRUE(writeFile(m_folder.file("script.dat"), kCommands + extra));
        TScriptMemo memo(nullptr, m_fake.seams());
        memo.setProgramFolder(QString::fromStdString(m_folder.path()));
        memo.resize(500, 300);
        memo.show();
        memo.M_ScriptEnter(memo.M_Script);
        QTest::keyClick(memo.M_Script, Qt::Key_L, Qt::ControlModifier);
        ASSERT_TRUE(memo.LB_Commands->isVisible());
        QCoreApplication::processEvents();
        const int row = memo.LB_Commands->sizeHintForRow(0);
        ASSERT_GT(row, 0);
        EXPECT_EQ(memo.LB_Commands->viewport()->height(), 5 * row);
        EXPECT_EQ(memo.LB_Commands->horizontalScrollBar()->isVisible(), !extra.empty());
        EXPECT_EQ(memo.LB_Commands->width(), 296);
    }
}

// The formats the highlighter gave a line.
QList<QTextLayout::FormatRange> formatsOf(const TScriptMemo &memo, int line)
{
    return memo.M_Script->document()->findBlockByNumber(line).layout()->formats();
}

TEST_F(TScriptMemoTest, CommentLinesAreNavyItalic)
{
    TScriptMemo::setHighlightSyntax(true);
    m_memo.setLines({QStringLiteral("  // set up"), QStringLiteral("x := 1; // not a comment line"),
                     QStringLiteral("\t//tabbed"), QStringLiteral("/ / no")});
    m_memo.M_ScriptChange(m_memo.M_Script);
    const auto comment = formatsOf(m_memo, 0);
    ASSERT_EQ(comment.size(), 1);
    EXPECT_EQ(comment[0].start, 0);
    EXPECT_EQ(comment[0].length, 11);
    EXPECT_EQ(comment[0].format.foreground().color(), QColor(0, 0, 128));
    EXPECT_TRUE(comment[0].format.fontItalic());
    EXPECT_TRUE(formatsOf(m_memo, 1).isEmpty());
    EXPECT_EQ(formatsOf(m_memo, 2).size(), 1);
    EXPECT_TRUE(formatsOf(m_memo, 3).isEmpty());

    // Typing keeps the colouring up to date.
    QTextCursor cursor(m_memo.M_Script->document()->findBlockByNumber(1));
    cursor.insertText(QStringLiteral("//"));
    EXPECT_EQ(formatsOf(m_memo, 1).size(), 1);

    // With highlighting off, Refresh leaves everything plain.
    TScriptMemo::setHighlightSyntax(false);
    m_memo.MI_RefreshClick(m_memo.MI_Refresh);
    for (int line = 0; line < 4; ++line)
        EXPECT_TRUE(formatsOf(m_memo, line).isEmpty()) << line;
    EXPECT_EQ(m_memo.Lines().size(), 4);
}

TEST_F(TScriptMemoTest, ContextMenuFollowsSelectionAndClipboard)
{
    QApplication::clipboard()->clear();
    setText(QStringLiteral("Exit;"), 0);
    m_memo.PM_SMemoPopup(m_memo.PM_SMemo);
    EXPECT_FALSE(m_memo.MI_Copy->isEnabled());
    EXPECT_FALSE(m_memo.MI_Cut->isEnabled());
    EXPECT_FALSE(m_memo.MI_Paste->isEnabled());

    m_memo.M_Script->selectAll();
    m_memo.PM_SMemoPopup(m_memo.PM_SMemo);
    EXPECT_TRUE(m_memo.MI_Copy->isEnabled());
    m_memo.MI_CutClick(m_memo.MI_Cut);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Exit;"));
    EXPECT_TRUE(m_memo.M_Script->toPlainText().isEmpty());
    m_memo.PM_SMemoPopup(m_memo.PM_SMemo);
    EXPECT_TRUE(m_memo.MI_Paste->isEnabled());
    m_memo.MI_PasteClick(m_memo.MI_Paste);
    m_memo.MI_PasteClick(m_memo.MI_Paste);
    EXPECT_EQ(m_memo.M_Script->toPlainText(), QStringLiteral("Exit;Exit;"));
    EXPECT_EQ(m_memo.PM_SMemo->actions().size(), 5);
    EXPECT_TRUE(m_memo.N2->isSeparator());
}

} // namespace
} // namespace wharf
