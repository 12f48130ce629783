#pragma once
// The windows the editor creates once at start and keeps for the whole
// run, in their creation order. Windows whose pages or dialogs are not built
// yet have no member here yet; their place in the order (and their splash
// percentage) is kept in createEditorWindows.

#include "editorenvironment.h"

#include <functional>
#include <memory>

namespace wharf {

class TMainForm;
class TVarForm;
class TSystemForm;
class TReadForm;
class TDumpForm;
class TInfoForm;
class TPreviewForm;
class TBillboardEditor;

struct EditorWindows {
    EditorWindows();
    ~EditorWindows(); // destroys the windows in reverse creation order
    EditorWindows(const EditorWindows &) = delete;
    EditorWindows &operator=(const EditorWindows &) = delete;

    std::unique_ptr<TMainForm> MainForm;
    std::unique_ptr<TDumpForm> DumpForm;
    std::unique_ptr<TVarForm> VarForm;
    std::unique_ptr<TPreviewForm> PreviewForm;
    std::unique_ptr<TBillboardEditor> BillboardEditor;
    std::unique_ptr<TSystemForm> SystemForm;
    std::unique_ptr<TReadForm> ReadForm;
    std::unique_ptr<TInfoForm> InfoForm;
};

// Creates the main window (its FormCreate runs now) and then every further
// window of the creation list, in order, calling progress with the splash
// percentage after each. The environment must outlive the windows.
void createEditorWindows(EditorWindows &windows, const EditorEnvironment &environment,
                         const std::function<void(int)> &progress = {});

} // namespace wharf
