#pragma once
// Finds where the Tab key leaves reading order in a window: the focus
// chain, started at the widget that comes first on screen, must go top to
// bottom and left to right. Two neighbours of the chain are compared as the
// boxes they sit in directly under their nearest common container, so a
// chain that finishes one group box before it enters the one beside it
// reads in order. Used by the window tests of both programs.

#include <QString>

#include <vector>

class QWidget;

namespace wharf::testing {

struct WindowCase;

struct TabJump {
    QString from; // object path of the widget Tab leaves
    QString to;   // object path of the widget it goes to, above or to the left
};

// The widgets Tab stops at in window, in the order Tab visits them, started
// at the first in reading order. Hidden widgets, widgets of other windows
// and widgets that hand their focus to a proxy are left out; disabled ones
// are kept, since they take part once enabled.
std::vector<QWidget *> tabStops(QWidget &window);

// Every step of the chain that goes back up or to the left, with every page
// of each tab widget of window looked at in turn (the current page is
// restored). The step from the last stop back to the first is not one.
std::vector<TabJump> findTabOrderJumps(QWidget &window);

// One line per jump, for a test failure message.
QString describeTabJumps(const std::vector<TabJump> &jumps);

// The check of every window of a table: each is shown and its tab order
// compared with its layout; failures are GoogleTest failures naming the
// window and the jumps.
void expectTabOrderFollowsLayout(const std::vector<WindowCase> &windows);

} // namespace wharf::testing
