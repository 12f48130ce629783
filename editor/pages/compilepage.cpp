#include "compilepage.h"

#include "buttonedits.h"
#include "compileform.h"
#include "copyform.h"
#include "editorwindows.h"
#include "fileroutines.h"
#include "files.h"
#include "folderbrowse.h"
#include "pagetable.h"
#include "paths.h"
#include "programstart.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "shellstate.h"
#include "varform.h"
#include "warningform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <initializer_list>

namespace wharf {
namespace {

constexpr int kExecSetupButton = 1;
constexpr int kPackageType = 2;
constexpr int kOtherDiskSize = 2;
// The value the system's message beep is given after a compile.
constexpr unsigned kCompileBeep = 16777215;

struct DiskPreset {
    int diskSize;
    int clusterSize;
};
// "1.44 MB" and "650 MB"; "Other" keeps both values.
constexpr DiskPreset kDiskPresets[] = {{1457664, 512}, {681574400, 2048}};

QString fromStd(const std::string &text) { return QString::fromStdString(text); }

// Single-line fields end up in a line-based file: a pasted line break
// must not reach it.
QString singleLine(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

QGroupBox *radioGroup(QWidget *parent, const char *name, const QString &caption, const QStringList &items)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    auto *buttons = new QButtonGroup(group);
    buttons->setObjectName(QString::fromLatin1(name) + QStringLiteral("_Buttons"));
    auto *layout = new QVBoxLayout(group);
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items.at(i), group);
        radio->setObjectName(QString::fromLatin1(name) + QStringLiteral("_%1").arg(i));
        buttons->addButton(radio, i);
        layout->addWidget(radio);
    }
    return group;
}

QButtonGroup *buttonsOf(const QGroupBox *group) { return group->findChild<QButtonGroup *>(); }

} // namespace

// What the compiler reports goes into the compile window (and to
// OnCompileLine); the cancel button is heard while events are handled here.
class TCompilePage::CompileMessages final : public CompileListener {
public:
    explicit CompileMessages(TCompilePage &page) : m_page(page) {}

    void processMessages() override { QCoreApplication::processEvents(); }

    bool goOn() override { return !m_page.context().shell().CompileCancelled; }

    void compileMessage(const QString &text, int kind, int percent) override
    {
        TCompileForm *form = m_page.compileForm();
        if (kind == 2) {
            if (form)
                form->PB_Minor->setValue(percent);
            return;
        }
        const bool error = kind != 0;
        if (form) {
            form->PB_Minor->setValue(0);
            form->PB_CompProc->setValue(goOn() ? percent : 0);
            form->AddLine(text, error);
            form->repaint();
        }
        if (m_page.OnCompileLine)
            m_page.OnCompileLine(text, error);
    }

private:
    TCompilePage &m_page;
};

TCompilePage::TCompilePage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Compile"));
    buildControls();
    connectControls();
    updateOutputTypeControls();
    B_ExecSetup->setEnabled(false);
    context.setNavigationButtonVisible(pageIndex, kExecSetupButton, false);
}

