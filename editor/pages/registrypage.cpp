#include "registrypage.h"

#include "codec.h"
#include "editorwindows.h"
#include "files.h"
#include "inputwindow.h"
#include "mainform.h"
#include "mainnavigation.h"
#include "navbutton.h"
#include "pagetable.h"
#include "paths.h"
#include "regeditor.h"
#include "regfile.h"
#include "seams.h"
#include "shellstate.h"
#include "systemform.h"
#include "varform.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <QVBoxLayout>

namespace wharf {
namespace {

const QString kSameName = QStringLiteral("You cannot create two values/keys with the same name!");
const QString kBadKeyName = QStringLiteral("A key name cannot be empty and cannot contain \"\\\"!");
const QString kUnstorableName =
    QStringLiteral("This name holds characters that a Brindlewharf file cannot store. Please choose another name.");

bool storable(const QString &text) { return fitsWindows1252(text.toStdString()); }
const QString kUnsupported = QStringLiteral(
    "This Registry file contained some value types which are not supported by Brindlewharf, for example binary "
    "values. These values have not been imported!");

QString skippedMessage(int count)
{
    const QString what = count == 1 ? QStringLiteral("1 entry of this Registry file has")
                                    : QStringLiteral("%1 entries of this Registry file have").arg(count);
    return what + QStringLiteral(" not been imported: deletions of keys or values, keys below unknown root keys "
                                 "and lines that are no values.");
}

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The names of a list, the first few of them, for a message.
QString someNames(const std::vector<std::string> &names)
{
    constexpr size_t kShown = 10;
    QString list;
    for (size_t i = 0; i < names.size() && i < kShown; ++i)
        list += QStringLiteral("\n") + qs(names[i]);
    if (names.size() > kShown)
        list += QStringLiteral("\n(and %1 more)").arg(names.size() - kShown);
    return list;
}

QString unsavableMessage(const std::vector<std::string> &names)
{
    return QStringLiteral("%1 key(s) or value(s) of this Registry file hold characters that a Brindlewharf file "
                          "cannot store and have not been imported:")
               .arg(names.size()) +
           someNames(names);
}

QString cutMessage(const std::vector<std::string> &names)
{
    return QStringLiteral("%1 string value(s) of this Registry file were longer than 255 characters and have been "
                          "cut:")
               .arg(names.size()) +
           someNames(names);
}

QString emptyMarker() { return qs(kEmpty); }

// A pasted line break would otherwise reach the project file's lines.
QString singleLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QIcon letterIcon(const QString &letters, const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 11);
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(1, 2, 14, 12), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}

// In-place rename through the page's handlers: editing starts only where
// TV_RegKeysEditing allows it, and the text stored is the one the name
// check leaves.
class RegKeyDelegate : public QStyledItemDelegate {
public:
    RegKeyDelegate(TRegistryPage &page) : QStyledItemDelegate(page.TV_RegKeys), m_page(page) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_page.TV_RegKeysEditing(item(index)))
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(editor);
        QTreeWidgetItem *node = item(index);
        if (!edit || !node)
            return;
        QString text = edit->text();
        m_page.TV_RegKeysEdited(node, text);
        model->setData(index, text, Qt::EditRole);
    }

private:
    QTreeWidgetItem *item(const QModelIndex &index) const
    {
        RegistryPath reversed;
        for (QModelIndex i = index; i.isValid(); i = i.parent())
            reversed.push_back(i.row());
        return m_page.itemAt(RegistryPath(reversed.rbegin(), reversed.rend()));
    }

    TRegistryPage &m_page;
};

} // namespace

TRegistryPage::TRegistryPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Registry"));
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    m_images = {folder, folder, style()->standardIcon(QStyle::SP_FileIcon), letterIcon(QStringLiteral("ab"), Qt::red),
                letterIcon(QStringLiteral("01"), Qt::blue)};

    TV_RegKeys = new QTreeWidget(this);
    TV_RegKeys->setObjectName(QStringLiteral("TV_RegKeys"));
    TV_RegKeys->setHeaderHidden(true);
    TV_RegKeys->setColumnCount(1);
    TV_RegKeys->setIndentation(19);
    TV_RegKeys->setSelectionMode(QAbstractItemView::SingleSelection);
    TV_RegKeys->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    TV_RegKeys->setItemDelegate(new RegKeyDelegate(*this));
    TV_RegKeys->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TV_RegKeys, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_filling)
            TV_RegKeysChange();
    });
    connect(TV_RegKeys, &QTreeWidget::itemDoubleClicked, this, [this] { TV_RegKeysDblClick(); });
    connect(TV_RegKeys, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click selects the node under the pointer.
        if (QTreeWidgetItem *item = TV_RegKeys->itemAt(pos))
            TV_RegKeys->setCurrentItem(item);
        PM_Registry->popup(TV_RegKeys->viewport()->mapToGlobal(pos));
    });

    B_RegImport = new QPushButton(QStringLiteral("&Import"), this);
    B_RegImport->setObjectName(QStringLiteral("B_RegImport"));
    connect(B_RegImport, &QPushButton::clicked, this, &TRegistryPage::B_RegImportClick);

    buildMenus();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_RegImport);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TV_RegKeys, 1);
    layout->addLayout(buttons);

    refill();
    TV_RegKeysChange();
}

