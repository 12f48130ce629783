#include "pagefactory.h"

#include "compilepage.h"
#include "componentspage.h"
#include "dialogspage.h"
#include "extensionspage.h"
#include "filespage.h"
#include "generalpage.h"
#include "iconspage.h"
#include "inipage.h"
#include "layouttaborder.h"
#include "pagetable.h"
#include "registrypage.h"
#include "uninstallpage.h"

#include <stdexcept>
#include <string>

namespace wharf {

namespace {

std::unique_ptr<TEditorPage> makePage(int index, PageContext &context)
{
    switch (index) {
    case kGeneralPage:
        return std::make_unique<TGeneralPage>(context, index);
    case kComponentsPage:
        return std::make_unique<TComponentsPage>(context, index);
    case kFilesPage:
        return std::make_unique<TFilesPage>(context, index);
    case kCompilePage:
        return std::make_unique<TCompilePage>(context, index);
    case kRegistryPage:
        return std::make_unique<TRegistryPage>(context, index);
    case kIconsPage:
        return std::make_unique<TIconsPage>(context, index);
    case kIniPage:
        return std::make_unique<TIniPage>(context, index);
    case kExtensionsPage:
        return std::make_unique<TExtensionsPage>(context, index);
    case kDialogsPage:
        return std::make_unique<TDialogsPage>(context, index);
    case kUninstallPage:
        return std::make_unique<TUninstallPage>(context, index);
    default:
        throw std::out_of_range("There is no page " + std::to_string(index) + ".");
    }
}

} // namespace

std::unique_ptr<TEditorPage> createEditorPage(int index, PageContext &context)
{
    std::unique_ptr<TEditorPage> page = makePage(index, context);
    // Tab visits a page's fields where they stand, whatever order they were
    // made in.
    setTabOrderFromLayout(*page);
    return page;
}

} // namespace wharf