void TCompilePage::buildControls()
{
    const auto label = [this](const char *name, const QString &caption) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };

    L_OutputDir = label("L_OutputDir", QStringLiteral("Output directory:"));
    E_OutputDir = new QLineEdit(this);
    E_OutputDir->setObjectName(QStringLiteral("E_OutputDir"));
    B_ChooseDir = new QToolButton(this);
    B_ChooseDir->setObjectName(QStringLiteral("B_ChooseDir"));
    B_ChooseDir->setAutoRaise(true);
    QPixmap folder = QPixmap::fromImage(FolderGlyph());
    folder.setMask(folder.createMaskFromColor(QColor(255, 0, 255)));
    B_ChooseDir->setIcon(QIcon(folder));
    B_ChooseDir->setToolTip(QStringLiteral("Select the output folder"));
    FB_OutputDir = new TFolderBrowse(this, context().seams());

    RG_OutputType = radioGroup(this, "RG_OutputType", QStringLiteral("Output type"),
                               {QStringLiteral("Disk-spanning setup"), QStringLiteral("Self-extracting setup"),
                                QStringLiteral("Tidewire package")});
    l_PackageName = label("l_PackageName", QStringLiteral("Package name:"));
    E_PackageName = new QLineEdit(this);
    E_PackageName->setObjectName(QStringLiteral("E_PackageName"));

    L_MaxDiskSize = label("L_MaxDiskSize", QStringLiteral("Max. disk size:"));
    CB_DiskSize = new QComboBox(this);
    CB_DiskSize->setObjectName(QStringLiteral("CB_DiskSize"));
    CB_DiskSize->addItems({QStringLiteral("1.44 MB"), QStringLiteral("650 MB"), QStringLiteral("Other")});
    SE_DiskSize = new QSpinBox(this);
    SE_DiskSize->setObjectName(QStringLiteral("SE_DiskSize"));
    SE_DiskSize->setRange(0, INT_MAX);
    SE_DiskSize->setEnabled(false);
    L_DiskBytes = label("L_DiskBytes", QStringLiteral("bytes"));
    L_ClusterSize = label("L_ClusterSize", QStringLiteral("Cluster size:"));
    SE_Cluster = new QSpinBox(this);
    SE_Cluster->setObjectName(QStringLiteral("SE_Cluster"));
    SE_Cluster->setRange(0, INT_MAX);
    L_ClusterBytes = label("L_ClusterBytes", QStringLiteral("bytes"));

    L_CompLevel = label("L_CompLevel", QStringLiteral("Compression level:"));
    TB_CompLevel = new QSlider(Qt::Horizontal, this);
    TB_CompLevel->setObjectName(QStringLiteral("TB_CompLevel"));
    TB_CompLevel->setRange(0, 8);
    TB_CompLevel->setTickInterval(1);
    TB_CompLevel->setPageStep(1);
    TB_CompLevel->setTickPosition(QSlider::TicksBelow);
    L_LowComp = label("L_LowComp", QStringLiteral("Low"));
    L_HighComp = label("L_HighComp", QStringLiteral("High"));

    RG_ArcMode = radioGroup(this, "RG_ArcMode", QStringLiteral("File archive mode"),
                            {QStringLiteral("Include complete files"), QStringLiteral("Allow partial updates")});

    L_RunBatch = label("L_RunBatch", QStringLiteral("Run batch file:"));
    FE_RunBatch = new TFilenameEdit(this, context().seams());
    FE_RunBatch->setObjectName(QStringLiteral("FE_RunBatch"));
    FE_RunBatch->setFilter(QStringLiteral("Batch files (*.bat); Applications (*.exe)|*.bat;*.exe"));

    L_OutputFiles = label("L_OutputFiles", QStringLiteral("Files in the output folder:"));
    LV_OutputFiles = new QListWidget(this);
    LV_OutputFiles->setObjectName(QStringLiteral("LV_OutputFiles"));
    LV_OutputFiles->setViewMode(QListView::ListMode);
    LV_OutputFiles->setFlow(QListView::TopToBottom);
    LV_OutputFiles->setWrapping(true);
    LV_OutputFiles->setResizeMode(QListView::Adjust);
    LV_OutputFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LV_OutputFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV_OutputFiles->setIconSize(QSize(16, 16));
    LV_OutputFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    PM_OutputFiles = new QMenu(this);
    PM_OutputFiles->setObjectName(QStringLiteral("PM_OutputFiles"));
    MI_DeleteFile = PM_OutputFiles->addAction(QStringLiteral("&Delete"));
    MI_DeleteFile->setObjectName(QStringLiteral("MI_DeleteFile"));
    MI_DeleteFile->setShortcut(QKeySequence(Qt::Key_Delete));
    MI_CopyFile = PM_OutputFiles->addAction(QStringLiteral("&Copy"));
    MI_CopyFile->setObjectName(QStringLiteral("MI_CopyFile"));
    MI_CopyFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    // The shortcuts work where the list has the focus.
    for (QAction *item : {MI_DeleteFile, MI_CopyFile}) {
        item->setShortcutContext(Qt::WidgetShortcut);
        LV_OutputFiles->addAction(item);
    }

    QString logText;
    try {
        logText = QStringLiteral("The compile log is kept in %1").arg(QString::fromStdString(compileLogPath()));
    } catch (const std::exception &e) {
        logText = QStringLiteral("No compile log can be kept: %1").arg(QString::fromUtf8(e.what()));
    }
    L_LogFile = label("L_LogFile", logText);
    L_LogFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    L_LogFile->setWordWrap(true);

    B_CompileFile = new QPushButton(QStringLiteral("&Compile now"), this);
    B_CompileFile->setObjectName(QStringLiteral("B_CompileFile"));
    B_ExecSetup = new QPushButton(QStringLiteral("&Execute setup"), this);
    B_ExecSetup->setObjectName(QStringLiteral("B_ExecSetup"));

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(L_OutputDir, row, 0);
    auto *dirRow = new QHBoxLayout;
    dirRow->addWidget(E_OutputDir, 1);
    dirRow->addWidget(B_ChooseDir);
    grid->addLayout(dirRow, row++, 1, 1, 3);
    grid->addWidget(l_PackageName, row, 0);
    grid->addWidget(E_PackageName, row++, 1, 1, 3);
    grid->addWidget(L_MaxDiskSize, row, 0);
    grid->addWidget(CB_DiskSize, row, 1);
    grid->addWidget(SE_DiskSize, row, 2);
    grid->addWidget(L_DiskBytes, row++, 3);
    grid->addWidget(L_ClusterSize, row, 0);
    grid->addWidget(SE_Cluster, row, 2);
    grid->addWidget(L_ClusterBytes, row++, 3);
    grid->addWidget(L_CompLevel, row, 0);
    auto *levelRow = new QHBoxLayout;
    levelRow->addWidget(L_LowComp);
    levelRow->addWidget(TB_CompLevel, 1);
    levelRow->addWidget(L_HighComp);
    grid->addLayout(levelRow, row++, 1, 1, 3);
    grid->addWidget(L_RunBatch, row, 0);
    grid->addWidget(FE_RunBatch, row++, 1, 1, 3);
    grid->setColumnStretch(1, 1);

    auto *groups = new QHBoxLayout;
    groups->addWidget(RG_OutputType, 1);
    groups->addWidget(RG_ArcMode, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_CompileFile);
    buttons->addWidget(B_ExecSetup);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(grid);
    layout->addWidget(L_OutputFiles);
    layout->addWidget(LV_OutputFiles, 1);
    layout->addWidget(L_LogFile);
    layout->addLayout(buttons);
}

