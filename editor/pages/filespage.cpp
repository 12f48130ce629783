#include "filespage.h"

#include "addddfileform.h"
#include "addfileform.h"
#include "codec.h"
#include "dumpform.h"
#include "entryfields.h"
#include "editorwindows.h"
#include "fileeditor.h"
#include "files.h"
#include "filetreemodel.h"
#include "filetreeview.h"
#include "folderwalk.h"
#include "globalchangeform.h"
#include "newfileentry.h"
#include "pagetable.h"
#include "paths.h"
#include "projectcontroller.h"
#include "projecthost.h"
#include "programstart.h"
#include "projectpaths.h"
#include "shelldroptarget.h"
#include "shellstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaObject>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr std::string_view kAppFolder = "{app}";
constexpr int kPackageOutput = 2;
constexpr int kPartialUpdates = 1;

QString fromStd(const std::string &text) { return QString::fromStdString(text); }

// A label's or list line's text as the project keeps it: one line.
QString singleLine(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption)
{
    auto *b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel *label(QWidget *parent, const char *name, const char *caption)
{
    auto *l = new QLabel(QString::fromUtf8(caption), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QListWidget *listBox(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

// The most paths one message lists; the rest are counted.
constexpr size_t kListedPaths = 10;

bool storable(const std::string &text) { return fitsWindows1252(text); }

// destination folder + "\" + name, as the setup runtime takes it.
std::string destinationIn(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && isPathSeparator(folder.back()))
        return folder + name;
    return folder + "\\" + name;
}

} // namespace

TFilesPage::TFilesPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent), m_model(new TFileTreeModel(context.controller(), this))
{
    setObjectName(QStringLiteral("Page_Files"));
    const PageInfo &info = editorPages().at(static_cast<size_t>(pageIndex));
    PC_FilePages = new QTabWidget(this);
    PC_FilePages->setObjectName(QString::fromLatin1(info.tabControl));
    TS_FilesGroups = buildFilesTab();
    TS_InstTypes = buildInstTypesTab();
    TS_AdditionalFiles = buildAdditionalFilesTab();
    const std::array<QWidget *, 3> sheets{TS_FilesGroups, TS_InstTypes, TS_AdditionalFiles};
    for (size_t i = 0; i < sheets.size(); ++i) {
        sheets[i]->setObjectName(QString::fromLatin1(info.tabs.at(i).objectName));
        PC_FilePages->addTab(sheets[i], QString::fromUtf8(info.tabs.at(i).caption));
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PC_FilePages);

    m_dependencyHost = std::make_unique<ProjectDependencyHost>(
        context.controller(), [this](const std::string &source, const std::string &destination) {
            AddFileEntry(source, destination, addFileRelative());
        });
}

TFilesPage::~TFilesPage()
{
    // The controls go after this page's own part, and the main window
    // around it is gone by now: nothing they report on their way out may
    // reach the handlers. (The dependency window, which holds the host, is
    // destroyed before the main window.)
    for (QObject *sender : std::initializer_list<QObject *>{TV_Files->selectionModel(), LV_InstTypes,
                                                           LV_GroupsInType, LB_AdditionalFiles, LB_DataFiles})
        sender->disconnect(this);
    TV_Files->onKey = nullptr;
    TV_Files->onMouseDown = nullptr;
}

QWidget *TFilesPage::buildFilesTab()
{
    auto *sheet = new QWidget(PC_FilePages);
    L_FilesCaption = label(sheet, "L_FilesCaption", "Drag the files from the Explorer to the list to add them");
    TV_Files = new TFileTreeView(sheet);
    TV_Files->setObjectName(QStringLiteral("TV_Files"));
    TV_Files->setModel(m_model);
    TV_Files->setHeaderHidden(true);
    TV_Files->setIndentation(19);
    TV_Files->setSelectionMode(QAbstractItemView::SingleSelection);
    TV_Files->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    TV_Files->setExpandsOnDoubleClick(true);
    TV_Files->setDragEnabled(true);
    TV_Files->setAcceptDrops(true);
    TV_Files->setDropIndicatorShown(true);
    TV_Files->setDragDropMode(QAbstractItemView::InternalMove);
    // Drops land on the node under the pointer, not between nodes.
    TV_Files->setDragDropOverwriteMode(true);
    TV_Files->setContextMenuPolicy(Qt::CustomContextMenu);
    B_Explorer = button(sheet, "B_Explorer", "E&xplorer");

    PM_FileTree = new QMenu(TV_Files);
    PM_FileTree->setObjectName(QStringLiteral("PM_FileTree"));
    const auto item = [this](const char *name, const char *caption, const QKeySequence &keys) {
        QAction *action = PM_FileTree->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        // The tree takes these keys itself while it has the focus.
        action->setShortcutContext(Qt::WidgetShortcut);
        return action;
    };
    MI_NewGroup = item("MI_NewGroup", "&New group", QKeySequence(Qt::CTRL | Qt::Key_N));
    MI_AddFile = item("MI_AddFile", "&Add file", QKeySequence(Qt::CTRL | Qt::Key_A));
    MI_DeleteGroup = item("MI_DeleteGroup", "&Delete", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    PM_FileTree->addSeparator();
    MI_GroupProperties = item("MI_GroupProperties", "&Properties...", QKeySequence(Qt::CTRL | Qt::Key_P));
    MI_GroupProperties->setVisible(false);
    MI_Required = item("MI_Required", "&Required", QKeySequence(Qt::CTRL | Qt::Key_R));
    MI_Required->setCheckable(true);
    MI_GlobalChange = item("MI_GlobalChange", "&Change properties of all files in this group...", {});
    PM_FileTree->addSeparator();
    MI_Dump = item("MI_Dump", "Check &file dependencies...", {});
    TV_Files->setKeyActions({MI_NewGroup, MI_AddFile, MI_DeleteGroup, MI_GroupProperties, MI_Required});

    connect(MI_NewGroup, &QAction::triggered, this, [this] { MI_NewGroupClick(); });
    connect(MI_AddFile, &QAction::triggered, this, [this] { MI_AddFileClick(); });
    connect(MI_DeleteGroup, &QAction::triggered, this, [this] { MI_DeleteGroupClick(); });
    connect(MI_GroupProperties, &QAction::triggered, this, [this] { MI_GroupPropertiesClick(); });
    connect(MI_Required, &QAction::triggered, this, [this] { MI_RequiredClick(); });
    connect(MI_GlobalChange, &QAction::triggered, this, [this] { MI_GlobalChangeClick(); });
    connect(MI_Dump, &QAction::triggered, this, [this] { MI_DumpClick(); });
    connect(TV_Files, &QWidget::customContextMenuRequested, this, [this](const QPoint &point) {
        PM_FileTreePopup();
        PM_FileTree->popup(TV_Files->viewport()->mapToGlobal(point));
    });
    connect(TV_Files, &QAbstractItemView::doubleClicked, this, [this] { MI_GroupPropertiesClick(); });
    connect(TV_Files->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { currentNodeChanged(); });
    connect(B_Explorer, &QPushButton::clicked, this, [this] { B_ExplorerClick(); });
    TV_Files->onKey = [this](QAction *action) { TV_FilesMenuKey(action); };
    TV_Files->onMouseDown = [this](QPoint point) { TV_FilesMouseDown(point); };
    m_model->setEditHandler([this](FileNode node, const QString &text) { return TV_FilesEdited(node, text); });
    m_model->setMoveHandlers([this](FileNode from, FileNode onto) { return TV_FilesDragOver(from, onto); },
                             [this](FileNode from, FileNode onto) { TV_FilesDragDrop(from, onto); });

    DT_DropFile = new TFileDropTarget(this);
    DT_DropFile->setObjectName(QStringLiteral("DT_DropFile"));
    DT_DropFile->setDragtypes(dtCopy | dtLink);
    DT_DropFile->OnDragOver = [this](TDropTarget *, Qt::KeyboardModifiers, QPoint point, uint32_t &) {
        DT_DropFileDragOver(point);
    };
    DT_DropFile->OnDrop = [this](TDropTarget *, Qt::KeyboardModifiers, QPoint point, uint32_t &) {
        DT_DropFileDragOver(point);
        // The dialog must not run inside the drop: the names are kept and
        // handled once the drop has ended.
        const QStringList paths = DT_DropFile->Files();
        QMetaObject::invokeMethod(this, [this, paths] { DT_DropFileDrop(paths); }, Qt::QueuedConnection);
    };
    DT_DropFile->Register(TV_Files);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(B_Explorer);
    auto *layout = new QVBoxLayout(sheet);
    layout->addWidget(L_FilesCaption);
    layout->addWidget(TV_Files, 1);
    layout->addLayout(bottom);
    return sheet;
}

QWidget *TFilesPage::buildInstTypesTab()
{
    auto *sheet = new QWidget(PC_FilePages);
    L_InstTypes = label(sheet, "L_InstTypes", "Installation types:");
    LV_InstTypes = listBox(sheet, "LV_InstTypes");
    LV_InstTypes->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    B_NewType = button(sheet, "B_NewType", "&New");
    B_DeleteType = button(sheet, "B_DeleteType", "&Delete");
    B_DeleteType->setEnabled(false);
    L_InclGroups = label(sheet, "L_InclGroups", "Included groups:");
    LV_GroupsInType = listBox(sheet, "LV_GroupsInType");
    Ch_CustomSetup = new QCheckBox(QStringLiteral("Allow custom setup"), sheet);
    Ch_CustomSetup->setObjectName(QStringLiteral("Ch_CustomSetup"));

    connect(B_NewType, &QPushButton::clicked, this, [this] { B_NewTypeClick(); });
    connect(B_DeleteType, &QPushButton::clicked, this, [this] { B_DeleteTypeClick(); });
    connect(LV_InstTypes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling)
            return;
        document().Selection.InstallType = row;
        LV_InstTypesClick();
    });
    connect(LV_InstTypes, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_filling)
            LV_InstTypesEdited(LV_InstTypes->row(item), item->text());
    });
    connect(LV_GroupsInType, &QListWidget::itemChanged, this, [this] {
        if (!m_filling)
            LV_GroupsInTypeClick();
    });
    connect(Ch_CustomSetup, &QCheckBox::clicked, this, [this] { Ch_CustomSetupClick(); });

    auto *typeButtons = new QHBoxLayout;
    typeButtons->addWidget(B_NewType);
    typeButtons->addWidget(B_DeleteType);
    typeButtons->addStretch();
    auto *types = new QVBoxLayout;
    types->addWidget(L_InstTypes);
    types->addWidget(LV_InstTypes, 1);
    types->addLayout(typeButtons);
    auto *groups = new QVBoxLayout;
    groups->addWidget(L_InclGroups);
    groups->addWidget(LV_GroupsInType, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(types);
    lists->addLayout(groups);
    auto *layout = new QVBoxLayout(sheet);
    layout->addLayout(lists, 1);
    layout->addWidget(Ch_CustomSetup);
    return sheet;
}