void TRegistryPage::buildMenus()
{
    const auto action = [this](QMenu *menu, const char *name, const QString &caption, auto handler) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    const auto submenu = [](QMenu *menu, const char *name, const QString &caption) {
        QMenu *sub = menu->addMenu(caption);
        sub->setObjectName(QString::fromLatin1(name));
        return sub;
    };

    PM_Registry = new QMenu(this);
    PM_Registry->setObjectName(QStringLiteral("PM_Registry"));
    connect(PM_Registry, &QMenu::aboutToShow, this, &TRegistryPage::PM_RegistryPopup);
    MI_NewKey = action(PM_Registry, "MI_NewKey", QStringLiteral("&New key"), &TRegistryPage::MI_NewKeyClick);
    MI_NewValue = submenu(PM_Registry, "MI_NewValue", QStringLiteral("New &value"));
    MI_String = action(MI_NewValue, "MI_String", QStringLiteral("&String"), &TRegistryPage::MI_StringClick);
    MI_DWORD = action(MI_NewValue, "MI_DWORD", QStringLiteral("&DWORD"), &TRegistryPage::MI_DWORDClick);
    MI_Bool = action(MI_NewValue, "MI_Bool", QStringLiteral("&BOOL"), &TRegistryPage::MI_BoolClick);
    MI_DeleteKey = action(PM_Registry, "MI_DeleteKey", QStringLiteral("&Delete"), &TRegistryPage::MI_DeleteKeyClick);
    PM_Registry->addSeparator();
    MI_Properties = submenu(PM_Registry, "MI_Properties", QStringLiteral("&Properties"));
    MI_UninstKey = action(MI_Properties, "MI_UninstKey", QStringLiteral("&Uninstall"), &TRegistryPage::MI_UninstKeyClick);
    MI_OverwriteVal =
        action(MI_Properties, "MI_OverwriteVal", QStringLiteral("&Overwrite"), &TRegistryPage::MI_OverwriteValClick);
    MI_CreateKey = action(MI_Properties, "MI_CreateKey", QStringLiteral("&Create if doesn't exist"),
                          &TRegistryPage::MI_CreateKeyClick);
    MI_Value = action(MI_Properties, "MI_Value", QStringLiteral("&Value..."), &TRegistryPage::MI_ValueClick);
    MI_RegTargetSystem = action(MI_Properties, "MI_RegTargetSystem", QStringLiteral("&Target systems..."),
                                &TRegistryPage::MI_RegTargetSystemClick);
    for (QAction *flag : {MI_UninstKey, MI_OverwriteVal, MI_CreateKey})
        flag->setCheckable(true);

    // The menu's items show their keys; the keys themselves work on the
    // tree whatever the menu last showed.
    MI_NewKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    MI_DeleteKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    for (QAction *item : {MI_NewKey, MI_DeleteKey}) {
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcutVisibleInContextMenu(true);
        auto *key = new QShortcut(item->shortcut(), TV_RegKeys);
        key->setContext(Qt::WidgetShortcut);
        connect(key, &QShortcut::activated, item, &QAction::trigger);
    }

    PM_AddRegValue = new QMenu(this);
    PM_AddRegValue->setObjectName(QStringLiteral("PM_AddRegValue"));
    MI_String2 = action(PM_AddRegValue, "MI_String2", QStringLiteral("&String"), &TRegistryPage::MI_StringClick);
    MI_DWORD2 = action(PM_AddRegValue, "MI_DWORD2", QStringLiteral("&DWORD"), &TRegistryPage::MI_DWORDClick);
    MI_BOOL2 = action(PM_AddRegValue, "MI_BOOL2", QStringLiteral("&BOOL"), &TRegistryPage::MI_BoolClick);

    MI_NewKey->setIcon(m_images[kKeyImage]);
    for (QAction *item : {MI_String, MI_String2})
        item->setIcon(m_images[kStringImage]);
    for (QAction *item : {MI_DWORD, MI_DWORD2, MI_Bool, MI_BOOL2})
        item->setIcon(m_images[kNumberImage]);
}

