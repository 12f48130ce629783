#pragma once
// The ten pages of the main window as one table: for each page its header
// in the navigation bar with the header's buttons, its item of the "&Step"
// menu, its tab control with the tabs, and the help contexts. The page book,
// the bar and the menu are all built from it, so they stay in step.

#include <array>
#include <vector>

namespace wharf {

struct PageTab {
    const char *objectName; // "TS_AppInfo"
    const char *caption;
    int helpContext;
};

struct NavButtonInfo {
    const char *objectName; // "OB_AppInfo"
    const char *caption;    // "Application information"
};

struct PageInfo {
    const char *header;        // "H_General"
    const char *headerCaption; // "General information"
    const char *menuItem;      // "MI_GenInfo"
    const char *menuCaption;   // "&General information"
    const char *tabControl;    // "PC_GenInfoTabs", or null for a page without tabs
    std::vector<PageTab> tabs;
    int helpContext;           // of a page without tabs
    std::vector<NavButtonInfo> buttons;
};

inline constexpr int kPageCount = 10;

// Page indexes, equal to the header indexes of the bar.
enum PageIndex {
    kGeneralPage = 0,
    kComponentsPage = 1,
    kDialogsPage = 2,
    kFilesPage = 3,
    kIconsPage = 4,
    kRegistryPage = 5,
    kIniPage = 6,
    kUninstallPage = 7,
    kExtensionsPage = 8,
    kCompilePage = 9,
};

const std::array<PageInfo, kPageCount> &editorPages();

// The index of a button in the toolbar image list: buttons are numbered
// through all headers in order (0 to 19).
int navButtonImageIndex(int page, int button);

} // namespace wharf