QWidget *TFilesPage::buildAdditionalFilesTab()
{
    auto *sheet = new QWidget(PC_FilePages);
    L_AdditionalFiles = label(sheet, "L_AdditionalFiles", "Files to be copied to the output folder:");
    LB_AdditionalFiles = listBox(sheet, "LB_AdditionalFiles");
    B_AddFile = button(sheet, "B_AddFile", "&Add");
    B_DeleteFile = button(sheet, "B_DeleteFile", "De&lete");
    B_DeleteFile->setEnabled(false);
    L_DataFiles = label(sheet, "L_DataFiles", "Files to be added to the data archive:");
    LB_DataFiles = listBox(sheet, "LB_DataFiles");
    B_AddDataFile = button(sheet, "B_AddDataFile", "A&dd");
    B_DeleteDataFile = button(sheet, "B_DeleteDataFile", "D&elete");
    B_DeleteDataFile->setEnabled(false);

    connect(B_AddFile, &QPushButton::clicked, this, [this] { B_AddFileClick(); });
    connect(B_DeleteFile, &QPushButton::clicked, this, [this] { B_DeleteFileClick(); });
    connect(B_AddDataFile, &QPushButton::clicked, this, [this] { B_AddDataFileClick(); });
    connect(B_DeleteDataFile, &QPushButton::clicked, this, [this] { B_DeleteDataFileClick(); });
    connect(LB_AdditionalFiles, &QListWidget::itemSelectionChanged, this, [this] { LB_AdditionalFilesClick(); });
    connect(LB_DataFiles, &QListWidget::itemSelectionChanged, this, [this] { LB_DataFilesClick(); });

    const auto section = [](QLabel *caption, QListWidget *list, QPushButton *add, QPushButton *remove) {
        auto *buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch();
        auto *row = new QHBoxLayout;
        row->addWidget(list, 1);
        row->addLayout(buttons);
        auto *column = new QVBoxLayout;
        column->addWidget(caption);
        column->addLayout(row, 1);
        return column;
    };
    auto *layout = new QVBoxLayout(sheet);
    layout->addLayout(section(L_AdditionalFiles, LB_AdditionalFiles, B_AddFile, B_DeleteFile), 1);
    layout->addLayout(section(L_DataFiles, LB_DataFiles, B_AddDataFile, B_DeleteDataFile), 1);
    return sheet;
}

