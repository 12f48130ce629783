#pragma once
// The editor's navigation bar as the main window sets it up, for tests and
// for looking at: a bar 185 pixels wide with a lowered bevel and border
// width 1, caption bars 25 high, ten headers (captions, caption images 5 to
// 14) holding twenty large buttons of 108 x 60 with 32 x 32 images, fonts
// "MS Sans Serif" of 11 pixels. The pictures are drawn here.

#include <QLabel>
#include <QWidget>

#include <array>
#include <vector>

namespace wharf {
class TImageList;
class TNavBar;
class TNavBarHeader;
class TNavButton;
} // namespace wharf

namespace wharf::testing {

// The font the editor stores for the bar: "MS Sans Serif", height -11.
QFont editorBarFont();

// Builds the bar on parent (which owns everything made here).
struct EditorNavBar {
    TImageList *toolbarImages = nullptr; // 16 x 16, the caption images
    TImageList *listIcons = nullptr;     // 32 x 32, the button images
    TNavBar *bar = nullptr;
    std::array<TNavBarHeader *, 10> headers{};
    std::vector<TNavButton *> buttons; // header by header, in ButtonIndex order

    explicit EditorNavBar(QWidget *parent);
};

// A window with the bar on its left and a page label beside it that shows
// the page of the open header, as the editor's change handler does.
class NavBarDemoWindow : public QWidget {
public:
    NavBarDemoWindow();
    EditorNavBar navBar;
    QLabel *page;
};

} // namespace wharf::testing
