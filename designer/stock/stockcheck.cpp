#include "stockcheck.h"

#include "inistore.h"
#include "codec.h"

#include <set>

namespace wharf {

std::vector<std::string> stockDialogProblems(const TDialogContents &contents, std::string_view sourceText)
{
    std::vector<std::string> problems;
    TMemIniStore ini("", true);
    ini.LoadFromBytes(sourceText);
    const int32_t declared = ini.ReadInteger("Dialog", "CtlCount", -1);
    if (declared != static_cast<int32_t>(contents.controls.size()))
        problems.push_back("CtlCount is " + std::to_string(declared) + " but " +
                           std::to_string(contents.controls.size()) + " control sections follow it");
    if (contents.page.title.empty())
        problems.push_back("the page has no title");

    std::set<std::string> names;
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
    }
    return problems;
}

} // namespace wharf