void TFilesPage::loadFromDocument(const Project &project)
{
    m_model->reload();
    TV_Files->expandAll();
    Project &doc = document();
    doc.clampSelections();
    const FileNode selected{doc.Selection.Group, doc.Selection.File};
    if (nodeExists(project, selected))
        selectNode(selected);
    fillInstallTypes();
    Ch_CustomSetup->setChecked(project.General.CustomSetup);
    fillFileList(LB_AdditionalFiles, project.AdditionalFiles);
    fillFileList(LB_DataFiles, project.DataFiles);
    followOutputType();
    LB_DataFilesClick();
}

void TFilesPage::showEvent(QShowEvent *event)
{
    TEditorPage::showEvent(event);
    // The output type is chosen on the compile page.
    followOutputType();
}

void TFilesPage::fillInstallTypes()
{
    const Project &project = document();
    m_filling = true;
    LV_InstTypes->clear();
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    for (const InstallTypeEntry &type : project.InstallTypes) {
        auto *item = new QListWidgetItem(icon, fromStd(type.Name), LV_InstTypes);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    LV_InstTypes->setCurrentRow(project.Selection.InstallType);
    m_filling = false;
    LV_InstTypesClick();
}

void TFilesPage::fillFileList(QListWidget *list, const std::vector<std::string> &files)
{
    list->clear();
    for (const std::string &file : files)
        list->addItem(fromStd(file));
}

void TFilesPage::followOutputType()
{
    const bool package = document().General.OutputType == kPackageOutput;
    L_AdditionalFiles->setEnabled(!package);
    LB_AdditionalFiles->setEnabled(!package);
    B_AddFile->setEnabled(!package);
    LB_AdditionalFilesClick();
}

void TFilesPage::tabChanged(int)
{
    if (LV_InstTypes->count() > 0 && LV_InstTypes->currentRow() < 0)
        LV_InstTypes->setCurrentRow(0);
    LV_InstTypesClick();
}

FileNode TFilesPage::selectedNode() const { return m_model->nodeAt(TV_Files->currentIndex()); }

void TFilesPage::selectNode(FileNode node)
{
    const QModelIndex index = m_model->indexOf(node);
    if (index.isValid())
        TV_Files->setCurrentIndex(index);
    else
        TV_Files->setCurrentIndex({});
}

void TFilesPage::currentNodeChanged()
{
    const FileNode node = selectedNode();
    document().Selection.Group = node.Group;
    document().Selection.File = node.Group >= 0 ? node.File : -1;
}

void TFilesPage::MI_NewGroupClick()
{
    GroupEntry group;
    group.Name = newGroupName(document());
    const FileNode added = m_model->appendGroup(std::move(group));
    selectNode(added);
    markModified();
    LV_InstTypesClick();
    TV_Files->edit(m_model->indexOf(added));
}

void TFilesPage::MI_DeleteGroupClick()
{
    const FileNode node = selectedNode();
    if (node.Group < 0)
        return;
    m_model->removeNode(node);
    currentNodeChanged();
    markModified();
    LV_InstTypesClick();
}

void TFilesPage::MI_RequiredClick()
{
    const FileNode node = selectedNode();
    if (!node.isGroup())
        return;
    GroupEntry &group = document().Groups[static_cast<size_t>(node.Group)];
    group.Required = !group.Required;
    MI_Required->setChecked(group.Required);
    markModified();
}

void TFilesPage::PM_FileTreePopup()
{
    const FileNode node = selectedNode();
    const bool group = node.isGroup();
    const bool file = node.isFile();
    MI_NewGroup->setVisible(true);
    // On a file the item adds to the file's group.
    MI_AddFile->setVisible(group || file);
    MI_DeleteGroup->setVisible(group || file);
    MI_GroupProperties->setVisible(file);
    MI_Required->setVisible(group);
    if (group)
        MI_Required->setChecked(document().Groups[static_cast<size_t>(node.Group)].Required);
    MI_GlobalChange->setVisible(group);
    MI_Dump->setVisible(file);
}

void TFilesPage::TV_FilesMenuKey(QAction *item)
{
    PM_FileTreePopup();
    if (item && item->isVisible() && item->isEnabled())
        item->trigger();
}

void TFilesPage::TV_FilesMouseDown(QPoint point)
{
    const QModelIndex index = TV_Files->indexAt(point);
    if (index.isValid())
        TV_Files->setCurrentIndex(index);
}

bool TFilesPage::TV_FilesEdited(FileNode node, const QString &text)
{
    Project &project = document();
    if (!nodeExists(project, node))
        return false;
    const std::string value = singleLine(text).toStdString();
    GroupEntry &group = project.Groups[static_cast<size_t>(node.Group)];
    if (node.isFile()) {
        FileEntry &file = group.Files[static_cast<size_t>(node.File)];
        if (file.Source == value)
            return true;
        // Saved, an empty source would be a file entry without a file.
        if (QString::fromStdString(value).trimmed().isEmpty()) {
            showError(context().seams(), context().mainWindow(),
                      QStringLiteral("A file needs a source path. The path \"%1\" is kept.")
                          .arg(fromStd(file.Source)));
            return false;
        }
        if (!storable(value)) {
            showError(context().seams(), context().mainWindow(), unstorableText(value, false));
            return false;
        }
        file.Source = value;
        markModified();
        return true;
    }
    if (group.Name == value)
        return true;
    if (value.empty())
        return false;
    if (!storable(value)) {
        showError(context().seams(), context().mainWindow(), unstorableText(value, false, QStringLiteral("name")));
        return false;
    }
    if (groupNameTaken(project, value, node.Group)) {
        showError(context().seams(), context().mainWindow(),
                  QStringLiteral("You cannot create two groups with the same name!"));
        return false;
    }
    group.Name = value;
    markModified();
    LV_InstTypesClick();
    return true;
}

bool TFilesPage::TV_FilesDragOver(FileNode from, FileNode onto) { return canMoveNode(document(), from, onto); }

void TFilesPage::TV_FilesDragDrop(FileNode from, FileNode onto)
{
    if (!TV_FilesDragOver(from, onto))
        return;
    const FileNode moved = m_model->moveNode(from, onto);
    selectNode(moved);
    markModified();
    LV_InstTypesClick();
}

void TFilesPage::DT_DropFileDragOver(QPoint point)
{
    const QModelIndex index = TV_Files->indexAt(point);
    if (index.isValid())
        TV_Files->setCurrentIndex(index);
}

void TFilesPage::DT_DropFileDrop(const QStringList &paths)
{
    TAddDDFileForm *form = context().windows().AddDDFileForm.get();
    if (paths.isEmpty() || !form)
        return;
    form->E_Input->setText(QStringLiteral("{app}"));
    form->Ch_RelativePath->setChecked(false);
    if (form->ShowModal() != QDialog::Accepted)
        return;
    const std::string folder = singleLine(form->E_Input->text()).toStdString();
    for (const QString &path : paths) {
        const std::string file = path.toStdString();
        if (!AddFilesFromPath(file, extractFileName(excludeTrailingSeparator(file)), form->Ch_Dump->isChecked(),
                              form->Ch_RelativePath->isChecked(), folder))
            break;
    }
    markModified();
}

void TFilesPage::B_ExplorerClick()
{
    const QString folder = QDir::homePath();
    if (context().seams().processes->openDocument(folder))
        return;
    // The desktop's opener shows folders in its file manager; without one
    // the click would do nothing visible.
    const QString reason =
        QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()
            ? QStringLiteral("No file manager can be started here: the desktop's opener (xdg-open) is not installed.")
            : QStringLiteral("The desktop's opener (xdg-open) could not start a file manager for it.");
    showError(context().seams(), context().mainWindow(),
              couldNotExecuteText(QStringLiteral("the file manager"), folder, reason));
}

void TFilesPage::MI_AddFileClick()
{
    TAddFileForm *form = context().windows().AddFileForm.get();
    if (!form)
        return;
    int result = form->ShowModal();
    // A name of nothing that exists may be a file made before the compile:
    // the author keeps it, or goes back to the dialog to correct it.
    while (result == QDialog::Accepted && !form->fileName().isEmpty() && !sourceExists(form->fileName()) &&
           !askYesNo(context().seams(), context().mainWindow(),
                     QStringLiteral("The file \"%1\" does not exist.\n\nDo you want to add it anyway (it may be made "
                                    "before the setup is compiled)? Choose \"No\" to correct the name.")
                         .arg(form->fileName()),
                     MsgDlgType::Warning))
        result = context().seams().modal->exec(*form);
    if (result == QDialog::Accepted) {
        // An empty name adds nothing.
        const std::string name = form->fileName().toStdString();
        if (!name.empty())
            AddFilesFromPath(name, extractFileName(excludeTrailingSeparator(name)), form->Ch_Dump->isChecked(),
                             form->Ch_RelativePath->isChecked(), std::string(kAppFolder));
    }
    markModified();
}

void TFilesPage::MI_GroupPropertiesClick()
{
    const FileNode node = selectedNode();
    TFileEditor *editor = context().windows().FileEditor.get();
    if (!node.isFile() || !editor)
        return;
    Project &project = document();
    FileEntry &entry = project.Groups[static_cast<size_t>(node.Group)].Files[static_cast<size_t>(node.File)];
    FileEditorContext editing;
    editing.partialUpdates = project.General.ArchiveMode == kPartialUpdates;
    editing.uninstaller = project.General.Uninstaller;
    editing.fileOrdinal = fileOrdinal(project, node);
    editor->loadEntry(entry, editing);
    if (editor->ShowModal() != QDialog::Accepted)
        return;
    editor->storeEntry(entry);
    m_model->nodeChanged(node);
    markModified();
}

void TFilesPage::MI_GlobalChangeClick()
{
    const FileNode node = selectedNode();
    TGlobalChangeForm *form = context().windows().GlobalChangeForm.get();
    if (!node.isGroup() || !form)
        return;
    std::vector<FileEntry> &files = document().Groups[static_cast<size_t>(node.Group)].Files;
    form->FormShow(files);
    if (form->ShowModal() != QDialog::Accepted)
        return;
    applyGroupChange(files, form->change());
    markModified();
}

void TFilesPage::MI_DumpClick()
{
    const FileNode node = selectedNode();
    TDumpForm *dump = dumpForm();
    if (!node.isFile() || !dump)
        return;
    const std::string source =
        document().Groups[static_cast<size_t>(node.Group)].Files[static_cast<size_t>(node.File)].Source;
    dump->Clear();
    dump->ScanDependencies(source);
    if (dump->ShowModal() == QDialog::Accepted)
        markModified();
}

TDumpForm *TFilesPage::dumpForm()
{
    TDumpForm *dump = context().windows().DumpForm.get();
    if (dump)
        dump->setHost(m_dependencyHost.get());
    return dump;
}

bool TFilesPage::sourceExists(const QString &name)
{
    // A relative name is taken from the project's folder, as the compile
    // takes it.
    const QDir projectFolder(QString::fromStdString(context().controller().ProjectFolder()));
    return QFileInfo::exists(projectFolder.absoluteFilePath(name));
}

bool TFilesPage::addFileRelative()
{
    const TAddFileForm *form = context().windows().AddFileForm.get();
    return form && form->Ch_RelativePath->isChecked();
}

void TFilesPage::noGroupError()
{
    showError(context().seams(), context().mainWindow(),
              QStringLiteral("There is no group to add the file(s) to. Please create a group first!"));
}

bool TFilesPage::AddFileEntry(const std::string &source, const std::string &destination, bool relative)
{
    Project &project = document();
    if (project.Groups.empty()) {
        noGroupError();
        return false;
    }
    for (const std::string *path : {&source, &destination})
        if (!storable(*path)) {
            showError(context().seams(), context().mainWindow(), unstorableText(*path, true));
            return false;
        }
    const int group = nodeExists(project, {project.Selection.Group, -1}) ? project.Selection.Group : 0;
    const FileNode added = m_model->appendFile(
        group, makeFileEntry(context().shell().ExtensionDefaults.get(), source, destination, relative, group));
    // The author sees what was added: its group open, the new file selected.
    TV_Files->expand(m_model->indexOf({group, -1}));
    selectNode(added);
    return true;
}

QString TFilesPage::unstorableText(const std::string &path, bool adding, const QString &noun)
{
    const QString text = fromStd(path);
    return QStringLiteral("The %1 \"%2\" holds the character \"%3\", which a Brindlewharf file cannot store. %4")
        .arg(noun, text, firstUnstorableCharacter(text),
             adding ? QStringLiteral("The file is not added.") : QStringLiteral("The old text is kept."));
}

void TFilesPage::reportUnstorable(const std::vector<std::string> &paths)
{
    if (paths.size() == 1) {
        showError(context().seams(), context().mainWindow(), unstorableText(paths.front(), true));
        return;
    }
    QString text = QStringLiteral("%1 files are not added: their paths hold characters that a Brindlewharf file "
                                  "cannot store.\n")
                       .arg(paths.size());
    for (size_t i = 0; i < paths.size() && i < kListedPaths; ++i)
        text += u'\n' + fromStd(paths[i]);
    if (paths.size() > kListedPaths)
        text += QStringLiteral("\n... and %1 more.").arg(paths.size() - kListedPaths);
    showError(context().seams(), context().mainWindow(), text);
}

bool TFilesPage::inUninstallList(const std::string &folder)
{
    const auto &list = document().UninstExpressions;
    return std::find(list.begin(), list.end(), folder) != list.end();
}

void TFilesPage::addToUninstallList(const std::string &folder)
{
    if (!inUninstallList(folder))
        document().UninstExpressions.push_back(folder);
}

bool TFilesPage::isWholeTree(const std::string &path)
{
    const std::string folder = excludeTrailingSeparator(path);
    const std::string home = excludeTrailingSeparator(QDir::homePath().toStdString());
    return isRootPath(path) || folder.empty() || folder == "/" || folder == home;
}

bool TFilesPage::confirmWholeTree(const std::string &path)
{
    return askYesNo(context().seams(), context().mainWindow(),
                    QStringLiteral("\"%1\" is a whole file system or your home folder. Adding it walks every "
                                   "folder below it and may add a very great number of files. Do you want to add "
                                   "it anyway?")
                        .arg(QString::fromStdString(path)));
}

bool TFilesPage::collectWithProgress(const std::string &base, std::vector<std::string> &files,
                                     std::vector<std::string> &folders)
{
    // The walk stays on this thread, which the file lists need, but lets the
    // window work between folders; a walk that takes long shows its progress
    // with a Cancel button.
    QProgressDialog progress(QStringLiteral("Collecting files..."), QStringLiteral("Cancel"), 0, 0,
                             context().mainWindow());
    progress.setWindowTitle(QStringLiteral("Add folder"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QElapsedTimer clock;
    clock.start();
    qint64 lastUpdate = -1000;
    const bool done = CollectFolders(base, "", files, folders, [&](std::string_view folder) {
        if (clock.elapsed() - lastUpdate >= 50) {
            lastUpdate = clock.elapsed();
            progress.setLabelText(QStringLiteral("Collecting files... %1 found\n%2")
                                      .arg(files.size())
                                      .arg(QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()))));
            progress.setValue(0);
            QCoreApplication::processEvents();
        }
        return !progress.wasCanceled();
    });
    return done;
}

bool TFilesPage::askForUninstallList()
{
    return askYesNo(context().seams(), context().mainWindow(),
                    QStringLiteral("Do you want to add the sub folder(s) to the uninstall list?"));
}

bool TFilesPage::AddFilesFromPath(const std::string &path, const std::string &name, bool checkDependencies,
                                  bool relative, const std::string &destinationFolder)
{
    TDumpForm *dump = dumpForm();
    if (dump)
        dump->Clear();
    if (document().Groups.empty()) {
        noGroupError();
        return false;
    }
    const TMemIniStore *defaults = context().shell().ExtensionDefaults.get();
    const size_t uninstallEntries = document().UninstExpressions.size();
    // "{app}\" and "{app}" name the same folder.
    const std::string folder = excludeTrailingSeparator(destinationFolder);
    if (folderExists(path) || isRootPath(path)) {
        const std::string base = excludeTrailingSeparator(path);
        if (isWholeTree(path) && !confirmWholeTree(path))
            return true;  // this one is left out; the other dropped names go on
        std::vector<std::string> files;
        std::vector<std::string> folders;
        if (!collectWithProgress(base, files, folders))
            return false;  // cancelled: nothing of the walk is added
        // What a project file can't hold is left out and named once, not
        // file by file.
        std::vector<std::string> unstorable;
        for (const std::string &file : files) {
            const std::string source = collectedPath(base, file);
            if (!storable(source) || !storable(destinationIn(folder, file))) {
                unstorable.push_back(source);
                continue;
            }
            AddFileEntry(source, destinationIn(folder, file), relative);
            if (checkDependencies && dump && extensionChecksDependencies(defaults, file))
                dump->ScanDependencies(source);
        }
        if (!unstorable.empty())
            reportUnstorable(unstorable);
        std::erase_if(folders, [&](const std::string &sub) { return !storable(destinationIn(folder, sub)); });
        if (!folders.empty() && askForUninstallList()) {
            sortFolderNames(folders);
            for (const std::string &sub : folders)
                addToUninstallList(destinationIn(folder, sub));
            if (folder != kAppFolder)
                addToUninstallList(folder);
        }
    } else {
        const std::string source = relative ? editor::MakeRelativePath(path, context().controller().ProjectFolder()) : path;
        if (!AddFileEntry(source, destinationIn(folder, name), relative))
            return true;  // named to the author; the other dropped names go on
        if (folder != kAppFolder && !inUninstallList(folder) && askForUninstallList())
            addToUninstallList(folder);
        if (checkDependencies && dump && extensionChecksDependencies(defaults, source))
            dump->ScanDependencies(source);
    }
    if (document().UninstExpressions.size() != uninstallEntries)
        uninstallListChanged();
    if (dump)
        dump->ShowDependenciesIfNew();
    return true;
}

void TFilesPage::uninstallListChanged()
{
    // The uninstaller page, a sibling in the page book, shows the list and
    // edits it by position: it refills its view from the document.
    if (QWidget *book = parentWidget())
        for (TEditorPage *page : book->findChildren<TEditorPage *>(QString(), Qt::FindDirectChildrenOnly))
            if (page->pageIndex() == kUninstallPage)
                page->load();
}

void TFilesPage::B_NewTypeClick()
{
    Project &project = document();
    project.InstallTypes.push_back({newInstallTypeName(project), ""});
    fillInstallTypes();
    const int row = static_cast<int>(project.InstallTypes.size()) - 1;
    LV_InstTypes->setCurrentRow(row);
    markModified();
    LV_InstTypesClick();
    LV_InstTypes->editItem(LV_InstTypes->item(row));
}

void TFilesPage::B_DeleteTypeClick()
{
    Project &project = document();
    if (project.InstallTypes.size() < 2) {
        showError(context().seams(), context().mainWindow(),
                  QStringLiteral("Your setup must contain at least one installation type!"));
        return;
    }
    const int row = LV_InstTypes->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= project.InstallTypes.size())
        return;
    project.InstallTypes.erase(project.InstallTypes.begin() + row);
    project.Selection.InstallType = -1;
    fillInstallTypes();
    B_DeleteType->setEnabled(false);
    markModified();
    LV_InstTypesClick();
}