QTreeWidgetItem *TRegistryPage::itemAt(const RegistryPath &path) const
{
    if (path.empty())
        return nullptr;
    QTreeWidgetItem *item = TV_RegKeys->topLevelItem(path[0]);
    for (size_t i = 1; item && i < path.size(); ++i)
        item = item->child(path[i]);
    return item;
}

RegistryPath TRegistryPage::pathOf(const QTreeWidgetItem *item)
{
    RegistryPath reversed;
    for (; item; item = item->parent()) {
        const QTreeWidgetItem *parent = item->parent();
        reversed.push_back(parent ? parent->indexOfChild(const_cast<QTreeWidgetItem *>(item))
                                  : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)));
    }
    return RegistryPath(reversed.rbegin(), reversed.rend());
}

QTreeWidgetItem *TRegistryPage::addItem(QTreeWidgetItem *parent, const RegistryNode &node)
{
    auto *item = new QTreeWidgetItem({qs(node.Text)});
    parent->addChild(item);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    const int image = node.isKey() ? kKeyImage : node.Entry.ValueType == "String" ? kStringImage : kNumberImage;
    item->setData(0, Qt::UserRole, image);
    item->setIcon(0, m_images[image]);
    for (const RegistryNode &child : node.Children)
        addItem(item, child);
    return item;
}