void TCompilePage::connectControls()
{
    connect(E_OutputDir, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.contains(u'\r') || text.contains(u'\n')) {
            E_OutputDir->setText(singleLine(text));
            return;
        }
        E_OutputDirChange();
    });
    connect(B_ChooseDir, &QToolButton::clicked, this, &TCompilePage::B_ChooseDirClick);
    connect(buttonsOf(RG_OutputType), &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RG_OutputTypeClick();
    });
    connect(E_PackageName, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.contains(u'\r') || text.contains(u'\n')) {
            E_PackageName->setText(singleLine(text));
            return;
        }
        if (isLoading())
            return;
        document().General.PackageName = text.toStdString();
        markModified();
    });
    connect(CB_DiskSize, &QComboBox::activated, this, [this] { CB_DiskSizeChange(); });
    connect(SE_DiskSize, &QSpinBox::valueChanged, this, [this](int value) {
        if (isLoading())
            return;
        document().General.MaxDiskSize = value;
        markModified();
    });
    connect(SE_Cluster, &QSpinBox::valueChanged, this, [this](int value) {
        if (isLoading())
            return;
        document().General.ClusterSize = value;
        markModified();
    });
    connect(TB_CompLevel, &QSlider::valueChanged, this, [this](int value) {
        if (isLoading())
            return;
        document().General.CompressionLevel = value;
        markModified();
    });
    connect(buttonsOf(RG_ArcMode), &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || isLoading())
            return;
        document().General.ArchiveMode = id;
        markModified();
    });
    FE_RunBatch->OnChange = [this](TCustomButtonEdit *) {
        if (isLoading())
            return;
        document().General.RunBatch = singleLine(FE_RunBatch->FileName()).toStdString();
        markModified();
    };
    connect(LV_OutputFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint &point) {
        PM_OutputFilesPopup();
        if (MI_DeleteFile->isVisible())
            PM_OutputFiles->popup(LV_OutputFiles->viewport()->mapToGlobal(point));
    });
    connect(LV_OutputFiles, &QListWidget::itemSelectionChanged, this, &TCompilePage::PM_OutputFilesPopup);
    connect(MI_DeleteFile, &QAction::triggered, this, &TCompilePage::MI_DeleteFileClick);
    connect(MI_CopyFile, &QAction::triggered, this, &TCompilePage::MI_CopyFileClick);
    connect(B_CompileFile, &QPushButton::clicked, this, &TCompilePage::B_CompileFileClick);
    connect(B_ExecSetup, &QPushButton::clicked, this, &TCompilePage::B_ExecSetupClick);
    PM_OutputFilesPopup();
}

