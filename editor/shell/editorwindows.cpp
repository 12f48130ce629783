#include "editorwindows.h"

#include "billboardeditor.h"
#include "dumpform.h"
#include "infoform.h"
#include "mainform.h"
#include "previewform.h"
#include "readform.h"
#include "settings.h"
#include "systemform.h"
#include "varform.h"

namespace wharf {

EditorWindows::EditorWindows() = default;

EditorWindows::~EditorWindows()
{
    InfoForm.reset();
    ReadForm.reset();
    SystemForm.reset();
    BillboardEditor.reset();
    PreviewForm.reset();
    VarForm.reset();
    DumpForm.reset();
    MainForm.reset();
}

void createEditorWindows(EditorWindows &windows, const EditorEnvironment &environment,
                         const std::function<void(int)> &progress)
{
    const auto step = [&](int percent, const std::function<void()> &create) {
        if (create)
            create();
        if (progress)
            progress(percent);
    };
    const Seams &seams = *environment.seams;
    windows.MainForm = std::make_unique<TMainForm>(environment, windows);
    // The creation order of the editor's windows with the splash percentage
    // after each. An empty step stands for a window that is not built yet.
    step(6, [&] {
        windows.DumpForm = std::make_unique<TDumpForm>(nullptr, seams, environment.programFolder,
                                                       std::make_unique<Settings>(environment.settingsFolder));
    });
    step(12, {}); // TAddDDFileForm
    step(18, {}); // TGlobalChangeForm
    step(24, [&] { windows.VarForm = std::make_unique<TVarForm>(windows.MainForm->shell()); });
    step(29, [&] { windows.PreviewForm = std::make_unique<TPreviewForm>(windows.MainForm->controller(), seams); });
    step(35, [&] {
        windows.BillboardEditor = std::make_unique<TBillboardEditor>(windows.MainForm->controller(), seams);
    });
    step(41, [&] { windows.SystemForm = std::make_unique<TSystemForm>(nullptr, seams); });
    step(47, {}); // TFileEditor
    step(53, {}); // TIconEditor
    step(59, {}); // TRegEditor
    step(65, {}); // TINIEditor
    step(71, {}); // TExExecutableEditor
    step(76, {}); // TExDllEditor
    step(82, {}); // TCompileForm
    step(88, [&] { windows.ReadForm = std::make_unique<TReadForm>(); });
    step(94, {});  // TAddFileForm
    step(100, [&] {
        windows.InfoForm = std::make_unique<TInfoForm>(nullptr, seams);
        windows.InfoForm->setOwnFileList(&windows.MainForm->shell().OwnFileList);
    });
    windows.MainForm->windowsCreated();
}

} // namespace wharf
