#include "stockcheck.h"

#include "codec.h"
#include "dialogdocument.h"
#include "inistore.h"

#include <set>

namespace wharf {

std::vector<std::string> stockDialogProblems(const TDialogContents &contents, std::string_view sourceText)
{
    std::vector<std::string> problems;
    TMemIniStore ini("", true);
    ini.LoadFromBytes(sourceText);
    // The reader makes a control of defaults for a missing section; a stock
    // page must have every one it counts, and no more.
    const int32_t declared = ini.ReadInteger("Dialog", "CtlCount", -1);
    TStringList sections;
    ini.ReadSections(sections);
    int32_t present = 0;
    for (const std::string &section : sections)
        present += section.rfind("Control", 0) == 0 ? 1 : 0;
    if (declared != present) {
        problems.push_back("CtlCount is " + std::to_string(declared) + " but " + std::to_string(present) +
                           " control sections follow it");
        return problems;
    }
    if (contents.page.title.empty())
        problems.push_back("the page has no title");

    std::set<std::string> names;
    const TGridPrefs grid;
    for (size_t k = 0; k < contents.controls.size(); ++k) {
        TMemIniStore keys("", true);
        std::string text;
        for (const std::string &line : contents.controls[k])
            text += line + "\n";
        keys.LoadFromBytes(text);
        const std::string where = "Control" + std::to_string(k);
        const std::string name = keys.ReadString("Controls", "Name", "");
        const int32_t type = keys.ReadInteger("Controls", "Type", -1);
        if (name.empty())
            problems.push_back(where + " has no name");
        else if (!isControlName(name))
            problems.push_back(where + " has the name " + name + ", which holds more than letters, digits and "
                               "underscores");
        else if (!names.insert(foldedText(name)).second)
            problems.push_back(where + " repeats the name " + name);
        if (type < 0 || type >= kControlTypeCount)
            problems.push_back(where + " has no known type");
        const int32_t left = keys.ReadInteger("Controls", "Left", -1), top = keys.ReadInteger("Controls", "Top", -1);
        const int32_t width = keys.ReadInteger("Controls", "Width", 0),
                      height = keys.ReadInteger("Controls", "Height", 0);
        if (left < 0 || top < 0 || width < 3 || height < 3 || left + width > kStockPageWidth ||
            top + height > kStockPageHeight)
            problems.push_back(where + " (" + name + ") does not lie on the page");
        else if (left % grid.xGrid != 0 || top % grid.yGrid != 0)
            problems.push_back(where + " (" + name + ") at " + std::to_string(left) + "," + std::to_string(top) +
                               " lies off the " + std::to_string(grid.xGrid) + " x " + std::to_string(grid.yGrid) +
                               " grid");
    }
    return problems;
}

} // namespace wharf
