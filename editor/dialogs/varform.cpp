#include "varform.h"

#include "shellstate.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

// The palette's private drag format: nothing outside this program reads
// it, and a text box takes a drop only when its data is the running drag
// of the palette's list.
const QString kVariableFormat = QStringLiteral("application/x-brindlewharf-variable");

const char *const kDropTargetProperty = "wharfVariableDropTarget";
const char *const kFollowedProperty = "wharfFollowedByPalette";

} // namespace

const QStringList &variableEntries()
{
    static const QStringList entries{
        QStringLiteral("{win} - Windows directory"),
        QStringLiteral("{sys} - System directory"),
        QStringLiteral("{sys32} - System directory (32-bit)"),
        QStringLiteral("{sys64} - System directory (64-bit)"),
        QStringLiteral("{tmp} - Temporary directory (Brindlewharf)"),
        QStringLiteral("{wtp} - Temporary directory (Windows)"),
        QStringLiteral("{pro} - Program folder"),
        QStringLiteral("{pro32} - Program folder (32-bit)"),
        QStringLiteral("{pro64} - Program folder (64-bit)"),
        QStringLiteral("{app} - Application folder"),
        QStringLiteral("{cmf} - Common files directory"),
        QStringLiteral("{cmf32} - Common files directory (32-bit)"),
        QStringLiteral("{cmf64} - Common files directory (64-bit)"),
        QStringLiteral("{src} - Source path"),
        QStringLiteral("{uni} - Uninstall folder"),
        QStringLiteral("{rgo} - User name (Register dialog)"),
        QStringLiteral("{rgc} - Company name (Register dialog)"),
        QStringLiteral("{emp} - Use this instead of empty strings"),
        QStringLiteral("{typ} - Name of selected installation type"),
        QStringLiteral("{cst} - Selected components of custom setup"),
        QStringLiteral("{lng} - Name of selected language file"),
        QStringLiteral("{prg} - Program group folder"),
        QStringLiteral("{prm} - Program menu folder"),
        QStringLiteral("{dsk} - Desktop"),
        QStringLiteral("{snd} - SendTo folder"),
        QStringLiteral("{stu} - Startup folder"),
        QStringLiteral("{fnt} - Fonts folder"),
        QStringLiteral("{per} - Personal folder"),
    };
    return entries;
}

QString VariableToken(const QString &entry)
{
    const qsizetype close = entry.indexOf(u'}');
    return close < 0 ? entry : entry.left(close + 1);
}

TVariableList::TVariableList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

QMimeData *TVariableList::createDragData(int row) const
{
    const QListWidgetItem *entry = item(row);
    if (!entry)
        return nullptr;
    auto *data = new QMimeData;
    data->setData(kVariableFormat, entry->text().toUtf8());
    m_dragData = data;
    return data;
}

bool TVariableList::isOwnDrag(const QMimeData *data) const
{
    return data && data == m_dragData.data() && data->hasFormat(kVariableFormat);
}

QString TVariableList::draggedEntry(const QMimeData *data) const
{
    return isOwnDrag(data) ? QString::fromUtf8(data->data(kVariableFormat)) : QString();
}

QMimeData *TVariableList::mimeData(const QList<QListWidgetItem *> &items) const
{
    if (items.isEmpty())
        return nullptr;
    return createDragData(row(items.front()));
}

