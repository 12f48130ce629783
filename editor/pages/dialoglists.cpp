#include "dialoglists.h"

#include <utility>

namespace wharf {

std::vector<std::string> &dialogFiles(Project &project, DialogList list)
{
    return list == DialogList::Installation ? project.Dialogs : project.UninstallDialogs;
}

int32_t dialogCallIndex(DialogList list, size_t index)
{
    const auto k = static_cast<int32_t>(index) + 1;
    return list == DialogList::Installation ? k : -k;
}

void exchangeDialogs(Project &project, DialogList list, size_t a, size_t b)
{
    std::vector<std::string> &files = dialogFiles(project, list);
    std::swap(files.at(a), files.at(b));
    const int32_t first = dialogCallIndex(list, a);
    const int32_t second = dialogCallIndex(list, b);
    for (DllCall &call : project.DllCalls) {
        if (call.ExecuteAfter == first)
            call.ExecuteAfter = second;
        else if (call.ExecuteAfter == second)
            call.ExecuteAfter = first;
    }
}

std::vector<size_t> deleteDialog(Project &project, DialogList list, size_t index)
{
    std::vector<std::string> &files = dialogFiles(project, list);
    files.erase(files.begin() + static_cast<std::ptrdiff_t>(index));
    const int32_t deleted = dialogCallIndex(list, index);
    // Installation indexes count up, uninstallation indexes down: a later
    // dialog of the same list has the same sign and a larger magnitude.
    const int32_t step = deleted > 0 ? 1 : -1;
    std::vector<size_t> orphaned;
    for (size_t i = 0; i < project.DllCalls.size(); ++i) {
        int32_t &after = project.DllCalls[i].ExecuteAfter;
        if (after == deleted) {
            after = 0;
            orphaned.push_back(i);
        } else if (step > 0 ? after > deleted : after < deleted) {
            after -= step;
        }
    }
    return orphaned;
}

} // namespace wharf
