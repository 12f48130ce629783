#include "mainform.h"

#include "batchseams.h"
#include "codec.h"
#include "commandline.h"
#include "compilemessages.h"
#include "compilepage.h"
#include "componentspage.h"
#include "editorpage.h"
#include "editorresources.h"
#include "editorwindows.h"
#include "files.h"
#include "infoform.h"
#include "mainnavigation.h"
#include "memorystatus.h"
#include "mrufilelist.h"
#include "pagefactory.h"
#include "pagetable.h"
#include "panelstatusbar.h"
#include "paths.h"
#include "programstart.h"
#include "readform.h"
#include "scriptmemo.h"
#include "stopsignals.h"
#include "toolcommands.h"
#include "varform.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabWidget>

#include <cerrno>
#include <cstdio>

namespace wharf {
namespace {

const QString kCaption = QStringLiteral("Brindlewharf Professional");
const QString kEditorHelp = QStringLiteral("wharfwright.hlp");
const QString kScriptHelp = QStringLiteral("ddscript.hlp");
const QString kProjectFilter = QStringLiteral("Brindlewharf files (*.wfp)");

// The batch compile's exit status when another compile holds the output
// folder (1 is a real error, 2 a project that can't be opened).
constexpr int kExitOutputInUse = 3;

// The files of the system, for the version window: the editor itself, then
// the compiler library, the external tools, the designer and the stubs.
QStringList ownFiles(const QString &programFolder)
{
    QStringList files{QCoreApplication::applicationFilePath()};
    for (const char *name : {"libwharfforge.so", "Wharfspeak.exe", "Wharfpost.exe", "wharfdraft", "setup.bin",
                             "setupldr.bin", "selfext.bin", "tidewire.bin"})
        files << programFolder + QString::fromLatin1(name);
    return files;
}

QString fromStd(const std::string &text) { return QString::fromStdString(text); }

MsgDlgType dialogType(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return MsgDlgType::Error;
    case MessageKind::Warning: return MsgDlgType::Warning;
    case MessageKind::Information: return MsgDlgType::Information;
    case MessageKind::Confirmation: return MsgDlgType::Confirmation;
    }
    return MsgDlgType::Information;
}

// The icon of a tool's program: the file named, or the program of that
// name on the search path.
QIcon toolIcon(const QString &program)
{
    QString path = QString::fromStdString(toNativePath(program.toStdString()));
    if (!path.contains(u'/')) {
        const QString found = QStandardPaths::findExecutable(path);
        if (!found.isEmpty())
            path = found;
    }
    static QFileIconProvider provider;
    return provider.icon(QFileInfo(path));
}

constexpr int kMenuHelpContext = 27;

// The menu that holds the item opening menu, searched below inside; null
// when there is none.
QMenu *menuOpening(const QMenu *menu, const QWidget *inside)
{
    for (const QAction *action : inside->actions()) {
        QMenu *sub = action->menu();
        if (!sub)
            continue;
        if (sub == menu)
            return qobject_cast<QMenu *>(const_cast<QWidget *>(inside));
        if (QMenu *found = menuOpening(menu, sub))
            return found;
    }
    return nullptr;
}

// The window menu belongs to (the window of the widget it pops up over, or
// of the menu bar it drops from): what F1 in the menu tells the author
// belongs there, not to the menu, which closes as the message shows.
QWidget *menuOwnerWindow(const QMenu &menu, const QWidget *menuBar, QWidget *fallback)
{
    const QWidget *widget = &menu;
    while (const auto *inner = qobject_cast<const QMenu *>(widget)) {
        const QWidget *owner = inner->parentWidget();
        if (!owner)
            owner = menuOpening(inner, menuBar);
        if (!owner)
            return fallback;
        widget = owner;
    }
    return const_cast<QWidget *>(widget->window());
}

} // namespace

