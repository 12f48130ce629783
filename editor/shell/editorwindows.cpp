#include "editorwindows.h"

#include "addddfileform.h"
#include "addfileform.h"
#include "billboardeditor.h"
#include "compileform.h"
#include "dumpform.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "fileeditor.h"
#include "globalchangeform.h"
#include "iconeditor.h"
#include "infoform.h"
#include "inieditor.h"
#include "mainform.h"
#include "previewform.h"
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
    AddFileForm.reset();
    ReadForm.reset();
    CompileForm.reset();
    ExDllEditor.reset();
    ExExecutableEditor.reset();
    INIEditor.reset();
    RegEditor.reset();
    IconEditor.reset();
    FileEditor.reset();
    SystemForm.reset();
    BillboardEditor.reset();
    PreviewForm.reset();
    VarForm.reset();
    GlobalChangeForm.reset();
    AddDDFileForm.reset();
    DumpForm.reset();
    MainForm.reset();
}

void createEditorWindows(EditorWindows &windows, const EditorEnvironment &environment,
                         const std::function<void(int)> &progress)
{
    const auto step = [&](int percent, const std::function<void()> &create) {
        create();
        if (progress)
            progress(percent);
    };
    const Seams &seams = *environment.seams;
    windows.MainForm = std::make_unique<TMainForm>(environment, windows);
    // The creation order of the editor's windows with the splash percentage
    // after each.
    step(6, [&] {
        windows.DumpForm = std::make_unique<TDumpForm>(nullptr, seams, environment.programFolder,
                                                       std::make_unique<Settings>(environment.settingsFolder));
    });
    step(12, [&] { windows.AddDDFileForm = std::make_unique<TAddDDFileForm>(nullptr, seams); });
    step(18, [&] { windows.GlobalChangeForm = std::make_unique<TGlobalChangeForm>(nullptr, seams); });
    step(24, [&] { windows.VarForm = std::make_unique<TVarForm>(windows.MainForm->shell()); });
    step(29, [&] { windows.PreviewForm = std::make_unique<TPreviewForm>(windows.MainForm->controller(), seams); });
    step(35, [&] {
        windows.BillboardEditor = std::make_unique<TBillboardEditor>(windows.MainForm->controller(), seams);
    });
    step(41, [&] { windows.SystemForm = std::make_unique<TSystemForm>(nullptr, seams); });
    step(47, [&] {
        windows.FileEditor =
            std::make_unique<TFileEditor>(nullptr, seams, windows.VarForm.get(), windows.SystemForm.get());
    });
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
    step(94, [&] {
        windows.AddFileForm = std::make_unique<TAddFileForm>(nullptr, seams);
        windows.AddFileForm->mirrorChecks(*windows.AddDDFileForm);
        windows.AddFileForm->usePalette(*windows.VarForm);
        // The palette came after the first two file dialogs.
        windows.AddDDFileForm->usePalette(*windows.VarForm);
        windows.GlobalChangeForm->usePalette(*windows.VarForm);
    });
    step(100, [&] {
        windows.InfoForm = std::make_unique<TInfoForm>(nullptr, seams);
        windows.InfoForm->setOwnFileList(&windows.MainForm->shell().OwnFileList);
    });
    windows.MainForm->windowsCreated();
}

} // namespace wharf
