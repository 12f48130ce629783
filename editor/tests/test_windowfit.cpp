// Every window of the editor, opened offscreen as a user meets it: no
// label, button, tab, header section, table cell or status panel cuts its
// text in the font it is drawn in. A picture of each window goes to the
// build folder for review.

#include "editorfixture.h"

#include "addddfileform.h"
#include "addfileform.h"
#include "billboardeditor.h"
#include "compileform.h"
#include "copyform.h"
#include "dumpform.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "fileeditor.h"
#include "globalchangeform.h"
#include "iconeditor.h"
#include "infoform.h"
#include "inieditor.h"
#include "inputwindow.h"
#include "mainform.h"
#include "pagetable.h"
#include "previewform.h"
#include "projectcontroller.h"
#include "readform.h"
#include "regeditor.h"
#include "searchpathform.h"
#include "startform.h"
#include "systemform.h"
#include "textfit.h"
#include "varform.h"
#include "verform.h"
#include "warningform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <utility>

namespace wharf {
namespace {

using testing::EditorFixture;

// The editor with a project of every kind of entry, and the windows it
// opens outside the creation list.
struct Editor {
    Editor()
    {
        EXPECT_TRUE(copyFile(WHARF_RICH_PROJECT, fixture.scratch.file("rich.wfp")));
        fixture.start({QString::fromStdString(fixture.scratch.file("rich.wfp"))});
        fixture.windows.MainForm->show();
        QApplication::processEvents();
        warningForm = std::make_unique<TWarningForm>(fixture.windows.MainForm->shell());
        verForm = std::make_unique<TVerForm>(nullptr, fixture.windows.MainForm->shell().OwnFileList);
    }

    EditorFixture fixture;
    std::unique_ptr<TVerForm> verForm;
    TStartForm startForm;
    TCopyForm copyForm;
    TInputWindow inputWindow;
    TSearchPathForm searchPathForm;
    std::unique_ptr<TWarningForm> warningForm;
};

TEST(WindowFitTest, EveryEditorWindowFitsItsTexts)
{
    Editor e;
    EditorWindows &w = e.fixture.windows;
    // The status bar while a project is read: the widest percentage.
    std::vector<testing::WindowCase> windows{{"progress", [&w]() -> QWidget & {
                                                  w.MainForm->controller().ShowProgress(100);
                                                  return *w.MainForm;
                                              }}};
    for (int i = 0; i < kPageCount; ++i)
        windows.push_back({editorPages()[static_cast<size_t>(i)].header, [&w, i]() -> QWidget & {
                               w.MainForm->controller().ShowProgress(0);
                               w.MainForm->MI_Steps[static_cast<size_t>(i)]->trigger();
                               return *w.MainForm;
                           }});
    const std::vector<std::pair<const char *, QWidget *>> dialogs{
        {"DumpForm", w.DumpForm.get()},
        {"AddDDFileForm", w.AddDDFileForm.get()},
        {"GlobalChangeForm", w.GlobalChangeForm.get()},
        {"VarForm", w.VarForm.get()},
        {"PreviewForm", w.PreviewForm.get()},
        {"BillboardEditor", w.BillboardEditor.get()},
        {"SystemForm", w.SystemForm.get()},
        {"FileEditor", w.FileEditor.get()},
        {"IconEditor", w.IconEditor.get()},
        {"RegEditor", w.RegEditor.get()},
        {"INIEditor", w.INIEditor.get()},
        {"ExExecutableEditor", w.ExExecutableEditor.get()},
        {"ExDllEditor", w.ExDllEditor.get()},
        {"CompileForm", w.CompileForm.get()},
        {"ReadForm", w.ReadForm.get()},
        {"AddFileForm", w.AddFileForm.get()},
        {"InfoForm", w.InfoForm.get()},
        {"VerForm", e.verForm.get()},
        {"StartForm", &e.startForm},
        {"CopyForm", &e.copyForm},
        {"InputWindow", &e.inputWindow},
        {"SearchPathForm", &e.searchPathForm},
        {"WarningForm", e.warningForm.get()},
    };
    for (const auto &[name, window] : dialogs)
        windows.push_back({name, [window]() -> QWidget & { return *window; }});
    testing::expectWindowsFit(windows, QStringLiteral(WHARF_WINDOW_PICTURES));
}

} // namespace
} // namespace wharf
