#include "compileform.h"

#include "shellstate.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kHelpContext = 115;
// Beyond this many characters the window starts afresh rather than let a
// long compile's text grow without end.
constexpr int kMaxMessageCharacters = 4 * 1024 * 1024;

} // namespace

const QString TCompileForm::kCancelCaption = QStringLiteral("&Cancel");
const QString TCompileForm::kOKCaption = QStringLiteral("OK");
const QString TCompileForm::kStoppingCaption = QStringLiteral("Stopping...");

TCompileForm::TCompileForm(ShellState &shell, QWidget *mainWindow, QWidget *parent)
    : QDialog(parent), m_shell(shell), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("CompileForm"));
    setWindowTitle(QStringLiteral("Compiler messages"));
    setProperty("helpContext", kHelpContext);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);

    RE_CompileMessages = new QTextEdit(this);
    RE_CompileMessages->setObjectName(QStringLiteral("RE_CompileMessages"));
    RE_CompileMessages->setReadOnly(true);
    RE_CompileMessages->setLineWrapMode(QTextEdit::NoWrap);
    // Both bars, each shown while there is something to scroll to: a window
    // widened to its longest line has no sideways bar left.
    RE_CompileMessages->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RE_CompileMessages->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette face = RE_CompileMessages->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    RE_CompileMessages->setPalette(face);
    PB_CompProc = new QProgressBar(this);
    PB_CompProc->setObjectName(QStringLiteral("PB_CompProc"));
    PB_CompProc->setRange(0, 100);
    PB_CompProc->setValue(0);
    PB_CompProc->setTextVisible(false);
    PB_Minor = new QProgressBar(this);
    PB_Minor->setObjectName(QStringLiteral("PB_Minor"));
    PB_Minor->setRange(0, 100);
    PB_Minor->setValue(0);
    PB_Minor->setTextVisible(false);
    B_OK = new QPushButton(kCancelCaption, this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_OK->setAutoDefault(true);
    connect(B_OK, &QPushButton::clicked, this, &TCompileForm::B_OKClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RE_CompileMessages, 1);
    layout->addWidget(PB_CompProc);
    layout->addWidget(PB_Minor);
    layout->addLayout(buttons);
    resize(480, 340);

    ClearMessages();
    AddLine(QStringLiteral("Saving script file..."), false);
}

void TCompileForm::ClearMessages()
{
    RE_CompileMessages->clear();
    m_lineCount = 0;
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setForeground(Qt::black);
    RE_CompileMessages->setCurrentCharFormat(plain);
}

void TCompileForm::AddLine(const QString &text, bool error)
{
    QTextDocument *document = RE_CompileMessages->document();
    if (document->characterCount() + text.size() > kMaxMessageCharacters)
        ClearMessages();
    QTextCharFormat format;
    format.setFontWeight(error ? QFont::Bold : QFont::Normal);
    format.setForeground(error ? QColor(255, 0, 0) : QColor(Qt::black));
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // The first line goes into the document's empty first block.
    if (m_lineCount > 0)
        cursor.insertBlock();
    ++m_lineCount;
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format);
    // The caret goes to the start of the new line, so the view shows the
    // last line from its start: following the caret to the end of a long
    // line would scroll every line's start out of sight.
    cursor.movePosition(QTextCursor::StartOfBlock);
    RE_CompileMessages->setTextCursor(cursor);
    RE_CompileMessages->setCurrentCharFormat(format);
    RE_CompileMessages->ensureCursorVisible();
    RE_CompileMessages->horizontalScrollBar()->setValue(0);
}

QStringList TCompileForm::lines() const
{
    QStringList result;
    const QTextDocument *document = RE_CompileMessages->document();
    if (m_lineCount == 0)
        return result;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        result << block.text();
    return result;
}

void TCompileForm::B_OKClick()
{
    // The window never goes while the compiler runs: the main window would
    // come back with a compile still writing the output folder.
    if (m_compiling) {
        cancelCompile();
        return;
    }
    if (B_OK->text() != kCancelCaption || m_shell.CompileCancelled) {
        QDialog::reject();
        return;
    }
    cancelCompile();
}

void TCompileForm::cancelCompile()
{
    if (m_shell.CompileCancelled)
        return;
    m_shell.CompileCancelled = true;
    B_OK->setEnabled(false);
    // The compiler may take a while to reach its next stop: the author sees
    // at once that the click was taken.
    B_OK->setText(kStoppingCaption);
    B_OK->repaint();
}

void TCompileForm::reject()
{
    // Escape or the window's close box must not take the window away from
    // a running compile: they cancel it, as the button does.
    if (m_compiling) {
        cancelCompile();
        return;
    }
    QDialog::reject();
}

void TCompileForm::FormHide()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
    if (OnHide)
        OnHide();
}

void TCompileForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // A window the window system hides (minimised) is still the compile's
    // result in front of a main window that waits for it to be closed.
    if (!event->spontaneous())
        FormHide();
}

} // namespace wharf
