#include "pagefactory.h"

#include "componentspage.h"
#include "filespage.h"
#include "pagetable.h"
#include "placeholderpage.h"

namespace wharf {

std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context)
{
    switch (index) {
    case kComponentsPage:
        return std::make_unique<TComponentsPage>(context, index);
    case kFilesPage:
        return std::make_unique<TFilesPage>(context, index);
    default:
        return std::make_unique<TPlaceholderPage>(context, index);
    }
}

} // namespace wharf
