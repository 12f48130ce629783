#include "iconspage.h"

#include "editorwindows.h"
#include "entryicon.h"
#include "iconeditor.h"
#include "imagelist.h"
#include "projectcontroller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kImageRole = Qt::UserRole;

} // namespace

TIconsPage::TIconsPage(PageContext &context, int pageIndex, QWidget *parent) : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Icons"));
    L_Icons = new QLabel(QStringLiteral("These icons will be created on the destination computer:"), this);
    L_Icons->setObjectName(QStringLiteral("L_Icons"));
    IL_Icons = new TImageList(32, 32, this);
    IL_Icons->setObjectName(QStringLiteral("IL_Icons"));
    IL_Icons->Add(defaultEntryIcon());
    LV_Icons = new QListWidget(this);
    LV_Icons->setObjectName(QStringLiteral("LV_Icons"));
    LV_Icons->setViewMode(QListView::IconMode);
    LV_Icons->setIconSize(QSize(32, 32));
    LV_Icons->setResizeMode(QListView::Adjust);
    LV_Icons->setMovement(QListView::Static);
    LV_Icons->setWordWrap(true);
    LV_Icons->setGridSize(QSize(96, 72));
    LV_Icons->setSelectionMode(QAbstractItemView::SingleSelection);
    LV_Icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    L_Icons->setBuddy(LV_Icons);
    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    B_AddIcon = button("B_AddIcon", "&Add");
    B_EditIcon = button("B_EditIcon", "&Edit");
    B_DeleteIcon = button("B_DeleteIcon", "&Delete");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_AddIcon);
    buttons->addWidget(B_EditIcon);
    buttons->addWidget(B_DeleteIcon);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Icons);
    layout->addWidget(LV_Icons, 1);
    layout->addLayout(buttons);

    connect(B_AddIcon, &QPushButton::clicked, this, &TIconsPage::B_AddIconClick);
    connect(B_EditIcon, &QPushButton::clicked, this, &TIconsPage::B_EditIconClick);
    connect(B_DeleteIcon, &QPushButton::clicked, this, &TIconsPage::B_DeleteIconClick);
    connect(LV_Icons, &QListWidget::itemDoubleClicked, this, &TIconsPage::B_EditIconClick);
    connect(LV_Icons, &QListWidget::itemSelectionChanged, this, &TIconsPage::LV_IconsClick);
    LV_IconsClick();
}

int TIconsPage::itemImageIndex(int row) const
{
    const QListWidgetItem *item = LV_Icons->item(row);
    return item ? item->data(kImageRole).toInt() : -1;
}

QImage TIconsPage::entryIcon(const ShortcutEntry &entry)
{
    return GetEntryIcon(document(), context().controller().ProjectFolder(), entry.Location, entry.IconIndex);
}

void TIconsPage::setItemImage(int row, int imageIndex)
{
    QListWidgetItem *item = LV_Icons->item(row);
    if (!item)
        return;
    item->setData(kImageRole, imageIndex);
    item->setIcon(QIcon(QPixmap::fromImage(IL_Icons->Image(imageIndex))));
}

void TIconsPage::showTitle(int row, const std::string &title)
{
    QListWidgetItem *item = LV_Icons->item(row);
    if (!item)
        return;
    item->setText(QString::fromStdString(title));
    // The icon view moves and resizes the item's box for the new title
    // only later, and then paints the new box alone: the old box (its
    // highlight around the old title) would stay on screen. The boxes are
    // placed now and the whole view painted.
    LV_Icons->doItemsLayout();
    LV_Icons->viewport()->update();
}

void TIconsPage::selectItem(int row)
{
    if (QListWidgetItem *item = LV_Icons->item(row)) {
        LV_Icons->setCurrentItem(item);
        item->setSelected(true);
    } else {
        LV_Icons->clearSelection();
    }
    LV_IconsClick();
}

void TIconsPage::loadFromDocument(const Project &project)
{
    const QSignalBlocker block(LV_Icons);
    LV_Icons->clear();
    while (IL_Icons->Count() > 1)
        IL_Icons->Delete(IL_Icons->Count() - 1);
    for (size_t i = 0; i < project.Shortcuts.size(); ++i) {
        const ShortcutEntry &entry = project.Shortcuts[i];
        LV_Icons->addItem(QString::fromStdString(entry.Title));
        const QImage icon = entryIcon(entry);
        setItemImage(static_cast<int>(i), icon.isNull() ? 0 : IL_Icons->Add(icon));
    }
    selectItem(project.Selection.Shortcut);
}

void TIconsPage::LV_IconsClick()
{
    const QList<QListWidgetItem *> selected = LV_Icons->selectedItems();
    const int row = selected.isEmpty() ? -1 : LV_Icons->row(selected.front());
    document().Selection.Shortcut = row;
    B_DeleteIcon->setEnabled(row >= 0);
    B_EditIcon->setEnabled(row >= 0);
}

void TIconsPage::B_AddIconClick()
{
    Project &project = document();
    project.Shortcuts.push_back(ShortcutEntry{});
    const int row = static_cast<int>(project.Shortcuts.size()) - 1;
    {
        const QSignalBlocker block(LV_Icons);
        LV_Icons->addItem(QString::fromStdString(project.Shortcuts.back().Title));
        setItemImage(row, 0);
    }
    selectItem(row);
    TIconEditor *editor = context().windows().IconEditor.get();
    if (!editor || editor->ShowModal() != QDialog::Accepted) {
        // A cancelled new shortcut goes again, leaving the project as it was.
        {
            const QSignalBlocker block(LV_Icons);
            delete LV_Icons->takeItem(row);
        }
        document().Shortcuts.erase(document().Shortcuts.begin() + row);
        selectItem(-1);
        return;
    }
    const ShortcutEntry &entry = document().Shortcuts[static_cast<size_t>(row)];
    showTitle(row, entry.Title);
    const QImage icon = entryIcon(entry);
    if (!icon.isNull())
        setItemImage(row, IL_Icons->Add(icon));
    markModified();
}

void TIconsPage::B_EditIconClick()
{
    const int row = document().Selection.Shortcut;
    TIconEditor *editor = context().windows().IconEditor.get();
    if (row < 0 || row >= LV_Icons->count() || !editor)
        return;
    if (editor->ShowModal() != QDialog::Accepted)
        return;
    const ShortcutEntry &entry = document().Shortcuts[static_cast<size_t>(row)];
    showTitle(row, entry.Title);
    const QImage icon = entryIcon(entry);
    const int own = itemImageIndex(row);
    if (icon.isNull()) {
        setItemImage(row, 0);
    } else if (own > 0) {
        IL_Icons->Replace(own, icon);
        setItemImage(row, own);
    } else {
        setItemImage(row, IL_Icons->Add(icon));
    }
    markModified();
}

void TIconsPage::B_DeleteIconClick()
{
    const int row = document().Selection.Shortcut;
    if (row < 0 || row >= LV_Icons->count())
        return;
    {
        const QSignalBlocker block(LV_Icons);
        delete LV_Icons->takeItem(row);
    }
    document().Shortcuts.erase(document().Shortcuts.begin() + row);
    selectItem(-1);
    markModified();
}

void TIconsPage::navigationButtonClicked(int buttonIndex)
{
    if (buttonIndex == 0)
        B_AddIconClick();
}

} // namespace wharf
