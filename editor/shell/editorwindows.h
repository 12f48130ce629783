#pragma once
// The windows the editor creates once at start and keeps for the whole
// run, in their creation order (createEditorWindows gives each its splash
// percentage).

#include "editorenvironment.h"

#include <functional>
#include <memory>

namespace wharf {

class TMainForm;
class TDumpForm;
class TAddDDFileForm;
class TGlobalChangeForm;
class TVarForm;
class TPreviewForm;
class TBillboardEditor;
class TSystemForm;
class TFileEditor;
class TIconEditor;
class TRegEditor;
class TINIEditor;
class TExExecutableEditor;
class TExDllEditor;
class TCompileForm;
class TReadForm;
class TAddFileForm;
class TInfoForm;

struct EditorWindows {
    EditorWindows();
    ~EditorWindows(); // destroys the windows in reverse creation order
    EditorWindows(const EditorWindows &) = delete;
    EditorWindows &operator=(const EditorWindows &) = delete;

    std::unique_ptr<TMainForm> MainForm;
    std::unique_ptr<TDumpForm> DumpForm;
    std::unique_ptr<TAddDDFileForm> AddDDFileForm;
    std::unique_ptr<TGlobalChangeForm> GlobalChangeForm;
    std::unique_ptr<TVarForm> VarForm;
    std::unique_ptr<TPreviewForm> PreviewForm;
    std::unique_ptr<TBillboardEditor> BillboardEditor;
    std::unique_ptr<TSystemForm> SystemForm;
    std::unique_ptr<TFileEditor> FileEditor;
    std::unique_ptr<TIconEditor> IconEditor;
    std::unique_ptr<TRegEditor> RegEditor;
    std::unique_ptr<TINIEditor> INIEditor;
    std::unique_ptr<TExExecutableEditor> ExExecutableEditor;
    std::unique_ptr<TExDllEditor> ExDllEditor;
    std::unique_ptr<TCompileForm> CompileForm;
    std::unique_ptr<TReadForm> ReadForm;
    std::unique_ptr<TAddFileForm> AddFileForm;
    std::unique_ptr<TInfoForm> InfoForm;
};

// Creates the main window (its FormCreate runs now) and then every further
// window of the creation list, in order, calling progress with the splash
// percentage after each. The environment must outlive the windows.
void createEditorWindows(EditorWindows &windows, const EditorEnvironment &environment,
                         const std::function<void(int)> &progress = {});

} // namespace wharf
