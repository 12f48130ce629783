#include "dialogspage.h"

#include "billboardeditor.h"
#include "buttonedits.h"
#include "editorwindows.h"
#include "files.h"
#include "pagefields.h"
#include "pagetable.h"
#include "paths.h"
#include "programstart.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "scriptmemo.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

namespace wharf {
namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

std::vector<std::string> toLines(const QStringList &lines)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(lines.size()));
    for (const QString &line : lines)
        out.push_back(ss(line));
    return out;
}

QStringList fromLines(const std::vector<std::string> &lines)
{
    QStringList out;
    for (const std::string &line : lines)
        out << qs(line);
    return out;
}

// path with its links and "." and ".." resolved as far as it exists; a
// missing file keeps its name below its folder's real path.
std::string realPath(const std::string &path)
{
    if (std::optional<std::string> real = canonicalPath(path))
        return *real;
    const std::string name = extractFileName(path);
    const std::string folder = excludeTrailingSeparator(path.substr(0, path.size() - name.size()));
    if (folder.empty() || folder == path)
        return path;
    if (std::optional<std::string> real = canonicalPath(folder))
        return joinPath(*real, name);
    return path;
}

// Whether path lies below folder (both taken as real paths).
bool liesIn(const std::string &folder, const std::string &path)
{
    const std::string base = excludeTrailingSeparator(realPath(excludeTrailingSeparator(folder)));
    const std::string file = realPath(excludeTrailingSeparator(path));
    return !base.empty() && file.size() > base.size() && file.compare(0, base.size(), base) == 0 &&
           (file[base.size()] == '/' || base == "/");
}

} // namespace

TDialogsPage::TDialogsPage(PageContext &context, int pageIndex, QWidget *parent) : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Dialogs"));
    PC_Dialogs = named(new QTabWidget(this), "PC_Dialogs");
    PC_Dialogs->addTab(buildDialogsTab(), QStringLiteral("Dialogs"));
    PC_Dialogs->addTab(buildScriptingTab(), QStringLiteral("Scripting"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PC_Dialogs);
}

