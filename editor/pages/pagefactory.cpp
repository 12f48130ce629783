#include "pagefactory.h"

#include "componentspage.h"
#include "dialogspage.h"
#include "generalpage.h"
#include "pagetable.h"
#include "placeholderpage.h"
#include "uninstallpage.h"

namespace wharf {

std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context)
{
    switch (index) {
    case kGeneralPage:
        return std::make_unique<TGeneralPage>(context, index);
    case kComponentsPage:
        return std::make_unique<TComponentsPage>(context, index);
    case kDialogsPage:
        return std::make_unique<TDialogsPage>(context, index);
    case kUninstallPage:
        return std::make_unique<TUninstallPage>(context, index);
    default:
        return std::make_unique<TPlaceholderPage>(context, index);
    }
}

} // namespace wharf
