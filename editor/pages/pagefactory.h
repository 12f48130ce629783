#pragma once
// Which class serves which page of the main window. Every page index gets
// a page: the built ones their own class, the others a TPlaceholderPage.

#include "editorpage.h"

#include <memory>

namespace wharf {

// The page for index (0 to 9), not yet parented.
std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context);

} // namespace wharf