TVarForm::TVarForm(ShellState &shell, QWidget *parent) : QWidget(parent), m_shell(shell)
{
    setObjectName(QStringLiteral("VarForm"));
    setProperty("HelpContext", helpContext());
    setWindowTitle(QStringLiteral("Variables"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Only the main window ends the program when it closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    L_Caption = new QLabel(this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    L_Caption->setTextFormat(Qt::PlainText);
    L_Caption->setText(QStringLiteral("You can use these variables in file paths, Registry and INI entries and so on.\n"
                                      "Use Drag&Drop to place the variables in the edit boxes."));
    L_Caption->setWordWrap(true);

    LB_Variables = new TVariableList(this);
    LB_Variables->setObjectName(QStringLiteral("LB_Variables"));
    LB_Variables->addItems(variableEntries());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Caption);
    layout->addWidget(LB_Variables);
    fitWholeRows(330, 420);
}

void TVarForm::fitWholeRows(int width, int height)
{
    const QMargins margins = layout()->contentsMargins();
    const int spacing = layout()->spacing();
    const int caption = L_Caption->heightForWidth(width - margins.left() - margins.right());
    const int frame = 2 * LB_Variables->frameWidth();
    const int row = std::max(1, LB_Variables->sizeHintForRow(0));
    const int room = height - margins.top() - margins.bottom() - caption - spacing - frame;
    const int rows = std::max(1, room / row);
    LB_Variables->setFixedHeight(rows * row + frame);
    setFixedSize(width, margins.top() + caption + spacing + rows * row + frame + margins.bottom());
}

TVarForm::~TVarForm() = default;

void TVarForm::registerDropTarget(QLineEdit *box)
{
    if (!box)
        return;
    box->setAcceptDrops(true);
    box->setProperty(kDropTargetProperty, true);
    box->installEventFilter(this);
}

void TVarForm::registerDropTarget(QComboBox *box)
{
    if (!box)
        return;
    if (QLineEdit *edit = box->lineEdit()) {
        registerDropTarget(edit);
        return;
    }
    // A drop-down list has no edit part: it refuses every drag.
    box->setAcceptDrops(true);
    box->setProperty(kDropTargetProperty, true);
    box->installEventFilter(this);
}

bool TVarForm::insertVariable(QWidget *box, const QString &entry)
{
    QLineEdit *edit = qobject_cast<QLineEdit *>(box);
    if (!edit)
        if (auto *combo = qobject_cast<QComboBox *>(box))
            edit = combo->lineEdit();
    if (!edit || edit->isReadOnly() || !edit->isEnabled())
        return false;
    edit->insert(VariableToken(entry));
    return true;
}

bool TVarForm::handleDropEvent(QWidget *box, QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    const QString entry = LB_Variables->draggedEntry(drop->mimeData());
    QLineEdit *edit = qobject_cast<QLineEdit *>(box);
    const bool accepted = !entry.isEmpty() && edit && !edit->isReadOnly() && edit->isEnabled();
    if (!accepted) {
        drop->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        insertVariable(edit, entry);
        edit->setFocus(Qt::OtherFocusReason);
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    return true;
}

void TVarForm::attachToDialog(QDialog *dialog)
{
    if (!dialog || dialog->property(kFollowedProperty).toBool())
        return;
    dialog->setProperty(kFollowedProperty, true);
    dialog->installEventFilter(this);
    // Qt deletes the children of a dialog that goes: the palette must not
    // be one of them.
    connect(dialog, &QObject::destroyed, this, [this, dialog] {
        if (parentWidget() == dialog)
            leaveDialog(dialog);
    });
}

void TVarForm::followDialog(QDialog *dialog)
{
    if (!m_shell.VariablesShown || parentWidget() == dialog)
        return;
    const QPoint position = pos();
    setParent(dialog, windowFlags());
    m_host = dialog;
    move(position);
    show();
}

void TVarForm::leaveDialog(QDialog *dialog)
{
    if (parentWidget() != dialog)
        return;
    const QPoint position = pos();
    m_leaving = true;
    hide();
    setParent(nullptr, windowFlags());
    m_leaving = false;
    m_host = nullptr;
    move(position);
    if (m_shell.VariablesShown)
        show();
}

bool TVarForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (watched->property(kDropTargetProperty).toBool())
            return handleDropEvent(static_cast<QWidget *>(watched), event);
        break;
    case QEvent::Show:
        if (watched->property(kFollowedProperty).toBool())
            followDialog(static_cast<QDialog *>(watched));
        break;
    case QEvent::Hide:
        if (watched->property(kFollowedProperty).toBool())
            leaveDialog(static_cast<QDialog *>(watched));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TVarForm::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && !m_leaving)
        emit closedByAuthor();
}

} // namespace wharf
