#pragma once
// TFileTreeView: the tree view of the files page. A press of any mouse
// button selects the node under the pointer (a label edit starts only with
// a second click on the selected node, or its key), a drag moves the selected
// node (only inside the tree), and the keys of the pop-up menu's items act
// on the tree while it has the focus, before the main menu's items with the
// same keys (Ctrl+N, Ctrl+A).

#include <QTreeView>

#include <functional>
#include <vector>

class QAction;

namespace wharf {

class TFileTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TFileTreeView(QWidget *parent = nullptr);

    // The items whose keys the tree takes while focused; a key runs onKey
    // with the item (the page decides whether it applies).
    void setKeyActions(std::vector<QAction *> actions) { m_keyActions = std::move(actions); }
    std::function<void(QAction *)> onKey;
    // A press of a mouse button at a point of the viewport, told after the
    // view has handled it.
    std::function<void(QPoint)> onMouseDown;

    // The pop-up item whose key is event's, or null.
    QAction *actionForKey(const QKeyEvent *event) const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    std::vector<QAction *> m_keyActions;
};

} // namespace wharf
