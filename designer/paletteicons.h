#pragma once
// The pictures of the eleven palette buttons, drawn by the program.

#include <QIcon>

namespace wharf {

// The icon of the palette button for a control type (0..10); an empty icon
// for any other value.
QIcon paletteIcon(int type);

} // namespace wharf
