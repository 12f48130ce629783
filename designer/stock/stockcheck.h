#pragma once
// The rules a stock wizard page's source must keep before it is built: what
// the file says it holds is what it holds, every control has a name of its
// own and a known type, and every control lies on the page.

#include "dialogfile.h"

#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The dialog area of a wizard page, in pixels.
inline constexpr int kStockPageWidth = 324;
inline constexpr int kStockPageHeight = 313;

// One line per broken rule; empty when the page may be built. sourceText is
// the text contents was parsed from (for the declared control count).
std::vector<std::string> stockDialogProblems(const TDialogContents &contents, std::string_view sourceText);

} // namespace wharf