QWidget *TDialogsPage::buildDialogsTab()
{
    auto *tab = named(new QWidget, "TS_Dialogs");
    auto *layout = new QVBoxLayout(tab);

    // One dialog list with its buttons; returns the row to put in the tab.
    const auto listRow = [&](QListWidget *&box, const char *boxName, QPushButton *&add, const char *addName,
                             QPushButton *&edit, const char *editName, QPushButton *&remove, const char *removeName,
                             QToolButton *&up, const char *upName, QToolButton *&down, const char *downName) {
        box = named(new QListWidget(tab), boxName);
        add = named(new QPushButton(QStringLiteral("&Add"), tab), addName);
        edit = named(new QPushButton(QStringLiteral("&Edit"), tab), editName);
        remove = named(new QPushButton(QStringLiteral("&Delete"), tab), removeName);
        edit->setEnabled(false);
        remove->setEnabled(false);
        up = named(new QToolButton(tab), upName);
        up->setArrowType(Qt::UpArrow);
        down = named(new QToolButton(tab), downName);
        down->setArrowType(Qt::DownArrow);
        auto *moves = new QVBoxLayout;
        moves->addStretch();
        moves->addWidget(up);
        moves->addWidget(down);
        moves->addStretch();
        auto *buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(edit);
        buttons->addWidget(remove);
        buttons->addStretch();
        auto *row = new QHBoxLayout;
        row->addLayout(moves);
        row->addWidget(box, 1);
        row->addLayout(buttons);
        return row;
    };

    layout->addWidget(new QLabel(QStringLiteral("The following dialogs will be shown during the installation:"), tab));
    layout->addLayout(listRow(LB_Dialogs, "LB_Dialogs", B_AddDialog, "B_AddDialog", B_EditDialog, "B_EditDialog",
                              B_DeleteDialog, "B_DeleteDialog", B_MoveUp1, "B_MoveUp1", B_MoveDown1, "B_MoveDown1"),
                      1);
    L_UninstDlgCaption = named(
        new QLabel(QStringLiteral("The following dialogs will be shown during the uninstallation:"), tab),
        "L_UninstDlgCaption");
    layout->addWidget(L_UninstDlgCaption);
    layout->addLayout(listRow(LB_UninstDialogs, "LB_UninstDialogs", B_AddUninstDialog, "B_AddUninstDialog",
                              B_EditUninstDialog, "B_EditUninstDialog", B_DeleteUninstDialog, "B_DeleteUninstDialog",
                              B_MoveUp2, "B_MoveUp2", B_MoveDown2, "B_MoveDown2"),
                      1);

    auto *options = new QGroupBox(QStringLiteral("Additional dialog options"), tab);
    const auto textFile = [&](const char *name) {
        auto *edit = named(new TFilenameEdit(options, context().seams()), name);
        edit->setDefaultExt(QStringLiteral("rtf"));
        edit->setFilter(QStringLiteral("RTF files, Text files (*.rtf;*.txt)|*.rtf;*.txt"));
        return edit;
    };
    FE_ReadmeFile = textFile("FE_ReadmeFile");
    FE_LicenseFile = textFile("FE_LicenseFile");
    B_BillConfig = named(new QPushButton(QStringLiteral("Billboard configuration..."), options), "B_BillConfig");
    auto *grid = new QGridLayout(options);
    grid->addWidget(new QLabel(QStringLiteral("Readme file:"), options), 0, 0);
    grid->addWidget(FE_ReadmeFile, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("License agreement file:"), options), 1, 0);
    grid->addWidget(FE_LicenseFile, 1, 1);
    grid->addWidget(B_BillConfig, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    layout->addWidget(options);

    connect(B_AddDialog, &QPushButton::clicked, this, &TDialogsPage::B_AddDialogClick);
    connect(B_AddUninstDialog, &QPushButton::clicked, this, &TDialogsPage::B_AddUninstDialogClick);
    connect(B_EditDialog, &QPushButton::clicked, this, &TDialogsPage::B_EditDialogClick);
    connect(LB_Dialogs, &QListWidget::itemDoubleClicked, this, &TDialogsPage::B_EditDialogClick);
    connect(B_EditUninstDialog, &QPushButton::clicked, this, &TDialogsPage::B_EditUninstDialogClick);
    connect(LB_UninstDialogs, &QListWidget::itemDoubleClicked, this, &TDialogsPage::B_EditUninstDialogClick);
    connect(B_DeleteDialog, &QPushButton::clicked, this, &TDialogsPage::B_DeleteDialogClick);
    connect(B_DeleteUninstDialog, &QPushButton::clicked, this, &TDialogsPage::B_DeleteUninstDialogClick);
    connect(LB_Dialogs, &QListWidget::currentRowChanged, this, &TDialogsPage::LB_DialogsClick);
    connect(LB_UninstDialogs, &QListWidget::currentRowChanged, this, &TDialogsPage::LB_UninstDialogsClick);
    connect(B_MoveUp1, &QToolButton::clicked, this, &TDialogsPage::B_MoveUp1Click);
    connect(B_MoveUp2, &QToolButton::clicked, this, &TDialogsPage::B_MoveUp2Click);
    connect(B_MoveDown1, &QToolButton::clicked, this, &TDialogsPage::B_MoveDown1Click);
    connect(B_MoveDown2, &QToolButton::clicked, this, &TDialogsPage::B_MoveDown2Click);
    connect(B_BillConfig, &QPushButton::clicked, this, &TDialogsPage::B_BillConfigClick);
    const auto bindFile = [this](TFilenameEdit *edit, std::string GeneralSettings::*field) {
        edit->OnChange = [this, field](TCustomButtonEdit *sender) {
            if (isLoading())
                return;
            document().General.*field = ss(static_cast<TFilenameEdit *>(sender)->FileName());
            markModified();
        };
    };
    bindFile(FE_ReadmeFile, &GeneralSettings::ReadmeFile);
    bindFile(FE_LicenseFile, &GeneralSettings::LicenseFile);
    return tab;
}

