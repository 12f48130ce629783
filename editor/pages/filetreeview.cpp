#include "filetreeview.h"

#include <QAction>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>

namespace wharf {

TFileTreeView::TFileTreeView(QWidget *parent) : QTreeView(parent) {}

QAction *TFileTreeView::actionForKey(const QKeyEvent *event) const
{
    const QKeySequence pressed(event->keyCombination());
    for (QAction *action : m_keyActions)
        if (action && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return action;
    return nullptr;
}

bool TFileTreeView::event(QEvent *event)
{
    // Claiming the key here keeps the main menu's item with the same key
    // from taking it; the key then arrives as a key press.
    if (event->type() == QEvent::ShortcutOverride && actionForKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTreeView::event(event);
}

void TFileTreeView::keyPressEvent(QKeyEvent *event)
{
    if (QAction *action = actionForKey(event)) {
        if (onKey)
            onKey(action);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TFileTreeView::mousePressEvent(QMouseEvent *event)
{
    // The view sees the press first: it starts a label edit only for a
    // second click on a node that was selected before the press, so a node
    // made current ahead of it would turn every first click into an edit.
    QTreeView::mousePressEvent(event);
    if (onMouseDown)
        onMouseDown(event->position().toPoint());
}

void TFileTreeView::startDrag(Qt::DropActions)
{
    const QModelIndex dragged = currentIndex();
    if (!dragged.isValid() || !model())
        return;
    QMimeData *data = model()->mimeData({dragged});
    if (!data)
        return;
    // The drop itself moves the node in the document; nothing is removed
    // here afterwards, whatever the drop reports.
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

} // namespace wharf
