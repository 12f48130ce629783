#pragma once
// TVarForm, the variables palette: a small window listing the path
// variables ("{app} - Application folder", ...) from which the author drags
// an entry into a text box of an entry dialog, where the variable's token
// is inserted at the caret.
//
// Entry dialogs take part in two ways:
//  - registerDropTarget(box) for each of their text boxes (a QLineEdit, or
//    an editable QComboBox): the box then accepts drags from the palette's
//    list and nothing else, and a drop replaces its selection with the
//    token (or inserts it at the caret);
//  - attachToDialog(dialog): while the dialog is shown and VariablesShown
//    is set, the palette is a tool window of that dialog, so it stays usable
//    beside it although the dialog is modal; when the dialog hides, the
//    palette goes back to being a window of its own (shown again when
//    VariablesShown is set).

#include <QDialog>
#include <QWidget>
#include <QListWidget>
#include <QPointer>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;

namespace wharf {

struct ShellState;

// The 28 entries of the palette, in their order.
const QStringList &variableEntries();

// The variable of an entry: its text up to and including the first "}"
// ("{sys32} - System directory (32-bit)" gives "{sys32}"); the whole text
// when it has no "}".
QString VariableToken(const QString &entry);

// The palette's list box: dragging an entry carries it as this program's
// private variable data.
class TVariableList : public QListWidget {
    Q_OBJECT
public:
    explicit TVariableList(QWidget *parent = nullptr);

    // The drag data for the entry in row, as a drag from this list carries
    // it. The caller owns it; it is recognised as this list's drag only as
    // long as it lives (a drag owns and frees its data when it ends).
    QMimeData *createDragData(int row) const;

    // True when data is the data of a drag that this list started and
    // that is still running.
    bool isOwnDrag(const QMimeData *data) const;

    // The entry that data carries; empty when it is not this list's drag.
    QString draggedEntry(const QMimeData *data) const;

protected:
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }

private:
    mutable QPointer<QMimeData> m_dragData;
};

class TVarForm : public QWidget {
    Q_OBJECT
public:
    // shell: VariablesShown decides whether the palette follows a dialog;
    // must outlive the form.
    explicit TVarForm(ShellState &shell, QWidget *parent = nullptr);
    ~TVarForm() override;

    QLabel *L_Caption;
    TVariableList *LB_Variables;

    int helpContext() const { return 8; }

    // Makes box a drop target of the palette (see the header comment).
    void registerDropTarget(QLineEdit *box);
    void registerDropTarget(QComboBox *box);

    // Lets the palette follow dialog while it is shown (see the header
    // comment). The palette never outlives being the dialog's child: it
    // leaves the dialog when the dialog hides or is destroyed.
    void attachToDialog(QDialog *dialog);

    // The window the palette is a tool window of now; null when it is a
    // window of its own.
    QDialog *hostDialog() const { return m_host; }

    // Inserts the entry's token into box (a QLineEdit or an editable
    // QComboBox), replacing its selection or at the caret. False for any
    // other widget.
    static bool insertVariable(QWidget *box, const QString &entry);

signals:
    // The author closed the palette's window with its close button.
    void closedByAuthor();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Sizes the window about width x height so that its list shows whole
    // rows only, and fixes that size.
    void fitWholeRows(int width, int height);
    bool handleDropEvent(QWidget *box, QEvent *event);
    void followDialog(QDialog *dialog);
    void leaveDialog(QDialog *dialog);

    ShellState &m_shell;
    QPointer<QDialog> m_host;
    bool m_leaving = false;
};

} // namespace wharf