int TCompilePage::itemIndex(const QGroupBox *group) const
{
    const QButtonGroup *buttons = buttonsOf(group);
    return buttons ? buttons->checkedId() : -1;
}

void TCompilePage::setItemIndex(QGroupBox *group, int index)
{
    if (QButtonGroup *buttons = buttonsOf(group))
        if (QAbstractButton *button = buttons->button(index))
            button->setChecked(true);
}

void TCompilePage::loadFromDocument(const Project &project)
{
    const GeneralSettings &g = project.General;
    // The document is what was read: the handlers that run while the
    // controls are filled only follow it (enabling, the file list), and
    // the disk-size choice does not overwrite the stored sizes.
    setItemIndex(RG_OutputType, std::clamp(g.OutputType, 0, 2));
    setItemIndex(RG_ArcMode, std::clamp(g.ArchiveMode, 0, 1));
    E_PackageName->setText(fromStd(g.PackageName));
    CB_DiskSize->setCurrentIndex(std::clamp(g.FloppySize, 0, 2));
    SE_DiskSize->setValue(g.MaxDiskSize);
    SE_Cluster->setValue(g.ClusterSize);
    TB_CompLevel->setValue(g.CompressionLevel);
    try {
        FE_RunBatch->SetFileName(fromStd(g.RunBatch));
    } catch (const EButtonEditError &) {
        // A name the edit refuses stays in the document as it was read.
        FE_RunBatch->SetFileName(QString());
    }
    updateOutputTypeControls();
    const QString outputDir = fromStd(g.OutputDir);
    if (E_OutputDir->text() == outputDir)
        E_OutputDirChange();
    else
        E_OutputDir->setText(outputDir);
}

QString TCompilePage::outputFolder()
{
    const std::string text = E_OutputDir->text().toStdString();
    if (text.empty())
        return {};
    const std::string base =
        compileWorkFolder(context().controller(), context().environment().programFolder).toStdString();
    const std::string resolved = toNativePath(editor::ExpandRelativePath(text, base));
    return fromStd(excludeTrailingSeparator(resolved));
}

void TCompilePage::navigationButtonClicked(int buttonIndex)
{
    if (buttonIndex == 0)
        B_CompileFileClick();
    else if (buttonIndex == kExecSetupButton)
        B_ExecSetupClick();
}

void TCompilePage::updateOutputTypeControls()
{
    const int type = itemIndex(RG_OutputType);
    const bool package = type == kPackageType;
    E_PackageName->setEnabled(package);
    l_PackageName->setEnabled(package);
    const bool disks = type == 0;
    for (QWidget *w : std::initializer_list<QWidget *>{CB_DiskSize, L_MaxDiskSize, L_DiskBytes, L_ClusterSize,
                                                      SE_Cluster, L_ClusterBytes})
        w->setEnabled(disks);
    updateDiskSizeControls();
    // The files page enables its additional files (a package has none) from
    // the document's output type whenever it is shown.
}

void TCompilePage::updateDiskSizeControls()
{
    SE_DiskSize->setEnabled(CB_DiskSize->isEnabled() && CB_DiskSize->currentIndex() == kOtherDiskSize);
}

void TCompilePage::RG_OutputTypeClick()
{
    updateOutputTypeControls();
    if (isLoading())
        return;
    document().General.OutputType = std::max(0, itemIndex(RG_OutputType));
    CB_DiskSizeChange();
    markModified();
}

void TCompilePage::CB_DiskSizeChange()
{
    updateDiskSizeControls();
    if (!CB_DiskSize->isEnabled() || isLoading())
        return;
    const int choice = CB_DiskSize->currentIndex();
    document().General.FloppySize = std::max(0, choice);
    if (choice >= 0 && choice < kOtherDiskSize) {
        SE_DiskSize->setValue(kDiskPresets[choice].diskSize);
        SE_Cluster->setValue(kDiskPresets[choice].clusterSize);
    }
    markModified();
}

