#include "tabchain.h"

#include "textfit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace wharf::testing {
namespace {

// Pixels two boxes may overlap and still be taken as one above, or left
// of, the other (frames and margins of neighbours touch).
constexpr int kSlack = 3;
// A focus chain is a ring; a broken one must not hang the test.
constexpr int kMaxChain = 100000;

bool isStop(const QWidget &widget, const QWidget &window)
{
    return widget.window() == &window && (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           !widget.focusProxy() && widget.isVisibleTo(&window) && !widget.size().isEmpty();
}

// The ancestors of widget up to window, widget first.
QList<const QWidget *> lineOf(const QWidget *widget, const QWidget &window)
{
    QList<const QWidget *> line;
    for (; widget; widget = widget->parentWidget()) {
        line << widget;
        if (widget == &window)
            break;
    }
    return line;
}

// Whether b comes after a when the window is read top to bottom and left
// to right, judged on the boxes they sit in under their nearest common
// container. A widget inside the other counts as after it.
bool readsAfter(const QWidget &a, const QWidget &b, const QWidget &window)
{
    const QList<const QWidget *> lineA = lineOf(&a, window);
    const QList<const QWidget *> lineB = lineOf(&b, window);
    qsizetype i = lineA.size() - 1;
    qsizetype j = lineB.size() - 1;
    while (i > 0 && j > 0 && lineA[i - 1] == lineB[j - 1]) {
        --i;
        --j;
    }
    if (i == 0 || j == 0)
        return true; // one holds the other
    const QRect boxA = lineA[i - 1]->geometry();
    const QRect boxB = lineB[j - 1]->geometry();
    if (boxB.top() >= boxA.bottom() - kSlack)
        return true;
    if (boxB.bottom() <= boxA.top() + kSlack)
        return false;
    if (boxB.left() >= boxA.right() - kSlack)
        return true;
    if (boxB.right() <= boxA.left() + kSlack)
        return false;
    return true; // the boxes overlap: nothing to read an order from
}

void addJumps(QWidget &window, std::vector<TabJump> &jumps)
{
    const std::vector<QWidget *> stops = tabStops(window);
    for (size_t k = 1; k < stops.size(); ++k) {
        if (readsAfter(*stops[k - 1], *stops[k], window))
            continue;
        TabJump jump{widgetPath(*stops[k - 1], window), widgetPath(*stops[k], window)};
        const bool known = std::any_of(jumps.begin(), jumps.end(), [&](const TabJump &j) {
            return j.from == jump.from && j.to == jump.to;
        });
        if (!known)
            jumps.push_back(jump);
    }
}

} // namespace

std::vector<QWidget *> tabStops(QWidget &window)
{
    std::vector<QWidget *> chain;
    QWidget *w = window.nextInFocusChain();
    for (int steps = 0; w && w != &window && steps < kMaxChain; ++steps, w = w->nextInFocusChain())
        if (isStop(*w, window))
            chain.push_back(w);
    if (chain.size() < 2)
        return chain;
    // The chain is a ring: it is read from the place where cutting it
    // leaves the fewest steps against reading order (in a sound ring, the
    // step from the last widget on screen back to the first).
    const size_t n = chain.size();
    std::vector<bool> forward(n);
    for (size_t k = 0; k < n; ++k)
        forward[k] = readsAfter(*chain[k], *chain[(k + 1) % n], window);
    const auto backward = static_cast<size_t>(std::count(forward.begin(), forward.end(), false));
    // Among equal cuts, the one that starts highest, then leftmost, on screen.
    const auto place = [&window](const QWidget *w) {
        const QPoint at = w->mapTo(&window, QPoint(0, 0));
        return std::pair{at.y(), at.x()};
    };
    size_t first = 0;
    size_t fewest = n + 1;
    for (size_t cut = 0; cut < n; ++cut) {
        // Cutting before chain[cut] drops the step chain[cut - 1] -> chain[cut].
        const size_t left = backward - (forward[(cut + n - 1) % n] ? 0 : 1);
        if (left < fewest || (left == fewest && place(chain[cut]) < place(chain[first]))) {
            fewest = left;
            first = cut;
        }
    }
    std::rotate(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(first), chain.end());
    return chain;
}

std::vector<TabJump> findTabOrderJumps(QWidget &window)
{
    std::vector<TabJump> jumps;
    addJumps(window, jumps);
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
        if (tabs->window() != &window || !tabs->isVisibleTo(&window))
            continue;
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current || !tabs->isTabVisible(i))
                continue;
            tabs->setCurrentIndex(i);
            QApplication::sendPostedEvents();
            addJumps(window, jumps);
        }
        tabs->setCurrentIndex(current);
    }
    return jumps;
}

QString describeTabJumps(const std::vector<TabJump> &jumps)
{
    QStringList lines;
    for (const TabJump &jump : jumps)
        lines << QStringLiteral("Tab from %1 goes back to %2").arg(jump.from, jump.to);
    return lines.join(QLatin1Char('\n'));
}

void expectTabOrderFollowsLayout(const std::vector<WindowCase> &windows)
{
    forEachWindowShown(windows, [](const WindowCase &, QWidget &widget) {
        const std::vector<TabJump> jumps = findTabOrderJumps(widget);
        EXPECT_TRUE(jumps.empty()) << describeTabJumps(jumps).toStdString();
    });
}

} // namespace wharf::testing
