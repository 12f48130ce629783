#pragma once
// TMainForm: the main window of the editor. It assembles the frame around
// the pages: the navigation bar `OB_Main` with one header per page, the
// page book `NB_DataSheets`, the status bar `Sb_Main` with the load
// progress and the memory display, and the main menu (File, Step, Tools,
// Options, ?). It owns the open project (through its ProjectController)
// and the shell's values, runs the command line when it is first shown,
// reads the editor's settings then and writes them when it closes.
//
// The pages themselves are classes of their own (pages/); the main window
// only creates them (pagefactory.h), switches between them and tells them
// when the document was replaced. Pages reach the editor through the
// PageContext this window implements.

#include "editorenvironment.h"
#include "editorsettings.h"
#include "helpkey.h"
#include "helpservice.h"
#include "pagecontext.h"
#include "projectcontroller.h"
#include "projectseams.h"
#include "settings.h"
#include "shellstate.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QProgressBar;
class QStackedWidget;

namespace wharf {

class MainNavigation;
class TEditorPage;
class TMRUFileList;
class TPanelStatusBar;
struct EditorWindows;

class TMainForm : public QMainWindow,
                  public PageContext,
                  private ProjectPrompts,
                  private ProgressDisplay,
                  private RecentFileList,
                  private ProjectStateListener,
                  private EditorSettingsTarget {
    Q_OBJECT
public:
    // environment and windows must outlive the window; windows is where
    // the other windows of the editor are found once they are created.
    // FormCreate runs here.
    TMainForm(const EditorEnvironment &environment, EditorWindows &windows);
    ~TMainForm() override;

    MainNavigation *OB_Main;
    QStackedWidget *NB_DataSheets;
    TPanelStatusBar *Sb_Main;
    QProgressBar *pb_LoadProgress; // on status panel 0
    QProgressBar *G_Mem;           // on status panel 3

    QMenu *MI_FileMenu;
    QAction *MI_New;
    QAction *MI_Open;
    QAction *MI_Append;
    QAction *MI_Save;
    QAction *MI_SaveAs;
    QAction *MI_Exit;
    QMenu *MI_StepMenu;
    // The "&Step" items in page order: MI_GenInfo ... MI_Compile.
    std::array<QAction *, 10> MI_Steps{};
    QMenu *MI_Tools;
    QMenu *MI_Options;
    QAction *MI_Variables;
    QMenu *MI_HelpMenu;
    QAction *MI_Help;
    QAction *MI_ScriptingRef;
    QAction *MI_Info;
    // The recent-files list with its submenu "&Reopen" before "&Append".
    TMRUFileList *MRU;

    // Status bar panels.
    enum StatusPanel { kProgressPanel = 0, kPercentPanel = 1, kMemoryPanel = 2, kGaugePanel = 3,
                       kModifiedPanel = 4, kLastPanel = 5 };

    TEditorPage *page(int index) const;
    ShellState &shell() override { return m_shell; }
    const ShellState &shell() const { return m_shell; }
    // The help context of the page book: the page's, or its active tab's.
    int helpContext() const { return m_helpContext; }
    // The exit status the program ends with after a batch compile; -1
    // until one ran.
    int batchExitStatus() const { return m_batchExitStatus; }

    // PageContext
    ProjectController &controller() override { return m_controller; }
    const Seams &seams() const override { return *m_environment.seams; }
    EditorWindows &windows() override { return m_windows; }
    QWidget *mainWindow() override { return this; }
    const EditorEnvironment &environment() const override { return m_environment; }
    bool batchMode() const override { return m_batchMode; }
    void setNavigationButtonVisible(int page, int button, bool visible) override;

    // Called once every window of the creation list exists.
    void windowsCreated();

    // Event handlers, named as the window's events.
    void FormCreate();
    // The first showing: opens the project of the command line (or the
    // template), runs the batch compile, reads the settings.
    void FormShow();
    // The save question; true when the window may close.
    bool FormCloseQuery();
    // Writes the settings (only when the palette exists); never fails.
    void FormClose();
    void MI_NewClick();
    void MI_OpenClick();
    void MI_AppendClick();
    void MI_SaveClick();
    void MI_SaveAsClick();
    void MI_ExitClick();
    void MRUMRUItemClick(QObject *Sender, const QString &AFilename);
    // The page handlers of the "&Step" items: select the page, open its
    // header unless Sender is the bar itself, check the item.
    void B_GenInfoClick(QObject *Sender);
    void B_ComponentsClick(QObject *Sender);
    void B_DialogsClick(QObject *Sender);
    void B_FilesClick(QObject *Sender);
    void B_IconsClick(QObject *Sender);
    void B_RegistryClick(QObject *Sender);
    void B_INIClick(QObject *Sender);
    void B_UninstallClick(QObject *Sender);
    void B_ExtensionsClick(QObject *Sender);
    void B_CompileClick(QObject *Sender);
    // The bar's change event: runs the page handler of NewIndex (0 to 9).
    void OB_MainChange(QObject *Sender, int OldIndex, int NewIndex);
    // A header button: the page's own action (a tab, a command).
    void OB_ButtonClick(int page, int buttonIndex);
    void NB_DataSheetsPageChanged();
    // The active tab of a page's tab control changed.
    void PC_TabsChange(int page, int tabIndex);
    void MI_VariablesClick();
    void MI_HelpClick();
    void MI_ScriptingRefClick();
    void MI_InfoClick();
    void T_MemTimer();
    // The click handler of every Tools item.
    void RunToolCommand(QAction *item);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // F1 in an open menu opens the topic of what the menu belongs to.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar();
    void buildPages();
    void buildRecentFiles();
    void selectPage(int index, QObject *sender);
    void openStartProject(bool batch, bool &opened);
    void runBatchCompile();
    void requestTermination(int status);
    void printBatchLine(const QString &line, bool error);

    // ProjectPrompts
    MessageAnswer showMessage(MessageKind kind, MessageButtons buttons, const std::string &text) override;
    std::optional<std::string> chooseProjectToOpen() override;
    std::optional<std::string> chooseProjectToSave() override;
    // Where the project dialogs open: the project's own folder, or for a
    // project without a file of its own the folder of the last project
    // saved in this run, else the user's documents folder.
    QString projectDialogFolder() const;
    // The help topic of an open menu: the menus of the menu bar have their
    // own, a pop-up menu the topic of the window (the page) it belongs to.
    QString menuHelpTopic(const QMenu &menu) const;
    // ProgressDisplay
    void showProgress(int percent, const std::string &panelText) override;
    void showBusy(BusyKind kind, const std::string &caption) override;
    void hideBusy() override;
    void processMessages() override;
    // RecentFileList
    void AddRecentFile(const std::string &fileName) override;
    // ProjectStateListener
    void modifiedChanged(bool modified, const std::string &modifiedText) override;
    void titleChanged(const std::string &title) override;
    void documentReplaced() override;
    void projectSaved(const std::string &fileName) override;
    // EditorSettingsTarget
    void applyShowVariables(bool shown) override;
    void setPaletteLeft(int left) override;
    void setPaletteTop(int top) override;
    void setShowCompileWarning(bool show) override;
    void addTool(const QString &caption, const QString &commandLine) override;
    void setHighlightSyntax(bool on) override;

    const EditorEnvironment &m_environment;
    EditorWindows &m_windows;
    ShellState m_shell;
    ProjectController m_controller;
    Settings m_settings;
    HelpService m_help;
    // F1 in the windows beside this one.
    TDialogHelpKey m_dialogHelp;
    QActionGroup *m_stepGroup = nullptr;
    std::array<TEditorPage *, 10> m_pages{};
    int m_helpContext = 0;
    // The folder of the last project saved in this run; empty before.
    QString m_lastSaveFolder;
    bool m_shown = false;
    bool m_batchMode = false;
    int m_batchExitStatus = -1;
};

} // namespace wharf