QWidget *TDialogsPage::buildScriptingTab()
{
    auto *tab = named(new QWidget, "TS_Scripting");
    auto *layout = new QVBoxLayout(tab);
    auto *explanation = new QLabel(
        QStringLiteral("The dialog files contain most of the script commands. Scripts can react on user events and "
                       "control the user interface there. Additionally, there are three global scripts. You cannot "
                       "control a dialog with them, but you can perform actions at startup, before terminating or "
                       "during the installation."),
        tab);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    const auto frame = [&](const char *name, const QString &caption) {
        auto *memo = named(new TScriptMemo(tab, context().seams()), name);
        memo->setProgramFolder(context().environment().programFolder);
        layout->addWidget(new QLabel(caption, tab));
        layout->addWidget(memo, 1);
        connect(memo->M_Script, &QPlainTextEdit::textChanged, this, [this, memo] { SM_InitScriptM_ScriptChange(memo); });
        return memo;
    };
    SM_InitScript = frame("SM_InitScript", QStringLiteral("Initialization script:"));
    SM_FinalScript = frame("SM_FinalScript", QStringLiteral("Finalization script:"));
    SM_InstallScript = frame("SM_InstallScript", QStringLiteral("Installation script:"));
    return tab;
}

void TDialogsPage::loadFromDocument(const Project &project)
{
    fillList(LB_Dialogs, project.Dialogs, LB_Dialogs->currentRow());
    fillList(LB_UninstDialogs, project.UninstallDialogs, LB_UninstDialogs->currentRow());
    showFileName(FE_ReadmeFile, project.General.ReadmeFile);
    showFileName(FE_LicenseFile, project.General.LicenseFile);
    // Every save and compile reloads the page: a script that already shows
    // the document's lines keeps its caret, scroll position and undo steps.
    const auto showScript = [](TScriptMemo *frame, const std::vector<std::string> &lines) {
        const QStringList shown = fromLines(lines);
        if (frame->M_Script->toPlainText() != shown.join(u'\n'))
            frame->setLines(shown);
    };
    showScript(SM_InitScript, project.InitScript);
    showScript(SM_FinalScript, project.FinalScript);
    showScript(SM_InstallScript, project.InstallScript);
    LB_DialogsClick();
    UninstallerChanged();
    if (document().General.Uninstaller)
        LB_UninstDialogsClick();
}

TDialogsPage::ListControls TDialogsPage::controls(DialogList list) const
{
    if (list == DialogList::Installation)
        return {list, LB_Dialogs, B_EditDialog, B_DeleteDialog};
    return {list, LB_UninstDialogs, B_EditUninstDialog, B_DeleteUninstDialog};
}

void TDialogsPage::addDialogs(DialogList list)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::OpenMany;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("Brindlewharf dialog files (*.ddf)");
    request.defaultExt = QStringLiteral("ddf");
    request.fileName = QStringLiteral("*.ddf");
    // The stock pages are where most dialogs come from.
    request.initialDir = context().environment().programFolder + QStringLiteral("Dialogs");
    const FileDialogResult result = context().seams().fileDialogs->run(context().mainWindow(), request);
    if (!result.accepted || result.files.isEmpty())
        return;
    std::vector<std::string> &files = dialogFiles(document(), list);
    for (const QString &file : result.files) {
        files.push_back(ss(file));
        controls(list).box->addItem(file);
    }
    markModified();
}

void TDialogsPage::editDialog(DialogList list)
{
    const int row = controls(list).box->currentRow();
    const std::vector<std::string> &files = dialogFiles(document(), list);
    if (row < 0 || row >= static_cast<int>(files.size()))
        return;
    std::string path =
        toNativePath(editor::ExpandRelativePath(files[static_cast<size_t>(row)], context().controller().ProjectFolder()));
    if (isStockPage(path)) {
        const std::optional<std::string> copy = copyStockPage(list, row, path);
        if (!copy)
            return;
        path = *copy;
    }
    const EditorEnvironment &environment = context().environment();
    StartProgramOrExplain(context().seams(), context().mainWindow(), environment.winePath,
                          QStringLiteral("Dialog Designer"), environment.programFolder + QStringLiteral("wharfdraft"),
                          {qs(path)});
}