void TCompilePage::E_OutputDirChange()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LV_OutputFiles->clear();
    const QString folder = outputFolder();
    bool hasSetup = false;
    if (!folder.isEmpty() && FolderExists(folder.toStdString())) {
        // Files only, hidden ones left out, in name order.
        const QFileInfoList files =
            QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        static QFileIconProvider icons;
        for (const QFileInfo &file : files) {
            LV_OutputFiles->addItem(new QListWidgetItem(icons.icon(file), file.fileName()));
            if (file.fileName().compare(QStringLiteral("setup.exe"), Qt::CaseInsensitive) == 0)
                hasSetup = true;
        }
    }
    QApplication::restoreOverrideCursor();
    B_ExecSetup->setEnabled(hasSetup);
    context().setNavigationButtonVisible(pageIndex(), kExecSetupButton, hasSetup);
    PM_OutputFilesPopup();
    if (isLoading())
        return;
    document().General.OutputDir = E_OutputDir->text().toStdString();
    markModified();
}

void TCompilePage::B_ChooseDirClick()
{
    FB_OutputDir->Directory = outputFolder();
    FB_OutputDir->Title = QStringLiteral("Select the output folder for the setup files:");
    if (FB_OutputDir->Execute(context().mainWindow()))
        E_OutputDir->setText(FB_OutputDir->Directory);
}

void TCompilePage::PM_OutputFilesPopup()
{
    const bool selected = !LV_OutputFiles->selectedItems().isEmpty();
    MI_DeleteFile->setVisible(selected);
    MI_CopyFile->setVisible(selected);
}

QStringList TCompilePage::selectedFileNames() const
{
    QStringList names;
    for (int i = 0; i < LV_OutputFiles->count(); ++i)
        if (const QListWidgetItem *item = LV_OutputFiles->item(i); item->isSelected())
            names << item->text();
    return names;
}

void TCompilePage::MI_DeleteFileClick()
{
    const QString folder = outputFolder();
    for (const QString &name : selectedFileNames()) {
        const QString path = fromStd(joinPath(folder.toStdString(), name.toStdString()));
        if (!deleteFile(path.toStdString()))
            showError(context().seams(), context().mainWindow(), QStringLiteral("Could not delete %1!").arg(path));
    }
    E_OutputDirChange();
}

void TCompilePage::MI_CopyFileClick()
{
    const QStringList names = selectedFileNames();
    FB_OutputDir->Directory = QDir::rootPath();
    FB_OutputDir->Title = QString();
    if (!FB_OutputDir->Execute(context().mainWindow()))
        return;
    const std::string target = StripTrailingBackslash(FB_OutputDir->Directory.toStdString());
    const std::string source = outputFolder().toStdString();
    const Seams &seams = context().seams();
    TCopyForm copy(context().mainWindow());
    copy.show();
    for (const QString &name : names) {
        const QString to = fromStd(joinPath(target, name.toStdString()));
        if (QFileInfo::exists(fromStd(toNativePath(to.toStdString()))) &&
            !askYesNo(seams, context().mainWindow(),
                      QStringLiteral("The file %1 already exists. Do you want to overwrite it?").arg(to),
                      MsgDlgType::Warning))
            continue;
        const QString from = fromStd(joinPath(source, name.toStdString()));
        if (!copy.CopyFileWithProgress(from, to))
            showError(seams, context().mainWindow(), QStringLiteral("Could not copy %1 to %2!").arg(from, to));
    }
}

void TCompilePage::B_ExecSetupClick()
{
    const QString folder = outputFolder();
    const QString previous = QDir::currentPath();
    // The setup finds its archives beside itself through its current folder.
    QDir::setCurrent(folder);
    const QString setup = fromStd(joinPath(folder.toStdString(), "setup.exe"));
    const QString wine = context().environment().winePath;
    errno = 0;
    const bool started = StartProgram(context().seams(), wine, setup, {});
    const int error = errno;
    QDir::setCurrent(previous);
    if (!started)
        showError(context().seams(), context().mainWindow(),
                  couldNotExecuteText(QStringLiteral("Setup"), setup, startFailureReason(wine, setup, error)));
}

TCompileForm *TCompilePage::compileForm() { return context().windows().CompileForm.get(); }

void TCompilePage::disableWindows()
{
    context().mainWindow()->setEnabled(false);
    if (TVarForm *palette = context().windows().VarForm.get())
        palette->setEnabled(false);
}

void TCompilePage::enableWindows()
{
    context().mainWindow()->setEnabled(true);
    if (TVarForm *palette = context().windows().VarForm.get())
        palette->setEnabled(true);
}

