#pragma once
// The editor's pictures, compiled into the program as Qt resources under
// ":/wharfwright/": "splash.png" (500 x 189), "toolbar.png" (the twenty
// 32 x 32 navigation images side by side), "wharfwright.png" (the program
// icon), "arrowup.png" and "arrowdown.png" (15 x 15).

#include <QIcon>
#include <QList>

namespace wharf {

// Registers the resources; safe to call more than once.
void initEditorResources();

// The toolbar image list: toolbar.png cut into its 32 x 32 images.
QList<QIcon> toolbarImages();

// The program's icon.
QIcon programIcon();

} // namespace wharf