bool TDialogsPage::isStockPage(const std::string &path)
{
    return liesIn(ss(context().environment().programFolder), path);
}

std::optional<std::string> TDialogsPage::copyStockPage(DialogList list, int row, const std::string &page)
{
    const Seams &seams = context().seams();
    QWidget *owner = context().mainWindow();
    const std::string folder = context().controller().ProjectFolder();
    // A project that was never saved has no folder of its own to take the
    // copy: its folder is the program folder.
    const std::string program = ss(context().environment().programFolder);
    if (folder.empty() || realPath(excludeTrailingSeparator(folder)) == realPath(excludeTrailingSeparator(program)) ||
        liesIn(program, folder)) {
        showInformation(seams, owner,
                        QStringLiteral("The dialog %1 is one of the program's own pages, which every project shares. "
                                       "Save the project into a folder of its own first: the page is then copied "
                                       "into that folder for this project, and the copy is edited.")
                            .arg(qs(page)));
        return std::nullopt;
    }
    // The copy keeps the page's name unless the project's folder already
    // holds a file of that name (the author's own, or an earlier copy).
    const std::string name = extractFileName(page);
    const std::string ext = extractFileExt(name);
    const std::string stem = name.substr(0, name.size() - ext.size());
    std::string copyName = name;
    for (int n = 2; fileExists(joinPath(folder, copyName)) || folderExists(joinPath(folder, copyName)); ++n)
        copyName = stem + " " + std::to_string(n) + ext;
    const std::string copy = joinPath(folder, copyName);
    if (!askYesNo(seams, owner,
                  QStringLiteral("The dialog %1 is one of the program's own pages, which every project shares: a "
                                 "change to it would change it for every project.\n\nCopy it to %2 and edit the "
                                 "copy? This project then uses the copy.")
                      .arg(qs(page), qs(copy))))
        return std::nullopt;
    errno = 0;
    if (!copyFile(page, copy)) {
        const int error = errno;
        showError(seams, owner,
                  QStringLiteral("Could not copy %1 to %2!\n\n%3")
                      .arg(qs(page), qs(copy),
                           QString::fromStdString(std::generic_category().message(error ? error : EIO))));
        return std::nullopt;
    }
    // A page shipped read-only gives a read-only copy: the copy is the
    // author's own, to be saved by the designer.
    QFile::setPermissions(qs(copy), QFile::permissions(qs(copy)) | QFileDevice::WriteOwner);
    // The entry names the copy relative to the project's folder, so it
    // stays beside the project when the project moves.
    dialogFiles(document(), list)[static_cast<size_t>(row)] = copyName;
    controls(list).box->item(row)->setText(qs(copyName));
    markModified();
    return copy;
}

void TDialogsPage::deleteDialog(DialogList list)
{
    const ListControls c = controls(list);
    const int row = c.box->currentRow();
    const std::vector<std::string> &files = dialogFiles(document(), list);
    if (row < 0 || row >= static_cast<int>(files.size()))
        return;
    const std::string dialog = files[static_cast<size_t>(row)];
    const std::vector<DllCall> calls = document().DllCalls;
    const std::vector<size_t> orphaned = wharf::deleteDialog(document(), list, static_cast<size_t>(row));
    delete c.box->takeItem(row);
    c.box->setCurrentRow(-1);
    listClicked(list);
    markModified();
    refreshCallsIfChanged(calls);
    if (!orphaned.empty())
        reportOrphanedCalls(dialog, orphaned);
}

void TDialogsPage::reportOrphanedCalls(const std::string &dialog, const std::vector<size_t> &calls)
{
    QStringList lines;
    for (size_t index : calls) {
        const DllCall &call = document().DllCalls[index];
        lines << QStringLiteral("%1 (%2)").arg(qs(call.FileName), qs(call.FunctionName));
    }
    const QString text =
        QStringLiteral("The dialog %1 was deleted. These DLL calls were to run after it and now run after no dialog:"
                       "\n\n%2\n\nChoose their dialog again on the page \"Extensions\".")
            .arg(qs(dialog), lines.join(u'\n'));
    context().seams().messages->messageDlg(context().mainWindow(), MsgDlgType::Warning, text, QMessageBox::Ok,
                                           QMessageBox::Ok);
}

