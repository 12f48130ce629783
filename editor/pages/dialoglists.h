#pragma once
// The two ordered dialog lists of a project (installation and
// uninstallation) and the DLL calls tied to their positions. A DLL call
// names its dialog by a signed index (k: the k-th installation dialog, -k:
// the k-th uninstallation dialog, 0: none), so every move or delete in a
// list renumbers the calls: each keeps pointing at the same dialog file.
// Works on the document only; no widgets.

#include "project.h"

#include <string>
#include <vector>

namespace wharf {

enum class DialogList { Installation, Uninstallation };

std::vector<std::string> &dialogFiles(Project &project, DialogList list);

// The signed index DLL calls use for position index (from 0) of list.
int32_t dialogCallIndex(DialogList list, size_t index);

// Exchanges the dialogs at positions a and b of list (both must exist);
// the DLL calls tied to either follow their dialog.
void exchangeDialogs(Project &project, DialogList list, size_t a, size_t b);

// Deletes the dialog at position index of list (must exist). Calls tied to
// a later dialog of that list follow it; calls tied to the deleted dialog
// are set to 0 (no dialog) and their positions among the DLL calls are
// returned, so the author can be told.
std::vector<size_t> deleteDialog(Project &project, DialogList list, size_t index);

} // namespace wharf