void TCompilePage::finishCompile(bool wasModified)
{
    m_compiling = false;
    E_OutputDirChange();
    context().controller().SetModified(wasModified);
    if (context().seams().beep)
        context().seams().beep->beep(kCompileBeep);
    if (TCompileForm *form = compileForm()) {
        form->setCompiling(false);
        form->B_OK->setEnabled(true);
        form->B_OK->setText(TCompileForm::kOKCaption);
        form->repaint();
        form->B_OK->setFocus();
    }
}

void TCompilePage::offerDistributionManager(const QString &outputFolderText)
{
    const Seams &seams = context().seams();
    // The main window waits, disabled, behind the compile window: the
    // question belongs to the window in front.
    QWidget *owner = context().mainWindow();
    if (TCompileForm *form = compileForm(); form && form->isVisible())
        owner = form;
    if (!askYesNo(seams, owner,
                  QStringLiteral("Do you want to start the Tidewire Distribution Manager to upload the package?")))
        return;
    const QString program = context().environment().programFolder + QStringLiteral("Wharfpost.exe");
    const QString package = outputFolderText + E_PackageName->text();
    StartProgramOrExplain(seams, owner, context().environment().winePath,
                          QStringLiteral("Tidewire Distribution Manager"), program, {package});
}

void TCompilePage::B_CompileFileClick()
{
    // The library runs one compile at a time; a click that reaches the
    // page while one runs is not a second compile.
    if (m_compiling)
        return;
    const bool batch = context().batchMode();
    // An output folder that holds the author's own files is refused before
    // anything is asked or written.
    const QString refusal = outputFolderRefusal(context().controller(), context().environment().programFolder);
    if (!refusal.isEmpty()) {
        m_lastCompile = CompileOutcome{};
        m_lastCompile.errorLine = true;
        if (batch && OnCompileLine)
            OnCompileLine(QStringLiteral("ERROR: ") + refusal, true);
        else
            showError(context().seams(), context().mainWindow(), refusal);
        return;
    }
    ShellState &shell = context().shell();
    if (shell.ShowCompileWarning && !batch) {
        TWarningForm warning(shell, context().mainWindow());
        warning.Ch_ShowAgain->setChecked(true);
        const int answer = context().seams().modal->exec(warning);
        warning.FormClose();
        if (answer != TWarningForm::ResultYes) {
            enableWindows();
            return;
        }
    }

    disableWindows();
    // The compile window shows the result in front of the disabled main
    // window until the author closes it, and closing it enables the main
    // window (OnHide). Without a shown window (a batch compile), or when a
    // step raises, the windows are enabled as the click returns.
    struct Reenable {
        TCompilePage &page;
        bool raised = false;
        ~Reenable()
        {
            const TCompileForm *form = page.compileForm();
            if (raised || !form || !form->isVisible())
                page.enableWindows();
        }
    } reenable{*this};

    QString outputFolderText = outputFolder();
    if (!outputFolderText.isEmpty() && !isPathSeparator(outputFolderText.back().toLatin1()))
        outputFolderText += u'/';

    shell.CompileCancelled = false;
    TCompileForm *form = compileForm();
    if (form) {
        form->PB_CompProc->setValue(0);
        form->PB_Minor->setValue(0);
        form->B_OK->setEnabled(false);
        form->B_OK->setText(TCompileForm::kCancelCaption);
        form->ClearMessages();
        form->AddLine(QStringLiteral("Saving script file..."), false);
        form->setCompiling(true);
        form->OnHide = [this] { enableWindows(); };
        if (!batch)
            form->show();
        form->repaint();
    }
    const bool wasModified = context().controller().ProjectModified();
    m_compiling = true;
    m_lastCompile = CompileOutcome{};

    CompileMessages messages(*this);
    try {
        m_lastCompile = runProjectCompile(context().controller(), context().environment(), messages, [this] {
            if (TCompileForm *f = compileForm()) {
                f->B_OK->setEnabled(true);
                f->ClearMessages();
            }
        });
    } catch (...) {
        m_lastCompile.errorLine = true;
        reenable.raised = true;
        finishCompile(wasModified);
        throw;
    }
    finishCompile(wasModified);

    if (itemIndex(RG_OutputType) == kPackageType && !batch)
        offerDistributionManager(outputFolderText);
}

} // namespace wharf
