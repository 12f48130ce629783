// Every window of the editor, opened offscreen as a user meets it: no
// label, button, tab, header section, table cell or status panel cuts its
// text in the font it is drawn in. A picture of each window goes to the
// build folder for review.

#include "editorfixture.h"

#include "addddfileform.h"
#include "addfileform.h"
#include "billboardeditor.h"
#include "compileform.h"
#include "compilepage.h"
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
#include "editorpage.h"
#include "mainform.h"
#include "pagetable.h"
#include "previewform.h"
#include "projectcontroller.h"
#include "readform.h"
#include "regeditor.h"
#include "scriptmemo.h"
#include "seams.h"
#include "searchpathform.h"
#include "startform.h"
#include "systemform.h"
#include "tabchain.h"
#include "textfit.h"
#include "varform.h"
#include "verform.h"
#include "warningform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
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
        // A compile's lines as wide as the compiler writes them: a path that
        // does not fit the window, and a last line after many others.
        fixture.environment.compileFile = [](const char *, const char *, CompileCallback callback, bool) {
            const std::string missing = "ERROR: File /home/author/projects/a-long-project-folder-name/"
                                        "with/many/levels/of/folders/below/it/program.exe does not exist!";
            for (int i = 0; i < 30; ++i) {
                const std::string line = i % 4 == 1 ? missing : "Checking file " + std::to_string(i) + "...";
                callback(line.c_str(), i % 4 == 1 ? 1 : 0, static_cast<uint16_t>(i * 3));
            }
            callback("Compilation finished with errors; the output folder was cleared of what this compile "
                     "wrote.", 0, 100);
            return true;
        };
        EXPECT_TRUE(copyFile(WHARF_RICH_PROJECT, fixture.scratch.file("rich.wfp")));
        EXPECT_TRUE(copyFile(WHARF_EDITOR_DATA "script.dat", fixture.programFolder + "script.dat"));
        fixture.start({QString::fromStdString(fixture.scratch.file("rich.wfp"))});
        fixture.windows.MainForm->show();
        QApplication::processEvents();
        warningForm = std::make_unique<TWarningForm>(fixture.windows.MainForm->shell());
        // A file dialog of Qt's own, as the seams open one on a desktop
        // without a dialog of its own.
        fileDialog = std::make_unique<QFileDialog>(nullptr, QStringLiteral("Open"),
                                                   QString::fromStdString(fixture.scratch.path()),
                                                   QStringLiteral("Brindlewharf projects (*.wfp)"));
        fileDialog->setOption(QFileDialog::DontUseNativeDialog);
        fitFileDialog(*fileDialog);
        verForm = std::make_unique<TVerForm>(nullptr, fixture.windows.MainForm->shell().OwnFileList);
    }

    EditorFixture fixture;
    std::unique_ptr<TVerForm> verForm;
    TStartForm startForm;
    TCopyForm copyForm;
    TInputWindow inputWindow;
    TSearchPathForm searchPathForm;
    std::unique_ptr<TWarningForm> warningForm;
    std::unique_ptr<QFileDialog> fileDialog;
    std::unique_ptr<QMessageBox> helpErrorBox;
};

// Every window of the editor as the author meets it: each page of the main
// window, the tabs a page does not open on, and every dialog.
std::vector<testing::WindowCase> editorWindows(Editor &e)
{
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
    // Tabs a page does not open on, as the author opens them: the layout
    // with its gradient preview, and a script with its command list open.
    windows.push_back({"H_General-Layout", [&w]() -> QWidget & {
                           w.MainForm->MI_Steps[kGeneralPage]->trigger();
                           w.MainForm->page(kGeneralPage)->tabControl()->setCurrentIndex(1);
                           return *w.MainForm;
                       }});
    windows.push_back({"H_Dialogs-Scripting-commands", [&w]() -> QWidget & {
                           w.MainForm->MI_Steps[kDialogsPage]->trigger();
                           w.MainForm->page(kDialogsPage)->tabControl()->setCurrentIndex(1);
                           auto *memo = w.MainForm->page(kDialogsPage)->findChild<TScriptMemo *>();
                           memo->M_ScriptEnter(memo->M_Script);
                           memo->M_ScriptKeyDown(memo->M_Script, Qt::Key_L, Qt::ControlModifier);
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
        {"FileDialog", e.fileDialog.get()},
    };
    for (const auto &[name, window] : dialogs)
        windows.push_back({name, [window]() -> QWidget & { return *window; }});
    // The box F1 shows when the help is missing, with the message the help
    // gives: it names the help file and the topic asked for.
    windows.push_back({"HelpErrorBox", [&e, &w]() -> QWidget & {
                           testing::FakeMessageBoxes &messages = e.fixture.fake.messages;
                           messages.shown.clear();
                           QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
                           QApplication::sendEvent(w.MainForm.get(), &f1);
                           EXPECT_EQ(messages.shown.size(), 1u);
                           const QString text = messages.shown.empty() ? QString() : messages.shown[0].text;
                           EXPECT_TRUE(text.contains(QStringLiteral("wharfwright"))) << text.toStdString();
                           e.helpErrorBox = createMessageBox(w.MainForm.get(), MsgDlgType::Error, text,
                                                             QMessageBox::Ok, QMessageBox::Ok);
                           return *e.helpErrorBox;
                       }});
    // Cancel pressed while the compiler works on: the window says so at once.
    windows.push_back({"CompileForm-stopping", [&w]() -> QWidget & {
                           TCompileForm &form = *w.CompileForm;
                           form.ClearMessages();
                           form.AddLine(QStringLiteral("Compressing files..."), false);
                           form.setCompiling(true);
                           form.B_OK->setText(TCompileForm::kCancelCaption);
                           form.B_OK->setEnabled(true);
                           form.B_OKClick();
                           EXPECT_EQ(form.B_OK->text(), QStringLiteral("Stopping..."));
                           return form;
                       }});
    windows.push_back({"CompileForm-after-compile", [&w]() -> QWidget & {
                           w.MainForm->shell().ShowCompileWarning = false;
                           auto *compile = qobject_cast<TCompilePage *>(w.MainForm->page(kCompilePage));
                           compile->B_CompileFileClick();
                           TCompileForm &form = *w.CompileForm;
                           // The start of every line and the last line are in sight.
                           QTextEdit *view = form.RE_CompileMessages;
                           EXPECT_GT(form.lines().size(), 30);
                           EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
                           EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
                           QTextCursor last(view->document()->lastBlock());
                           EXPECT_TRUE(view->viewport()->rect().contains(view->cursorRect(last)));
                           return form;
                       }});
    return windows;
}

TEST(WindowFitTest, EveryEditorWindowFitsItsTexts)
{
    Editor e;
    testing::expectWindowsFit(editorWindows(e), QStringLiteral(WHARF_WINDOW_PICTURES));
}

TEST(WindowFitTest, EveryEditorWindowTabsInLayoutOrder)
{
    Editor e;
    testing::expectTabOrderFollowsLayout(editorWindows(e));
}

} // namespace
} // namespace wharf