void TRegistryPage::refill()
{
    ++m_filling;
    Project &project = document();
    TV_RegKeys->clear();
    // Each root is built apart from the tree and added whole: the view then
    // takes a huge import in one step instead of one insertion per entry.
    for (const RegistryRoot &root : project.Registry.roots()) {
        auto *item = new QTreeWidgetItem({qs(root.Name)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setData(0, Qt::UserRole, kKeyImage);
        item->setIcon(0, m_images[kKeyImage]);
        for (const RegistryNode &child : root.Children)
            addItem(item, child);
        TV_RegKeys->addTopLevelItem(item);
    }
    TV_RegKeys->expandAll();
    TV_RegKeys->setCurrentItem(itemAt(project.Selection.RegistryNode));
    --m_filling;
}

void TRegistryPage::loadFromDocument(const Project &)
{
    refill();
    TV_RegKeysChange();
}

RegistryEntry *TRegistryPage::selectedRecord()
{
    RegistryNode *node = findRegistryNode(document().Registry, document().Selection.RegistryNode);
    return node ? &node->Entry : nullptr;
}

void TRegistryPage::TV_RegKeysChange()
{
    document().Selection.RegistryNode = pathOf(TV_RegKeys->currentItem());
    const RegistryPath &path = document().Selection.RegistryNode;
    const bool rootOrKey = registryChildren(document().Registry, path) != nullptr;
    context().setNavigationButtonVisible(pageIndex(), 0, rootOrKey);
    context().setNavigationButtonVisible(pageIndex(), 1, rootOrKey);
}

void TRegistryPage::PM_RegistryPopup()
{
    const RegistryPath &path = document().Selection.RegistryNode;
    if (path.empty()) {
        MI_NewKey->setVisible(false);
        MI_NewValue->menuAction()->setVisible(true);
        MI_DeleteKey->setVisible(false);
        MI_Properties->menuAction()->setVisible(false);
        return;
    }
    const RegistryNode *node = findRegistryNode(document().Registry, path);
    const bool rootOrKey = !node || node->isKey();
    MI_NewKey->setVisible(rootOrKey);
    MI_NewValue->menuAction()->setVisible(rootOrKey);
    MI_DeleteKey->setVisible(node != nullptr);
    MI_Properties->menuAction()->setVisible(node != nullptr);
    MI_OverwriteVal->setVisible(!rootOrKey);
    MI_Value->setVisible(!rootOrKey);
    if (node) {
        MI_OverwriteVal->setChecked(node->Entry.Overwrite);
        MI_UninstKey->setChecked(node->Entry.Uninstall);
        MI_CreateKey->setChecked(node->Entry.Create);
    }
}

bool TRegistryPage::TV_RegKeysEditing(QTreeWidgetItem *item) const { return item && item->parent(); }

void TRegistryPage::TV_RegKeysEdited(QTreeWidgetItem *item, QString &s)
{
    const RegistryPath path = pathOf(item);
    RegistryNode *node = findRegistryNode(document().Registry, path);
    if (!node) {
        s = item ? item->text(0) : QString();
        return;
    }
    const QString oldText = qs(node->Text);
    s = singleLine(s);
    if ((node->isKey() && (s.isEmpty() || s.contains(QLatin1Char('\\')))) || !storable(s)) {
        // A key's name is one level of its path.
        showError(context().seams(), context().mainWindow(), storable(s) ? kBadKeyName : kUnstorableName);
        s = oldText;
        item->setText(0, s);
        return;
    }
    if (s.isEmpty())
        s = emptyMarker();
    RegistryPath parentPath(path.begin(), path.end() - 1);
    const std::vector<RegistryNode> &siblings = *registryChildren(document().Registry, parentPath);
    if (findRegistrySibling(siblings, s.toStdString(), node->isKey(), path.back()) >= 0) {
        showError(context().seams(), context().mainWindow(), kSameName);
        s = oldText;
        item->setText(0, s);
        return;
    }
    if (s != oldText) {
        node->Text = s.toStdString();
        item->setText(0, s);
        markModified();
    }
}

void TRegistryPage::TV_RegKeysDblClick()
{
    const RegistryNode *node = findRegistryNode(document().Registry, document().Selection.RegistryNode);
    if (node && !node->isKey())
        MI_ValueClick();
}

void TRegistryPage::MI_NewKeyClick()
{
    const RegistryPath path = document().Selection.RegistryNode;
    if (!registryChildren(document().Registry, path))
        return;  // nothing, or a value, is selected
    QString answer;
    if (!QueryText(context().seams(), context().windows().VarForm.get(), context().mainWindow(),
                   QStringLiteral("New key"), QStringLiteral("Name of the new key (whole paths are allowed!):"),
                   answer))
        return;
    answer = singleLine(answer);
    if (!storable(answer)) {
        showError(context().seams(), context().mainWindow(), kUnstorableName);
        return;
    }
    if (answer.isEmpty())
        answer = emptyMarker();
    QString keyPath = answer;
    for (const QTreeWidgetItem *item = itemAt(path); item && item->parent(); item = item->parent())
        keyPath = item->text(0) + QLatin1Char('\\') + keyPath;

    RegistryEntry keyRecord = intermediateKeyRecord();
    keyRecord.TargetSystems = kAllTargetSystems;
    RegistryEntry valueRecord;
    const std::string root = document().Registry.roots()[static_cast<size_t>(path[0])].Name;
    // A key that is there already keeps its flags and target systems.
    AddRegistryEntry(document().Registry, root, keyPath.toStdString(), valueRecord, keyRecord, kEmpty,
                     ExistingKey::Keep);
    markModified();
    refill();
}

void TRegistryPage::MI_StringClick() { addValue("String", "{emp}"); }
void TRegistryPage::MI_DWORDClick() { addValue("DWORD", "0"); }
void TRegistryPage::MI_BoolClick() { addValue("BOOL", "TRUE"); }

void TRegistryPage::addValue(const char *type, const char *data)
{
    const RegistryPath path = document().Selection.RegistryNode;
    if (!registryChildren(document().Registry, path))
        return;  // nothing, or a value, is selected
    const bool isString = std::string_view(type) == "String";
    QString answer = isString ? emptyMarker() : QString();
    for (;;) {
        if (isString)
            answer = emptyMarker();
        if (!QueryText(context().seams(), context().windows().VarForm.get(), context().mainWindow(),
                       QStringLiteral("New value"), QStringLiteral("Name of the new value (standard value is \"{emp}\"):"),
                       answer))
            return;
        answer = singleLine(answer);
        if (!storable(answer)) {
            showError(context().seams(), context().mainWindow(), kUnstorableName);
            continue;
        }
        if (answer.isEmpty())
            answer = emptyMarker();
        if (findRegistrySibling(*registryChildren(document().Registry, path), answer.toStdString(), false) < 0)
            break;
        showError(context().seams(), context().mainWindow(), kSameName);
    }

    RegistryNode node;
    node.Text = answer.toStdString();
    node.Entry.IsKey = false;
    node.Entry.ValueType = type;
    node.Entry.Data = data;
    node.Entry.Uninstall = false;
    node.Entry.Create = true;
    node.Entry.Overwrite = true;
    node.Entry.TargetSystems = kAllTargetSystems;
    registryChildren(document().Registry, path)->push_back(node);

    QTreeWidgetItem *parent = itemAt(path);
    QTreeWidgetItem *item = addItem(parent, node);
    parent->setExpanded(true);
    TV_RegKeys->setCurrentItem(item);
    showRegEditor();
    markModified();  // the value is new even when the dialog was cancelled
}

void TRegistryPage::showRegEditor()
{
    if (TRegEditor *editor = context().windows().RegEditor.get())
        editor->ShowModal();
}

void TRegistryPage::MI_ValueClick()
{
    const RegistryNode *node = findRegistryNode(document().Registry, document().Selection.RegistryNode);
    if (node && !node->isKey())
        showRegEditor();
}

void TRegistryPage::MI_DeleteKeyClick()
{
    const RegistryPath path = document().Selection.RegistryNode;
    if (!removeRegistryNode(document().Registry, path))
        return;  // a root, or nothing
    ++m_filling;
    delete itemAt(path);
    --m_filling;
    TV_RegKeysChange();
    markModified();
}

void TRegistryPage::toggleFlag(bool RegistryEntry::*flag, QAction *item)
{
    RegistryEntry *record = selectedRecord();
    if (!record) {
        item->setChecked(false);
        return;
    }
    record->*flag = !(record->*flag);
    item->setChecked(record->*flag);
    markModified();
}

void TRegistryPage::MI_UninstKeyClick() { toggleFlag(&RegistryEntry::Uninstall, MI_UninstKey); }
void TRegistryPage::MI_OverwriteValClick() { toggleFlag(&RegistryEntry::Overwrite, MI_OverwriteVal); }
void TRegistryPage::MI_CreateKeyClick() { toggleFlag(&RegistryEntry::Create, MI_CreateKey); }

void TRegistryPage::MI_RegTargetSystemClick()
{
    RegistryEntry *record = selectedRecord();
    TSystemForm *form = context().windows().SystemForm.get();
    if (!record || !form)
        return;
    record->TargetSystems = EditTargetSystems(*form, record->TargetSystems);
    markModified();
}

void TRegistryPage::OB_AddRegValueClick()
{
    QPoint at = QCursor::pos();
    if (TMainForm *main = context().windows().MainForm.get()) {
        if (const TNavButton *button = main->OB_Main->button(pageIndex(), 1))
            at = button->mapToGlobal(QPoint(40, button->height() + 20));
    }
    PM_AddRegValue->popup(at);
}

void TRegistryPage::B_RegImportClick()
{
    ProjectController &controller = context().controller();
    controller.ShowProgress(0);
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Import Registry file");
    request.filter = QStringLiteral("Registry files (*.reg)");
    request.defaultExt = QStringLiteral("reg");
    request.fileName = QStringLiteral("*.reg");
    const FileDialogResult chosen = context().seams().fileDialogs->run(context().mainWindow(), request);
    if (!chosen.accepted || chosen.files.isEmpty()) {
        controller.ShowProgress(0);
        return;
    }
    const QString fileName = chosen.files.front();
    const std::optional<std::string> bytes = readFile(toNativePath(fileName.toStdString()));
    if (!bytes) {
        controller.ShowProgress(0);
        showError(context().seams(), context().mainWindow(),
                  QStringLiteral("The Registry file \"%1\" could not be read.").arg(fileName));
        return;
    }
    const RegFile file = parseRegFile(*bytes);
    if (!isRegistryFile(file)) {
        controller.ShowProgress(0);
        showError(context().seams(), context().mainWindow(),
                  QStringLiteral("The file \"%1\" holds no Registry keys: it is no Registry file.").arg(fileName));
        return;
    }
    markModified();
    importRegFile(document().Registry, file, controller.progressReporter());
    markModified();
    refill();
    TV_RegKeysChange();
    controller.ShowProgress(0);
    if (file.Unsupported)
        showError(context().seams(), context().mainWindow(), kUnsupported);
    const auto warn = [this](const QString &text) {
        context().seams().messages->messageDlg(context().mainWindow(), MsgDlgType::Warning, text, QMessageBox::Ok,
                                               QMessageBox::Ok);
    };
    if (file.SkippedEntries > 0)
        warn(skippedMessage(file.SkippedEntries) + someNames(file.SkippedLines));
    if (!file.Unsavable.empty())
        warn(unsavableMessage(file.Unsavable));
    if (!file.Cut.empty())
        warn(cutMessage(file.Cut));
}

void TRegistryPage::navigationButtonClicked(int buttonIndex)
{
    switch (buttonIndex) {
    case 0:
        MI_NewKeyClick();
        break;
    case 1:
        OB_AddRegValueClick();
        break;
    case 2:
        B_RegImportClick();
        break;
    default:
        break;
    }
}

} // namespace wharf
