#pragma once
// The rules a stock wizard page's source must keep before it is built: what
// the file says it holds is what it holds, every control has a name of its
// own that scripts can address and a known type, and every control lies on
// the page with its top left corner on the designer's default grid (so a
// drag with snapping on keeps the columns).

#include "dialogfile.h"
#include "surfacemodel.h"

#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The dialog area of a wizard page, in pixels: the designer's surface.
inline constexpr int kStockPageWidth = kSurfaceRect.width;
inline constexpr int kStockPageHeight = kSurfaceRect.height;

// One line per broken rule; empty when the page may be built. sourceText is
// the text contents was parsed from (for the declared control count).
std::vector<std::string> stockDialogProblems(const TDialogContents &contents, std::string_view sourceText);

} // namespace wharf
