#include "scriptmemo.h"

#include "codec.h"
#include "fonts.h"
#include "programfolder.h"
#include "scripthighlighter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyle>
#include <QVBoxLayout>

namespace wharf {
namespace {

const QString kCommandFile = QStringLiteral("script.dat");
// The command list shows this many whole rows.
constexpr int kCommandRows = 5;
const QString kHelpFile = QStringLiteral("ddscript.hlp");

struct ModuleState {
    bool highlightSyntax = false;
    bool suppressHighlight = false;
    QPointer<QPlainTextEdit> targetEdit;
    QString commandSearchText;
    bool commandFileReported = false;
};

ModuleState &state()
{
    static ModuleState s;
    return s;
}

bool highlightingOn() { return state().highlightSyntax; }

bool isWordDelimiter(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u' ' || c == u'\t' || c == u'(' || c == u')' || c == u',' ||
           c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

bool isCommandKey(int key) { return key == Qt::Key_L || key == Qt::Key_H; }

// The command name of a list line: the text after its first blank (the
// whole line when it has none).
QString commandName(const QString &line)
{
    const qsizetype blank = line.indexOf(u' ');
    return blank < 0 ? line : line.mid(blank + 1);
}

// What inserting a list line puts into the script: the name, "(" and a
// blank, ", " for every parameter after the first, and ")". A line without
// "(" inserts only the name.
QString insertionFor(const QString &line)
{
    const qsizetype paren = line.indexOf(u'(');
    if (paren < 0)
        return commandName(line);
    QString s = line.left(paren + 1);
    // The category word goes; a line without one keeps its name.
    const qsizetype blank = s.indexOf(u' ');
    if (blank >= 0)
        s.remove(0, blank + 1);
    s += u' ';
    const qsizetype commas = line.count(u',');
    for (qsizetype i = 0; i < commas; ++i)
        s += QStringLiteral(", ");
    s += u')';
    return s;
}

// "script.dat" is Windows-1252 text unless it starts with a UTF-8 byte
// order mark.
QStringList decodeLines(const QByteArray &bytes)
{
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else
        text = QString::fromStdString(fromWindows1252(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

} // namespace

TScriptMemo::TScriptMemo(QWidget *parent, const Seams &seams)
    : QFrame(parent), m_seams(&seams), m_programFolder(wharf::programFolder()), m_help(m_programFolder, seams)
{
    setObjectName(QStringLiteral("ScriptMemo"));

    M_Script = new QPlainTextEdit(this);
    M_Script->setObjectName(QStringLiteral("M_Script"));
    M_Script->setFont(storedFont(QStringLiteral("Courier New"), 10));
    M_Script->setLineWrapMode(QPlainTextEdit::NoWrap);
    M_Script->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    M_Script->setToolTip(QStringLiteral(
        "Press Ctrl+L to get a complete command list or CTRL+H to get help on a script command."));
    M_Script->setContextMenuPolicy(Qt::CustomContextMenu);
    M_Script->installEventFilter(this);

    LB_Commands = new QListWidget(this);
    LB_Commands->setObjectName(QStringLiteral("LB_Commands"));
    LB_Commands->setGeometry(10, 10, 296, 69);
    LB_Commands->setToolTip(QStringLiteral("Double-click on an item or press RETURN to insert it."));
    LB_Commands->setFrameStyle(QFrame::Box | QFrame::Plain);
    LB_Commands->setUniformItemSizes(true);
    LB_Commands->hide();
    LB_Commands->installEventFilter(this);
    connect(LB_Commands, &QListWidget::itemDoubleClicked, this, [this] { LB_CommandsDblClick(LB_Commands); });

    PM_SMemo = new QMenu(this);
    PM_SMemo->setObjectName(QStringLiteral("PM_SMemo"));
    MI_Copy = PM_SMemo->addAction(QStringLiteral("&Copy"));
    MI_Copy->setObjectName(QStringLiteral("MI_Copy"));
    MI_Copy->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    MI_Cut = PM_SMemo->addAction(QStringLiteral("C&ut"));
    MI_Cut->setObjectName(QStringLiteral("MI_Cut"));
    MI_Cut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    MI_Paste = PM_SMemo->addAction(QStringLiteral("&Paste"));
    MI_Paste->setObjectName(QStringLiteral("MI_Paste"));
    MI_Paste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    N2 = PM_SMemo->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    MI_Refresh = PM_SMemo->addAction(QStringLiteral("Re&fresh syntax highlight"));
    MI_Refresh->setObjectName(QStringLiteral("MI_Refresh"));
    // The edit handles the clipboard keys itself; the menu only shows them.
    for (QAction *action : {MI_Copy, MI_Cut, MI_Paste})
        action->setShortcutContext(Qt::WidgetShortcut);
    connect(PM_SMemo, &QMenu::aboutToShow, this, [this] { PM_SMemoPopup(PM_SMemo); });
    connect(MI_Copy, &QAction::triggered, this, [this] { MI_CopyClick(MI_Copy); });
    connect(MI_Cut, &QAction::triggered, this, [this] { MI_CutClick(MI_Cut); });
    connect(MI_Paste, &QAction::triggered, this, [this] { MI_PasteClick(MI_Paste); });
    connect(MI_Refresh, &QAction::triggered, this, [this] { MI_RefreshClick(MI_Refresh); });
    connect(M_Script, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PM_SMemo->popup(M_Script->viewport()->mapToGlobal(pos)); });

    m_highlighter = new ScriptHighlighter(M_Script->document(), &highlightingOn);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(M_Script);
}

TScriptMemo::~TScriptMemo() = default;

QStringList TScriptMemo::Lines() const
{
    const QString text = M_Script->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void TScriptMemo::setLines(const QStringList &lines) { M_Script->setPlainText(lines.join(u'\n')); }

void TScriptMemo::setProgramFolder(const QString &folder)
{
    m_programFolder = folder;
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(u'/') && !m_programFolder.endsWith(u'\\'))
        m_programFolder += u'/';
    m_help.setProgramFolder(m_programFolder);
}

bool TScriptMemo::HighlightSyntax() { return state().highlightSyntax; }
void TScriptMemo::setHighlightSyntax(bool on) { state().highlightSyntax = on; }
bool TScriptMemo::SuppressHighlight() { return state().suppressHighlight; }
QString TScriptMemo::CommandSearchText() { return state().commandSearchText; }
QPlainTextEdit *TScriptMemo::TargetEdit() { return state().targetEdit; }
void TScriptMemo::forgetCommandFileReport() { state().commandFileReported = false; }

void TScriptMemo::M_ScriptChange(QObject *)
{
    if (state().highlightSyntax && !state().suppressHighlight)
        m_highlighter->rehighlight();
}

bool TScriptMemo::loadCommands()
{
    QFile file(m_programFolder + kCommandFile);
    if (!file.open(QIODevice::ReadOnly)) {
        // Reported once: the message box takes the focus, and every return
        // into an edit would otherwise report it again.
        if (!state().commandFileReported) {
            state().commandFileReported = true;
            showError(*m_seams, window(),
                      QStringLiteral("Cannot open file \"%1\". %2").arg(file.fileName(), file.errorString()));
        }
        return false;
    }
    LB_Commands->addItems(decodeLines(file.readAll()));
    return true;
}

void TScriptMemo::fitCommandRows()
{
    if (LB_Commands->count() == 0)
        return;
    // The list is as high as its rows and the scroll bar it needs below
    // them, so no row is cut at its bottom.
    const int frame = 2 * LB_Commands->frameWidth();
    const int bar = LB_Commands->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, LB_Commands);
    const int sideBar = LB_Commands->count() > kCommandRows ? bar : 0;
    const bool wide = LB_Commands->sizeHintForColumn(0) > LB_Commands->width() - frame - sideBar;
    // Decided here rather than by the list, so the height allows for it.
    LB_Commands->setHorizontalScrollBarPolicy(wide ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    LB_Commands->resize(LB_Commands->width(), frame + kCommandRows * LB_Commands->sizeHintForRow(0) + (wide ? bar : 0));
}

void TScriptMemo::M_ScriptEnter(QObject *)
{
    if (LB_Commands->count() == 0)
        loadCommands();
}

QString TScriptMemo::selectWordAtCaret(bool wholeWord)
{
    QTextCursor cursor = M_Script->textCursor();
    if (cursor.hasSelection())
        return cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    const QTextDocument *document = M_Script->document();
    const int caret = cursor.position();
    int start = caret;
    while (start > 0 && !isWordDelimiter(document->characterAt(start - 1)))
        --start;
    int end = caret;
    // characterAt gives a null character past the end.
    if (wholeWord)
        while (!document->characterAt(end).isNull() && !isWordDelimiter(document->characterAt(end)))
            ++end;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    M_Script->setTextCursor(cursor);
    return cursor.selectedText();
}

bool TScriptMemo::M_ScriptKeyDown(QObject *, int Key, Qt::KeyboardModifiers Shift)
{
    state().suppressHighlight = false;
    if (!(Shift & Qt::ControlModifier) || !isCommandKey(Key))
        return false;
    const bool commandList = Key == Qt::Key_L;
    if (commandList && LB_Commands->count() == 0)
        return true;
    state().suppressHighlight = true;
    state().commandSearchText.clear();
    state().targetEdit = M_Script;
    // The list searches by the letters typed so far; help needs the whole
    // name, wherever in it the caret stands.
    const QString word = selectWordAtCaret(!commandList);

    if (!commandList) {
        // The help's topics are named as the command list spells the
        // commands; a command typed in another case still finds its topic.
        QString topic = word;
        for (int row = 0; row < LB_Commands->count(); ++row) {
            QString name = commandName(LB_Commands->item(row)->text());
            name.truncate(name.indexOf(u'(') < 0 ? name.size() : name.indexOf(u'('));
            if (name.compare(word, Qt::CaseInsensitive) == 0) {
                topic = name;
                break;
            }
        }
        m_help.showKeyword(window(), kHelpFile, topic);
        return true;
    }
    int row = 0;
    if (!word.isEmpty()) {
        const QString wanted = word.toUpper();
        const int last = LB_Commands->count() - 1;
        for (row = 0; row < last; ++row)
            if (commandName(LB_Commands->item(row)->text()).toUpper().startsWith(wanted))
                break;
    }
    LB_Commands->setCurrentRow(row);
    // Measured as shown: the rows' height follows the font the list has
    // in its window.
    LB_Commands->ensurePolished();
    fitCommandRows();
    LB_Commands->show();
    LB_Commands->raise();
    LB_Commands->setFocus();
    return true;
}

void TScriptMemo::LB_CommandsDblClick(QObject *)
{
    const QListWidgetItem *item = LB_Commands->currentItem();
    if (!item)
        return;
    const QString insertion = insertionFor(item->text());
    QPlainTextEdit *target = state().targetEdit ? state().targetEdit.data() : M_Script;
    m_closingList = true;
    LB_Commands->hide();
    m_closingList = false;
    target->textCursor().insertText(insertion);
    target->setFocus();
}

void TScriptMemo::LB_CommandsExit(QObject *)
{
    if (m_closingList || LB_Commands->isHidden())
        return;
    m_closingList = true;
    LB_Commands->hide();
    m_closingList = false;
    QPlainTextEdit *target = state().targetEdit ? state().targetEdit.data() : M_Script;
    target->setFocus();
}

bool TScriptMemo::LB_CommandsKeyDown(QObject *Sender, int Key)
{
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
        LB_CommandsDblClick(Sender);
        return true;
    }
    if (Key == Qt::Key_Escape) {
        LB_CommandsExit(Sender);
        return true;
    }
    return false;
}

void TScriptMemo::LB_CommandsKeyPress(QObject *, QChar Key)
{
    QString &search = state().commandSearchText;
    if (Key == u'\r')
        return;
    if (Key == u'\b') {
        if (search.size() < 2)
            search.clear();
        else
            search.chop(1);
    } else {
        search += Key;
    }
    const int count = LB_Commands->count();
    if (count == 0)
        return;
    const QString wanted = search.toUpper();
    int row = 0;
    for (; row < count - 1; ++row)
        if (QString::compare(commandName(LB_Commands->item(row)->text()).toUpper(), wanted) >= 0)
            break;
    LB_Commands->setCurrentRow(row);
}

void TScriptMemo::PM_SMemoPopup(QObject *)
{
    const bool selected = M_Script->textCursor().hasSelection();
    MI_Copy->setEnabled(selected);
    MI_Cut->setEnabled(selected);
    MI_Paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
}

void TScriptMemo::MI_CopyClick(QObject *) { M_Script->copy(); }
void TScriptMemo::MI_CutClick(QObject *) { M_Script->cut(); }
void TScriptMemo::MI_PasteClick(QObject *) { M_Script->paste(); }

void TScriptMemo::MI_RefreshClick(QObject *)
{
    state().suppressHighlight = false;
    // Without highlighting the highlighter sets no format, so this also
    // takes every colour away.
    m_highlighter->rehighlight();
}

bool TScriptMemo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == M_Script) {
        switch (event->type()) {
        case QEvent::FocusIn:
            M_ScriptEnter(M_Script);
            break;
        case QEvent::ShortcutOverride: {
            // Keep window shortcuts on these keys from taking them away.
            auto *key = static_cast<QKeyEvent *>(event);
            if ((key->modifiers() & Qt::ControlModifier) && isCommandKey(key->key())) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (M_ScriptKeyDown(M_Script, key->key(), key->modifiers()))
                return true;
            break;
        }
        default: break;
        }
    } else if (watched == LB_Commands) {
        switch (event->type()) {
        case QEvent::FocusOut:
            LB_CommandsExit(LB_Commands);
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (LB_CommandsKeyDown(LB_Commands, key->key()))
                return true;
            const QString text = key->text();
            // Printable characters and backspace search; everything else
            // (arrows, page keys) moves in the list as usual.
            if (text.size() == 1 && (text.front() == u'\b' || text.front().unicode() >= 32) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                LB_CommandsKeyPress(LB_Commands, text.front());
                return true;
            }
            break;
        }
        default: break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace wharf