void TDialogsPage::moveDialog(DialogList list, int step)
{
    QListWidget *box = controls(list).box;
    const int row = box->currentRow();
    const int other = row + step;
    const int count = static_cast<int>(dialogFiles(document(), list).size());
    if (row < 0 || other < 0 || row >= count || other >= count)
        return;
    const std::vector<DllCall> calls = document().DllCalls;
    exchangeDialogs(document(), list, static_cast<size_t>(row), static_cast<size_t>(other));
    const std::vector<std::string> &files = dialogFiles(document(), list);
    box->item(row)->setText(qs(files[static_cast<size_t>(row)]));
    box->item(other)->setText(qs(files[static_cast<size_t>(other)]));
    box->setCurrentRow(other);
    markModified();
    refreshCallsIfChanged(calls);
}

void TDialogsPage::refreshCallsIfChanged(const std::vector<DllCall> &before)
{
    if (before == document().DllCalls)
        return;
    // The DLL calls are shown by the extensions page, a sibling in the page
    // book: it refills its view from the renumbered records.
    if (QWidget *book = parentWidget())
        for (TEditorPage *page : book->findChildren<TEditorPage *>(QString(), Qt::FindDirectChildrenOnly))
            if (page->pageIndex() == kExtensionsPage)
                page->load();
}

void TDialogsPage::listClicked(DialogList list)
{
    const ListControls c = controls(list);
    const bool selected = c.box->currentRow() >= 0;
    c.edit->setEnabled(selected);
    c.remove->setEnabled(selected);
}

void TDialogsPage::UninstallerChanged()
{
    const bool on = document().General.Uninstaller;
    for (QWidget *w : std::initializer_list<QWidget *>{L_UninstDlgCaption, LB_UninstDialogs, B_MoveUp2, B_MoveDown2,
                                                       B_AddUninstDialog, B_EditUninstDialog, B_DeleteUninstDialog})
        w->setEnabled(on);
}

void TDialogsPage::B_AddDialogClick() { addDialogs(DialogList::Installation); }
void TDialogsPage::B_AddUninstDialogClick() { addDialogs(DialogList::Uninstallation); }
void TDialogsPage::B_EditDialogClick() { editDialog(DialogList::Installation); }
void TDialogsPage::B_EditUninstDialogClick() { editDialog(DialogList::Uninstallation); }
void TDialogsPage::B_DeleteDialogClick() { deleteDialog(DialogList::Installation); }
void TDialogsPage::B_DeleteUninstDialogClick() { deleteDialog(DialogList::Uninstallation); }
void TDialogsPage::LB_DialogsClick() { listClicked(DialogList::Installation); }
void TDialogsPage::LB_UninstDialogsClick() { listClicked(DialogList::Uninstallation); }
void TDialogsPage::B_MoveUp1Click() { moveDialog(DialogList::Installation, -1); }
void TDialogsPage::B_MoveUp2Click() { moveDialog(DialogList::Uninstallation, -1); }
void TDialogsPage::B_MoveDown1Click() { moveDialog(DialogList::Installation, 1); }
void TDialogsPage::B_MoveDown2Click() { moveDialog(DialogList::Uninstallation, 1); }

void TDialogsPage::B_BillConfigClick()
{
    if (TBillboardEditor *editor = context().windows().BillboardEditor.get())
        editor->ShowModal();
}

void TDialogsPage::SM_InitScriptM_ScriptChange(TScriptMemo *frame)
{
    // Colouring changes the text's formats, which reports a change of the
    // text again: that one is only the colouring's own.
    if (m_colouring)
        return;
    m_colouring = true;
    frame->M_ScriptChange(frame->M_Script);
    m_colouring = false;
    if (isLoading())
        return;
    std::vector<std::string> &lines = frame == SM_InitScript    ? document().InitScript
                                      : frame == SM_FinalScript ? document().FinalScript
                                                                : document().InstallScript;
    std::vector<std::string> edited = toLines(frame->Lines());
    if (edited == lines)
        return;
    lines = std::move(edited);
    markModified();
}

} // namespace wharf
