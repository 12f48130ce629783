#include "pagefactory.h"

#include "placeholderpage.h"

namespace wharf {

std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context)
{
    switch (index) {
    default:
        return std::make_unique<TPlaceholderPage>(context, index);
    }
}

} // namespace wharf
