#pragma once
// Which class serves which page of the main window.

#include "editorpage.h"

#include <memory>

namespace wharf {

// The page for index (0 to 9), not yet parented; std::out_of_range for
// any other index.
std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context);

} // namespace wharf
