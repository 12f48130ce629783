#pragma once
// TabOrderList: the ordered list of a container's windowed children that
// the navigation bar and its headers keep as their tab order (a button's
// ButtonIndex and a header's HeaderIndex are positions in it). Children
// join at the end; moving one to a position outside the list puts it last.
// Entries are guarded: a destroyed child simply drops out.

#include <QList>
#include <QPointer>
#include <QWidget>

namespace wharf {

class TabOrderList {
public:
    // Appends widget unless it is already listed.
    void append(QWidget *widget);
    // Drops object (and any destroyed entry).
    void remove(const QObject *object);
    // The position of object, -1 when not listed.
    int indexOf(const QObject *object) const;
    // Moves a listed widget to index; index < 0 or >= count puts it last.
    // Nothing for a widget that is not listed.
    void move(QWidget *widget, int index);
    // The live entries in order.
    QList<QWidget *> widgets() const;
    int count() const { return static_cast<int>(widgets().size()); }
    // Makes Qt's focus chain follow the list.
    void applyToFocusChain() const;

private:
    void purge();

    QList<QPointer<QWidget>> m_items;
};

} // namespace wharf
