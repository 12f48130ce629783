#include "layouttaborder.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QList>
#include <QScrollArea>
#include <QSet>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace wharf {
namespace {

// A widget the Tab key stops at: it takes focus by Tab itself rather than
// handing it to a proxy.
bool takesTab(const QWidget &widget)
{
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget.focusProxy();
}

class Collector {
public:
    explicit Collector(QWidget &container) : m_window(container.window())
    {
        // The chain as it stands gives the inner order of widgets without a
        // layout of their own.
        for (QWidget *w = m_window->nextInFocusChain(); w && w != m_window; w = w->nextInFocusChain()) {
            if (m_chain.contains(w))
                break;
            m_chain.push_back(w);
        }
    }

    void widget(QWidget *w)
    {
        if (!w || m_seen.contains(w) || (w->isWindow() && w != m_window))
            return;
        m_seen.insert(w);
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            atom(tabs->tabBar());
            for (int i = 0; i < tabs->count(); ++i)
                widget(tabs->widget(i));
            rest(w);
            return;
        }
        if (auto *scroll = qobject_cast<QScrollArea *>(w); scroll && scroll->widget()) {
            add(w);
            widget(scroll->widget());
            return;
        }
        if (auto *splitter = qobject_cast<QSplitter *>(w)) {
            for (int i = 0; i < splitter->count(); ++i)
                widget(splitter->widget(i));
            rest(w);
            return;
        }
        if (QLayout *layout = w->layout()) {
            add(w);
            items(layout);
            rest(w);
            return;
        }
        atom(w);
    }

    QList<QWidget *> stops;

private:
    // The stops of w and everything inside it, in the chain's order.
    void atom(QWidget *w)
    {
        m_seen.insert(w);
        for (QWidget *c : m_chain)
            if ((c == w || w->isAncestorOf(c)) && c->window() == m_window)
                add(c);
    }

    // Children of w that no layout placed, in the order they were made.
    void rest(QWidget *w)
    {
        for (QObject *child : w->children())
            if (auto *c = qobject_cast<QWidget *>(child))
                widget(c);
    }

    void add(QWidget *w)
    {
        if (takesTab(*w) && w->window() == m_window && !stops.contains(w))
            stops.push_back(w);
    }

    void items(QLayout *layout)
    {
        struct Placed {
            int row;
            int column;
            int index;
            QLayoutItem *item;
        };
        QList<Placed> placed;
        const auto *box = qobject_cast<QBoxLayout *>(layout);
        const bool reversed = box && (box->direction() == QBoxLayout::RightToLeft ||
                                      box->direction() == QBoxLayout::BottomToTop);
        for (int i = 0; i < layout->count(); ++i) {
            Placed p{0, 0, reversed ? -i : i, layout->itemAt(i)};
            if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
                int rowSpan = 0;
                int columnSpan = 0;
                grid->getItemPosition(i, &p.row, &p.column, &rowSpan, &columnSpan);
            } else if (auto *form = qobject_cast<QFormLayout *>(layout)) {
                QFormLayout::ItemRole role = QFormLayout::LabelRole;
                form->getItemPosition(i, &p.row, &role);
                p.column = role == QFormLayout::FieldRole ? 1 : 0;
            }
            placed.push_back(p);
        }
        std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
            return std::tie(a.row, a.column, a.index) < std::tie(b.row, b.column, b.index);
        });
        for (const Placed &p : placed) {
            if (QWidget *w = p.item->widget())
                widget(w);
            else if (QLayout *inner = p.item->layout())
                items(inner);
        }
    }

    QWidget *m_window;
    QList<QWidget *> m_chain;
    QSet<QWidget *> m_seen;
};

} // namespace

void setTabOrderFromLayout(QWidget &container)
{
    Collector collector(container);
    collector.widget(&container);
    const QList<QWidget *> &stops = collector.stops;
    for (qsizetype i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

} // namespace wharf