void TFilesPage::LV_InstTypesClick()
{
    const Project &project = document();
    const int row = LV_InstTypes->currentRow();
    const bool selected = row >= 0 && static_cast<size_t>(row) < project.InstallTypes.size();
    B_DeleteType->setEnabled(selected);
    m_filling = true;
    LV_GroupsInType->clear();
    if (selected) {
        const std::string &groups = project.InstallTypes[static_cast<size_t>(row)].GroupsInType;
        const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
        for (size_t g = 0; g < project.Groups.size(); ++g) {
            auto *item = new QListWidgetItem(icon, fromStd(project.Groups[g].Name), LV_GroupsInType);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(typeIncludesGroup(groups, static_cast<int>(g)) ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_filling = false;
}

void TFilesPage::LV_GroupsInTypeClick()
{
    Project &project = document();
    const int row = LV_InstTypes->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= project.InstallTypes.size())
        return;
    std::vector<int> checked;
    for (int i = 0; i < LV_GroupsInType->count(); ++i)
        if (LV_GroupsInType->item(i)->checkState() == Qt::Checked)
            checked.push_back(i);
    std::string &groups = project.InstallTypes[static_cast<size_t>(row)].GroupsInType;
    const std::string text = groupsInTypeText(checked);
    if (text == groups)
        return;
    groups = text;
    markModified();
}

bool TFilesPage::LV_InstTypesEdited(int row, const QString &text)
{
    Project &project = document();
    if (row < 0 || static_cast<size_t>(row) >= project.InstallTypes.size())
        return false;
    std::string &name = project.InstallTypes[static_cast<size_t>(row)].Name;
    const std::string value = singleLine(text).trimmed().isEmpty() ? std::string() : singleLine(text).toStdString();
    bool accepted = value == name;
    if (!accepted && !value.empty()) {
        if (installTypeNameTaken(project, value, row)) {
            showError(context().seams(), context().mainWindow(),
                      QStringLiteral("You cannot create two installation types with the same name!"));
        } else {
            name = value;
            markModified();
            accepted = true;
        }
    }
    // The item shows what the document holds: the new name, or the old one
    // put back.
    m_filling = true;
    if (QListWidgetItem *item = LV_InstTypes->item(row); item && item->text() != fromStd(name))
        item->setText(fromStd(name));
    m_filling = false;
    return accepted;
}

void TFilesPage::Ch_CustomSetupClick()
{
    document().General.CustomSetup = Ch_CustomSetup->isChecked();
    markModified();
}

QStringList TFilesPage::chooseFiles()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::OpenMany;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("All files (*)");
    const FileDialogResult result = context().seams().fileDialogs->run(context().mainWindow(), request);
    if (!result.accepted)
        return {};
    QStringList chosen;
    std::vector<std::string> unstorable;
    for (const QString &file : result.files) {
        if (storable(file.toStdString()))
            chosen << file;
        else
            unstorable.push_back(file.toStdString());
    }
    if (!unstorable.empty())
        reportUnstorable(unstorable);
    return chosen;
}

void TFilesPage::B_AddFileClick()
{
    const QStringList files = chooseFiles();
    if (files.isEmpty())
        return;
    for (const QString &file : files)
        document().AdditionalFiles.push_back(file.toStdString());
    fillFileList(LB_AdditionalFiles, document().AdditionalFiles);
    LB_AdditionalFilesClick();
    markModified();
}

void TFilesPage::LB_AdditionalFilesClick()
{
    B_DeleteFile->setEnabled(LB_AdditionalFiles->isEnabled() && !LB_AdditionalFiles->selectedItems().isEmpty());
}

void TFilesPage::B_DeleteFileClick()
{
    auto &files = document().AdditionalFiles;
    const int row = LB_AdditionalFiles->currentRow();
    if (LB_AdditionalFiles->selectedItems().isEmpty() || row < 0 || static_cast<size_t>(row) >= files.size())
        return;
    files.erase(files.begin() + row);
    delete LB_AdditionalFiles->takeItem(row);
    LB_AdditionalFiles->clearSelection();
    LB_AdditionalFilesClick();
    markModified();
}

void TFilesPage::B_AddDataFileClick()
{
    const QStringList files = chooseFiles();
    if (files.isEmpty())
        return;
    for (const QString &file : files)
        document().DataFiles.push_back(file.toStdString());
    fillFileList(LB_DataFiles, document().DataFiles);
    LB_DataFilesClick();
    markModified();
}

void TFilesPage::LB_DataFilesClick() { B_DeleteDataFile->setEnabled(!LB_DataFiles->selectedItems().isEmpty()); }

void TFilesPage::B_DeleteDataFileClick()
{
    auto &files = document().DataFiles;
    const int row = LB_DataFiles->currentRow();
    if (LB_DataFiles->selectedItems().isEmpty() || row < 0 || static_cast<size_t>(row) >= files.size())
        return;
    files.erase(files.begin() + row);
    delete LB_DataFiles->takeItem(row);
    LB_DataFiles->clearSelection();
    LB_DataFilesClick();
    markModified();
}

} // namespace wharf
