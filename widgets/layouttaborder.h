#pragma once
// Tab order from the layout: windows are laid out with layouts, and the Tab
// key is to visit their fields as the layout places them, top to bottom and
// left to right, whatever order the widgets were made in. The layout is
// the one description of that order; this makes the focus chain follow it.

class QWidget;

namespace wharf {

// Orders the focus chain of the widgets in container (and below) as its
// layouts place them: box layouts in their direction, grids and forms row
// by row and left to right, every page of a tab widget or stacked layout in
// turn, a group box's contents where the group stands. A widget without a
// layout of its own (a spin box, a list, a line edit with a button) keeps
// its inner order; children outside any layout follow the laid-out ones.
// Call it once the container's layouts are built; widgets in other windows
// are left alone.
void setTabOrderFromLayout(QWidget &container);

} // namespace wharf
