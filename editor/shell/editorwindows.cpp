#include "editorwindows.h"

#include "compileform.h"
#include "dumpform.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "iconeditor.h"
#include "inieditor.h"
#include "infoform.h"
#include "mainform.h"
#include "readform.h"
#include "regeditor.h"
#include "settings.h"
#include "systemform.h"
#include "varform.h"

namespace wharf {

EditorWindows::EditorWindows() = default;

EditorWindows::~EditorWindows()
{
    InfoForm.reset();
    ReadForm.reset();
    CompileForm.reset();
    ExDllEditor.reset();
    ExExecutableEditor.reset();
    INIEditor.reset();
    RegEditor.reset();
    IconEditor.reset();
    SystemForm.reset();
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
    step(29, {}); // TPreviewForm
    step(35, {}); // TBillboardEditor
    step(41, [&] { windows.SystemForm = std::make_unique<TSystemForm>(nullptr, seams); });
    step(47, {}); // TFileEditor
    step(53, [&] {
        windows.IconEditor = std::make_unique<TIconEditor>(windows.MainForm->controller(), seams,
                                                           windows.SystemForm.get(), windows.VarForm.get());
    });
    step(59, [&] {
        windows.RegEditor =
            std::make_unique<TRegEditor>(windows.MainForm->controller(), windows.VarForm.get(), seams);
    });
    step(65, [&] {
        windows.INIEditor = std::make_unique<TINIEditor>(windows.MainForm->controller(), seams,
                                                         windows.SystemForm.get(), windows.VarForm.get());
    });
    step(71, [&] {
        windows.ExExecutableEditor = std::make_unique<TExExecutableEditor>(
            windows.MainForm->controller(), seams, windows.SystemForm.get(), windows.VarForm.get());
    });
    step(76, [&] { windows.ExDllEditor = std::make_unique<TExDllEditor>(windows.MainForm->controller(), seams); });
    step(82, [&] {
        windows.CompileForm = std::make_unique<TCompileForm>(windows.MainForm->shell(), windows.MainForm.get());
    });
    step(88, [&] { windows.ReadForm = std::make_unique<TReadForm>(); });
    step(94, {});  // TAddFileForm
    step(100, [&] {
        windows.InfoForm = std::make_unique<TInfoForm>(nullptr, seams);
        windows.InfoForm->setOwnFileList(&windows.MainForm->shell().OwnFileList);
    });
    windows.MainForm->windowsCreated();
}

} // namespace wharf
