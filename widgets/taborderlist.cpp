#include "taborderlist.h"

namespace wharf {

void TabOrderList::purge()
{
    m_items.removeIf([](const QPointer<QWidget> &item) { return item.isNull(); });
}

void TabOrderList::append(QWidget *widget)
{
    purge();
    if (widget && indexOf(widget) < 0)
        m_items.push_back(widget);
}

void TabOrderList::remove(const QObject *object)
{
    m_items.removeIf([object](const QPointer<QWidget> &item) { return item.isNull() || item.data() == object; });
}

int TabOrderList::indexOf(const QObject *object) const
{
    int index = 0;
    for (const QPointer<QWidget> &item : m_items) {
        if (item.isNull())
            continue;
        if (item.data() == object)
            return index;
        ++index;
    }
    return -1;
}

void TabOrderList::move(QWidget *widget, int index)
{
    purge();
    const int current = indexOf(widget);
    if (current < 0)
        return;
    m_items.removeAt(current);
    if (index < 0 || index >= m_items.size() + 1)
        index = static_cast<int>(m_items.size());
    m_items.insert(index, widget);
}

QList<QWidget *> TabOrderList::widgets() const
{
    QList<QWidget *> result;
    for (const QPointer<QWidget> &item : m_items)
        if (!item.isNull())
            result.push_back(item.data());
    return result;
}

void TabOrderList::applyToFocusChain() const
{
    const QList<QWidget *> list = widgets();
    for (qsizetype i = 1; i < list.size(); ++i)
        QWidget::setTabOrder(list[i - 1], list[i]);
}

} // namespace wharf
