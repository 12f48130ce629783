#pragma once
// TRegistryPage, page 5 of the main window ("Registry entries"): the
// registry keys and values the setup writes, as the tree TV_RegKeys below
// the six fixed roots. The tree is refilled from the document's registry
// tree (Project::Registry); every command changes the document first and
// the tree after it, and the selected node is kept in the document's
// Selection.RegistryNode, where TRegEditor finds the value it edits.
//
// Commands: the pop-up menu PM_Registry (new key, new value of each type,
// delete, the flags, the value dialog, the target systems), in-place rename,
// the navigation buttons "Add Registry key", "Add Registry value" (the menu
// PM_AddRegValue) and "Import Registry file", and the button B_RegImport,
// which imports a registry export file (regfile.h).

#include "editorpage.h"
#include "registrytree.h"

#include <QIcon>
#include <QList>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wharf {

class TRegistryPage : public TEditorPage {
    Q_OBJECT
public:
    TRegistryPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QTreeWidget *TV_RegKeys;
    QPushButton *B_RegImport;

    QMenu *PM_Registry;
    QAction *MI_NewKey;
    QMenu *MI_NewValue;
    QAction *MI_String;
    QAction *MI_DWORD;
    QAction *MI_Bool;
    QAction *MI_DeleteKey;
    QMenu *MI_Properties;
    QAction *MI_UninstKey;
    QAction *MI_OverwriteVal;
    QAction *MI_CreateKey;
    QAction *MI_Value;
    QAction *MI_RegTargetSystem;

    QMenu *PM_AddRegValue;
    QAction *MI_String2;
    QAction *MI_DWORD2;
    QAction *MI_BOOL2;

    // The tree's pictures: 0 a key (and a root), 3 a String value, 4 a
    // DWORD or BOOL value. An item's picture index is its Qt::UserRole data.
    static constexpr int kKeyImage = 0;
    static constexpr int kStringImage = 3;
    static constexpr int kNumberImage = 4;

    // The item at path (root index, then child indexes); null for none.
    QTreeWidgetItem *itemAt(const RegistryPath &path) const;
    // The path of item; empty for null.
    static RegistryPath pathOf(const QTreeWidgetItem *item);

    // Buttons of the header: 0 "Add Registry key", 1 "Add Registry value",
    // 2 "Import Registry file".
    void navigationButtonClicked(int buttonIndex) override;

    // Event handlers, named as the page's events.
    void PM_RegistryPopup();
    void TV_RegKeysChange();
    // In-place editing may start on every node but a root.
    bool TV_RegKeysEditing(QTreeWidgetItem *item) const;
    // The name check of a rename: s is the proposed text; it becomes the
    // old name again when the rename is refused.
    void TV_RegKeysEdited(QTreeWidgetItem *item, QString &s);
    void TV_RegKeysDblClick();
    void MI_NewKeyClick();
    void MI_StringClick();
    void MI_DWORDClick();
    void MI_BoolClick();
    void MI_ValueClick();
    void MI_DeleteKeyClick();
    void MI_UninstKeyClick();
    void MI_OverwriteValClick();
    void MI_CreateKeyClick();
    void MI_RegTargetSystemClick();
    void OB_AddRegValueClick();
    void B_RegImportClick();

protected:
    void loadFromDocument(const Project &project) override;

private:
    void buildMenus();
    void refill();
    QTreeWidgetItem *addItem(QTreeWidgetItem *parent, const RegistryNode &node);
    void showRegEditor();
    void addValue(const char *type, const char *data);
    RegistryEntry *selectedRecord();
    void toggleFlag(bool RegistryEntry::*flag, QAction *item);

    QList<QIcon> m_images;
    int m_filling = 0;
};

} // namespace wharf