TMainForm::TMainForm(const EditorEnvironment &environment, EditorWindows &windows)
    : m_environment(environment), m_windows(windows),
      m_controller(environment.programFolder.toStdString(), *this, *this, *this, this),
      m_settings(environment.settingsFolder), m_help(environment.programFolder, *environment.seams),
      m_dialogHelp(m_help, kEditorHelp, this)
{
    initEditorResources();
    setObjectName(QStringLiteral("MainForm"));
    qApp->installEventFilter(&m_dialogHelp);
    // Seen first: F1 in an open menu.
    qApp->installEventFilter(this);
    setWindowTitle(kCaption);
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    OB_Main = new MainNavigation(toolbarImages(), this);
    NB_DataSheets = new QStackedWidget(this);
    NB_DataSheets->setObjectName(QStringLiteral("NB_DataSheets"));
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(OB_Main);
    row->addWidget(NB_DataSheets, 1);
    setCentralWidget(central);

    buildStatusBar();
    buildMenus();
    buildRecentFiles();
    buildPages();

    connect(OB_Main, &MainNavigation::change, this,
            [this](int oldIndex, int newIndex) { OB_MainChange(OB_Main, oldIndex, newIndex); });
    connect(OB_Main, &MainNavigation::buttonClicked, this, &TMainForm::OB_ButtonClick);
    connect(NB_DataSheets, &QStackedWidget::currentChanged, this, [this] { NB_DataSheetsPageChanged(); });

    // A single-border window: its size is fixed.
    setFixedSize(790, 590);
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::buildStatusBar()
{
    Sb_Main = new TPanelStatusBar(this);
    Sb_Main->setObjectName(QStringLiteral("Sb_Main"));
    Sb_Main->addPanel(300);
    Sb_Main->addPanel(35, Qt::AlignHCenter);
    Sb_Main->addPanel(200);
    Sb_Main->addPanel(40);
    Sb_Main->addPanel(100);
    Sb_Main->addPanel(50);
    pb_LoadProgress = new QProgressBar;
    pb_LoadProgress->setObjectName(QStringLiteral("pb_LoadProgress"));
    pb_LoadProgress->setRange(0, 100);
    pb_LoadProgress->setValue(0);
    pb_LoadProgress->setTextVisible(false);
    Sb_Main->hostControl(pb_LoadProgress, kProgressPanel);
    G_Mem = new QProgressBar;
    G_Mem->setObjectName(QStringLiteral("G_Mem"));
    G_Mem->setRange(0, 100);
    G_Mem->setTextVisible(false);
    G_Mem->setToolTip(QStringLiteral("Available physical memory"));
    Sb_Main->hostControl(G_Mem, kGaugePanel);
    Sb_Main->setPanelText(kPercentPanel, QStringLiteral("OK"));
    setStatusBar(Sb_Main);
}

void TMainForm::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MM_MainMenu"));
    const auto action = [this](QMenu *menu, const char *name, const QString &caption, const QKeySequence &keys = {}) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty())
            item->setShortcut(keys);
        return item;
    };

    MI_FileMenu = bar->addMenu(QStringLiteral("&File"));
    MI_FileMenu->setObjectName(QStringLiteral("MI_File"));
    MI_New = action(MI_FileMenu, "MI_New", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    MI_Open = action(MI_FileMenu, "MI_Open", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    MI_Append = action(MI_FileMenu, "MI_Append", QStringLiteral("&Append"), QKeySequence(Qt::CTRL | Qt::Key_A));
    MI_Save = action(MI_FileMenu, "MI_Save", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    MI_Save->setEnabled(false);
    MI_SaveAs = action(MI_FileMenu, "MI_SaveAs", QStringLiteral("Save &as"));
    MI_FileMenu->addSeparator();
    MI_Exit = action(MI_FileMenu, "MI_Exit", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X));
    connect(MI_New, &QAction::triggered, this, &TMainForm::MI_NewClick);
    connect(MI_Open, &QAction::triggered, this, &TMainForm::MI_OpenClick);
    connect(MI_Append, &QAction::triggered, this, &TMainForm::MI_AppendClick);
    connect(MI_Save, &QAction::triggered, this, &TMainForm::MI_SaveClick);
    connect(MI_SaveAs, &QAction::triggered, this, &TMainForm::MI_SaveAsClick);
    connect(MI_Exit, &QAction::triggered, this, &TMainForm::MI_ExitClick);

    MI_StepMenu = bar->addMenu(QStringLiteral("&Step"));
    MI_StepMenu->setObjectName(QStringLiteral("MI_Step"));
    m_stepGroup = new QActionGroup(this);
    m_stepGroup->setExclusive(true);
    using Handler = void (TMainForm::*)(QObject *);
    static constexpr std::array<Handler, kPageCount> handlers{
        &TMainForm::B_GenInfoClick,   &TMainForm::B_ComponentsClick, &TMainForm::B_DialogsClick,
        &TMainForm::B_FilesClick,     &TMainForm::B_IconsClick,      &TMainForm::B_RegistryClick,
        &TMainForm::B_INIClick,       &TMainForm::B_UninstallClick,  &TMainForm::B_ExtensionsClick,
        &TMainForm::B_CompileClick};
    for (int i = 0; i < kPageCount; ++i) {
        const PageInfo &info = editorPages()[static_cast<size_t>(i)];
        if (i == kCompilePage)
            MI_StepMenu->addSeparator();
        QAction *item = action(MI_StepMenu, info.menuItem, QString::fromUtf8(info.menuCaption));
        item->setCheckable(true);
        m_stepGroup->addAction(item);
        MI_Steps[static_cast<size_t>(i)] = item;
        const Handler handler = handlers[static_cast<size_t>(i)];
        connect(item, &QAction::triggered, this, [this, item, handler] { (this->*handler)(item); });
    }
    MI_Steps[kGeneralPage]->setChecked(true);

    MI_Tools = bar->addMenu(QStringLiteral("&Tools"));
    MI_Tools->setObjectName(QStringLiteral("MI_Tools"));
    MI_Tools->menuAction()->setVisible(false);
    connect(MI_Tools, &QMenu::triggered, this, &TMainForm::RunToolCommand);

    MI_Options = bar->addMenu(QStringLiteral("&Options"));
    MI_Options->setObjectName(QStringLiteral("MI_Options"));
    MI_Variables = action(MI_Options, "MI_Variables", QStringLiteral("Show &variables"));
    connect(MI_Variables, &QAction::triggered, this, &TMainForm::MI_VariablesClick);

    MI_HelpMenu = bar->addMenu(QStringLiteral("&?"));
    MI_HelpMenu->setObjectName(QStringLiteral("MI_HelpMenu"));
    MI_Help = action(MI_HelpMenu, "MI_Help", QStringLiteral("&Help"), QKeySequence(Qt::CTRL | Qt::Key_F1));
    MI_ScriptingRef = action(MI_HelpMenu, "MI_ScriptingRef", QStringLiteral("&Scripting reference"));
    MI_HelpMenu->addSeparator();
    MI_Info = action(MI_HelpMenu, "MI_Info", QStringLiteral("&Info"), QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(MI_Help, &QAction::triggered, this, &TMainForm::MI_HelpClick);
    connect(MI_ScriptingRef, &QAction::triggered, this, &TMainForm::MI_ScriptingRefClick);
    connect(MI_Info, &QAction::triggered, this, &TMainForm::MI_InfoClick);
    for (QMenu *menu : {MI_FileMenu, MI_StepMenu, MI_Tools, MI_Options, MI_HelpMenu})
        menu->setProperty("HelpContext", kMenuHelpContext);
}

void TMainForm::buildRecentFiles()
{
    MRU = new TMRUFileList(this);
    MRU->setObjectName(QStringLiteral("MRU"));
    MRU->setSettingsFolder(m_environment.settingsFolder);
    MRU->setUseRegistry(true);
    MRU->setRemoveOnClick(false);
    MRU->setUseSubmenu(true);
    MRU->setInsertSeparator(false);
    MRU->setSubmenuName(QStringLiteral("&Reopen"));
    MRU->setClearItemName(QStringLiteral("&Clear MRU List"));
    MRU->setRemoveObsoleteName(QStringLiteral("&Remove Obsolete"));
    MRU->setFileMenu(MI_Append);
    // A batch compile neither shows nor changes the recent files, and so
    // writes no settings file (loading the list makes its key).
    if (parseEditorCommandLine(m_environment.arguments).batchCompile())
        MRU->setAutoSave(false);
    MRU->setAutoSaveName(kEditorSettingsKey);
    MRU->setAutoSaveKey(QStringLiteral("MRU"));
    MRU->OnMRUItemClick = [this](TMRUFileList *sender, const QString &fileName) { MRUMRUItemClick(sender, fileName); };
    try {
        MRU->Loaded();
    } catch (const std::exception &) {
        // Settings that can't be read leave the list empty.
    }
}

void TMainForm::buildPages()
{
    for (int i = 0; i < kPageCount; ++i) {
        std::unique_ptr<TEditorPage> created = createEditorPage(i, *this);
        TEditorPage *p = created.release();
        NB_DataSheets->addWidget(p);
        m_pages[static_cast<size_t>(i)] = p;
        if (QTabWidget *tabs = p->tabControl())
            connect(tabs, &QTabWidget::currentChanged, this, [this, i](int tab) { PC_TabsChange(i, tab); });
    }
    NB_DataSheets->setCurrentIndex(kGeneralPage);
    NB_DataSheetsPageChanged();
}

TEditorPage *TMainForm::page(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[static_cast<size_t>(index)] : nullptr;
}

void TMainForm::setNavigationButtonVisible(int page, int button, bool visible)
{
    OB_Main->setButtonVisible(page, button, visible);
}

void TMainForm::windowsCreated()
{
    if (TVarForm *palette = m_windows.VarForm.get())
        connect(palette, &TVarForm::closedByAuthor, this, [this] {
            m_shell.VariablesShown = false;
            MI_Variables->setText(QStringLiteral("Show &variables"));
        });
}

void TMainForm::FormCreate()
{
    T_MemTimer();
    m_help.setProgramFolder(m_environment.programFolder);
    m_shell.OwnFileList = ownFiles(m_environment.programFolder);
    if (auto *components = qobject_cast<TComponentsPage *>(page(kComponentsPage)))
        components->Scan();
    m_shell.BaseCaption = windowTitle();
    m_controller.setBaseCaption(m_shell.BaseCaption.toStdString());
    try {
        m_shell.ExtensionDefaults =
            std::make_unique<TMemIniStore>((m_environment.programFolder + QStringLiteral("extens.ini")).toStdString());
    } catch (const std::exception &) {
        m_shell.ExtensionDefaults = std::make_unique<TMemIniStore>(std::string());
    }
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the first paint, from the event loop, as a window's first
    // showing does.
    QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::openStartProject(bool batch, bool &opened)
{
    const EditorCommandLine line = parseEditorCommandLine(m_environment.arguments);
    opened = false;
    if (line.project.isEmpty()) {
        m_controller.startNewProject();
        return;
    }
    const std::string requested = line.project.toStdString();
    try {
        // A file the author (or the batch compile) declined to open leaves
        // a new project from the template in its place.
        opened = m_controller.openCommandLineProject(requested);
        if (!opened && batch)
            printBatchLine(QStringLiteral("The project file %1 was not opened.").arg(line.project), true);
    } catch (const std::exception &e) {
        if (batch) {
            printBatchLine(QString::fromUtf8(e.what()), true);
            return;
        }
        showError(seams(), this, QString::fromUtf8(e.what()));
        m_controller.startNewProject();
    }
}

void TMainForm::FormShow()
{
    m_shell.ToolCommands.clear();
    const EditorCommandLine line = parseEditorCommandLine(m_environment.arguments);
    m_batchMode = line.batchCompile();
    bool opened = false;
    openStartProject(m_batchMode, opened);
    if (m_batchMode) {
        if (opened) {
            runBatchCompile();
        } else {
            m_batchExitStatus = 2;
            settleStopSignal(false); // nothing was stopped: the status is the one the last line tells
        }
        m_batchMode = false;
        requestTermination(m_batchExitStatus);
    }
    readEditorSettings(m_settings, *this);
}

void TMainForm::runBatchCompile()
{
    // The compile page's own compile, with nothing asked and every line
    // printed as it comes.
    QString lastLine;
    auto *compile = qobject_cast<TCompilePage *>(page(kCompilePage));
    if (!compile) {
        printBatchLine(QStringLiteral("ERROR: The compile page is not available."), true);
        m_batchExitStatus = 1;
        settleStopSignal(false);
        return;
    }
    compile->OnCompileLine = [this, &lastLine](const QString &line, bool error) {
        lastLine = line;
        printBatchLine(line, error);
    };
    try {
        compile->B_CompileFileClick();
        const CompileOutcome &outcome = compile->lastCompile();
        // A build machine may try again once the other compile has ended.
        m_batchExitStatus = outcome.outputInUse ? kExitOutputInUse : outcome.failed() ? 1 : 0;
    } catch (const std::exception &e) {
        lastLine = QStringLiteral("ERROR: ") + QString::fromUtf8(e.what());
        printBatchLine(lastLine, true);
        m_batchExitStatus = 1;
    }
    compile->OnCompileLine = nullptr;
    // The exit status tells what the last line says: a stop signal ends the
    // program only when the compile ended on it.
    settleStopSignal(IsStopLine(lastLine.toStdString()));
}

void TMainForm::requestTermination(int status)
{
    if (m_environment.terminate) {
        m_environment.terminate(status);
        return;
    }
    // Takes effect once the event loop runs; closing handlers don't run.
    QMetaObject::invokeMethod(
        qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

void TMainForm::printBatchLine(const QString &line, bool error)
{
    if (m_environment.batchOutput) {
        m_environment.batchOutput(line, error);
        return;
    }
    std::FILE *stream = error ? stderr : stdout;
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

bool TMainForm::FormCloseQuery() { return m_controller.canClose(); }

void TMainForm::FormClose()
{
    TVarForm *palette = m_windows.VarForm.get();
    if (!palette)
        return;
    EditorSettingsOnClose values;
    values.showVariables = m_shell.VariablesShown;
    values.paletteLeft = palette->x();
    values.paletteTop = palette->y();
    values.showWarning = m_shell.ShowCompileWarning;
    writeEditorSettings(m_settings, values);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // The palette and the other windows of the run go with the main window.
    if (TVarForm *palette = m_windows.VarForm.get())
        palette->hide();
}

void TMainForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        m_help.showKeyword(this, kEditorHelp, QString::number(m_helpContext));
        return;
    }
    if (event->key() == Qt::Key_T && event->modifiers() == Qt::ControlModifier && MI_Tools->menuAction()->isVisible()) {
        menuBar()->setActiveAction(MI_Tools->menuAction());
        return;
    }
    QMainWindow::keyPressEvent(event);
}

QString TMainForm::menuHelpTopic(const QMenu &menu) const
{
    // A menu without a help context of its own has the one of the menu it
    // pops out of, or of the widget it belongs to (a page's pop-up menu:
    // the page shown).
    const QWidget *widget = &menu;
    while (const auto *inner = qobject_cast<const QMenu *>(widget)) {
        bool ok = false;
        const int context = inner->property("HelpContext").toInt(&ok);
        if (ok && context > 0)
            return QString::number(context);
        const QWidget *owner = inner->parentWidget();
        if (!owner)
            owner = menuOpening(inner, menuBar());
        if (!owner)
            return QString::number(kMenuHelpContext);
        widget = owner;
    }
    const QWidget *window = widget->window();
    return window == this ? QString::number(m_helpContext) : helpTopicOf(*window);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *menu = qobject_cast<QMenu *>(static_cast<QWidget *>(watched)->window());
        if (menu && key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            m_help.showKeyword(menuOwnerWindow(*menu, menuBar(), this), kEditorHelp, menuHelpTopic(*menu));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::MI_NewClick() { m_controller.newProject(); }
void TMainForm::MI_OpenClick() { m_controller.openProject(); }
void TMainForm::MI_AppendClick() { m_controller.appendProject(); }
void TMainForm::MI_SaveClick() { m_controller.save(); }
void TMainForm::MI_SaveAsClick() { m_controller.saveAs(); }
void TMainForm::MI_ExitClick() { close(); }

void TMainForm::MRUMRUItemClick(QObject *, const QString &AFilename)
{
    m_controller.openRecentFile(AFilename.toStdString());
}

void TMainForm::selectPage(int index, QObject *sender)
{
    NB_DataSheets->setCurrentIndex(index);
    if (sender != OB_Main)
        OB_Main->SetActiveHeader(index);
    MI_Steps[static_cast<size_t>(index)]->setChecked(true);
}

void TMainForm::B_GenInfoClick(QObject *Sender) { selectPage(kGeneralPage, Sender); }
void TMainForm::B_ComponentsClick(QObject *Sender) { selectPage(kComponentsPage, Sender); }
void TMainForm::B_DialogsClick(QObject *Sender) { selectPage(kDialogsPage, Sender); }
void TMainForm::B_FilesClick(QObject *Sender) { selectPage(kFilesPage, Sender); }
void TMainForm::B_IconsClick(QObject *Sender) { selectPage(kIconsPage, Sender); }
void TMainForm::B_RegistryClick(QObject *Sender) { selectPage(kRegistryPage, Sender); }
void TMainForm::B_INIClick(QObject *Sender) { selectPage(kIniPage, Sender); }
void TMainForm::B_UninstallClick(QObject *Sender) { selectPage(kUninstallPage, Sender); }
void TMainForm::B_ExtensionsClick(QObject *Sender) { selectPage(kExtensionsPage, Sender); }
void TMainForm::B_CompileClick(QObject *Sender) { selectPage(kCompilePage, Sender); }

void TMainForm::OB_MainChange(QObject *, int, int NewIndex)
{
    if (NewIndex >= 0 && NewIndex < kPageCount)
        selectPage(NewIndex, OB_Main);
}

void TMainForm::OB_ButtonClick(int pageIndex, int buttonIndex)
{
    if (TEditorPage *p = page(pageIndex))
        p->navigationButtonClicked(buttonIndex);
}

void TMainForm::NB_DataSheetsPageChanged()
{
    const int index = NB_DataSheets->currentIndex();
    if (index < 0 || index >= kPageCount)
        return;
    const PageInfo &info = editorPages()[static_cast<size_t>(index)];
    m_helpContext = info.helpContext;
    if (const QTabWidget *tabs = m_pages[static_cast<size_t>(index)]->tabControl()) {
        const int tab = tabs->currentIndex();
        if (tab >= 0 && tab < static_cast<int>(info.tabs.size()))
            m_helpContext = info.tabs[static_cast<size_t>(tab)].helpContext;
    }
    NB_DataSheets->setProperty("HelpContext", m_helpContext);
}

void TMainForm::PC_TabsChange(int pageIndex, int tabIndex)
{
    const PageInfo &info = editorPages()[static_cast<size_t>(pageIndex)];
    if (tabIndex >= 0 && tabIndex < static_cast<int>(info.tabs.size()) && NB_DataSheets->currentIndex() == pageIndex) {
        m_helpContext = info.tabs[static_cast<size_t>(tabIndex)].helpContext;
        NB_DataSheets->setProperty("HelpContext", m_helpContext);
    }
    m_pages[static_cast<size_t>(pageIndex)]->tabChanged(tabIndex);
}

void TMainForm::MI_VariablesClick()
{
    m_shell.VariablesShown = !m_shell.VariablesShown;
    TVarForm *palette = m_windows.VarForm.get();
    if (m_shell.VariablesShown) {
        if (palette)
            palette->show();
        MI_Variables->setText(QStringLiteral("Hide &variables"));
    } else {
        if (palette)
            palette->hide();
        MI_Variables->setText(QStringLiteral("Show &variables"));
    }
}

void TMainForm::MI_HelpClick() { m_help.showContents(this, kEditorHelp); }

void TMainForm::MI_ScriptingRefClick() { m_help.showContents(this, kScriptHelp); }

void TMainForm::MI_InfoClick()
{
    if (m_windows.InfoForm)
        m_windows.InfoForm->ShowModal();
}

void TMainForm::T_MemTimer()
{
    const MemoryStatus status = GlobalMemoryStatus();
    G_Mem->setValue(100 - status.memoryLoad);
    Sb_Main->setPanelText(kMemoryPanel, availableMemoryText(status.availPhysical));
    Sb_Main->repaint();
}

void TMainForm::RunToolCommand(QAction *item)
{
    const int index = static_cast<int>(MI_Tools->actions().indexOf(item));
    if (index < 0 || index >= m_shell.ToolCommands.size())
        return;
    const QString command = m_shell.ToolCommands.at(index);
    errno = 0;
    if (RunCommandLine(seams(), m_environment.winePath, command))
        return;
    const int error = errno;
    const QStringList parts = splitCommandLine(command);
    const QString program = parts.isEmpty() ? QString() : parts.front();
    showError(seams(), this,
              couldNotExecuteText(command, program, startFailureReason(m_environment.winePath, program, error)));
}

MessageAnswer TMainForm::showMessage(MessageKind kind, MessageButtons buttons, const std::string &text)
{
    if (m_batchMode) {
        // Nothing may wait for an answer: the message goes to the error
        // output and every question is answered as refused.
        switch (buttons) {
        case MessageButtons::Ok:
            printBatchLine(fromStd(text), true);
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            printBatchLine(batchMessageText(fromStd(text), QStringLiteral("No")), true);
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            break;
        }
        printBatchLine(batchMessageText(fromStd(text), QStringLiteral("Cancel")), true);
        return MessageAnswer::Cancel;
    }
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton preset = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        preset = QMessageBox::Yes;
        break;
    case MessageButtons::YesNoCancel:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        preset = QMessageBox::Yes;
        break;
    }
    switch (seams().messages->messageDlg(this, dialogType(kind), fromStd(text), shown, preset)) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

std::optional<std::string> TMainForm::chooseProjectToOpen()
{
    if (m_batchMode)
        return std::nullopt;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Open");
    request.filter = kProjectFilter;
    request.defaultExt = QStringLiteral("wfp");
    request.initialDir = projectDialogFolder();
    const FileDialogResult result = seams().fileDialogs->run(this, request);
    if (!result.accepted || result.files.isEmpty())
        return std::nullopt;
    return result.files.front().toStdString();
}

QString TMainForm::projectDialogFolder() const
{
    const std::string &file = m_controller.ProjectFileName();
    if (file != kNoProjectFile && !sameTextIgnoreCase(file, m_controller.templatePath()))
        return fromStd(m_controller.ProjectFolder());
    // A new project's folder is the program folder, which is no place for
    // the author's files (and may not be writable).
    if (!m_lastSaveFolder.isEmpty() && QFileInfo(m_lastSaveFolder).isDir())
        return m_lastSaveFolder;
    if (!m_environment.documentsFolder.isEmpty())
        return m_environment.documentsFolder;
    return userDocumentsFolder();
}

std::optional<std::string> TMainForm::chooseProjectToSave()
{
    if (m_batchMode)
        return std::nullopt;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = QStringLiteral("Save as");
    request.filter = kProjectFilter;
    request.defaultExt = QStringLiteral("wfp");
    request.overwritePrompt = true;
    request.initialDir = projectDialogFolder();
    const FileDialogResult result = seams().fileDialogs->run(this, request);
    if (!result.accepted || result.files.isEmpty())
        return std::nullopt;
    return result.files.front().toStdString();
}

void TMainForm::showProgress(int percent, const std::string &panelText)
{
    pb_LoadProgress->setValue(percent);
    Sb_Main->setPanelText(kPercentPanel, fromStd(panelText));
    Sb_Main->repaint();
}

void TMainForm::showBusy(BusyKind kind, const std::string &caption)
{
    if (TReadForm *busy = m_windows.ReadForm.get())
        busy->showBusy(kind == BusyKind::Reading, fromStd(caption));
}

void TMainForm::hideBusy()
{
    if (TReadForm *busy = m_windows.ReadForm.get())
        busy->hideBusy();
}

void TMainForm::processMessages() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void TMainForm::AddRecentFile(const std::string &fileName)
{
    // A batch compile is no use of the file by the author.
    if (!m_batchMode)
        MRU->AddRecentFile(fromStd(fileName));
}

void TMainForm::modifiedChanged(bool modified, const std::string &modifiedText)
{
    MI_Save->setEnabled(modified);
    Sb_Main->setPanelText(kModifiedPanel, fromStd(modifiedText));
}

void TMainForm::titleChanged(const std::string &title) { setWindowTitle(fromStd(title)); }

void TMainForm::documentReplaced()
{
    for (TEditorPage *p : m_pages)
        if (p)
            p->load();
}

void TMainForm::projectSaved(const std::string &fileName) { m_lastSaveFolder = fromStd(extractFilePath(fileName)); }

void TMainForm::applyShowVariables(bool shown)
{
    m_shell.VariablesShown = !shown;
    MI_VariablesClick();
}

void TMainForm::setPaletteLeft(int left)
{
    if (TVarForm *palette = m_windows.VarForm.get())
        palette->move(left, palette->y());
}

void TMainForm::setPaletteTop(int top)
{
    if (TVarForm *palette = m_windows.VarForm.get())
        palette->move(palette->x(), top);
}

void TMainForm::setShowCompileWarning(bool show) { m_shell.ShowCompileWarning = show; }

void TMainForm::addTool(const QString &caption, const QString &commandLine)
{
    auto *item = new QAction(caption, MI_Tools);
    MI_Tools->menuAction()->setVisible(true);
    m_shell.ToolCommands << commandLine;
    if (!commandLine.isEmpty()) {
        QString program = commandLine;
        QString params;
        SplitCommandLine(program, params);
        if (!program.isEmpty()) {
            item->setIcon(toolIcon(program));
            item->setProperty("IconProgram", program);
        }
    }
    MI_Tools->addAction(item);
}

void TMainForm::setHighlightSyntax(bool on) { TScriptMemo::setHighlightSyntax(on); }

} // namespace wharf
