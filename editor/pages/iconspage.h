#pragma once
// TIconsPage, page 4 of the main window ("Icons"): the shortcuts of the
// project as large icons in LV_Icons, each with the icon its target file
// will have (GetEntryIcon, entryicon.h) or the default image 0 of IL_Icons.
// Add, Edit and Delete work on the selected item through TIconEditor; the
// document's Selection.Shortcut follows the selection. Images of deleted
// shortcuts stay in IL_Icons until the next load, so the indexes of the
// other items stay valid.

#include "editorpage.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace wharf {

class TImageList;

class TIconsPage : public TEditorPage {
    Q_OBJECT
public:
    TIconsPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QLabel *L_Icons;
    QListWidget *LV_Icons;
    TImageList *IL_Icons; // 32 x 32; image 0 is the default
    QPushButton *B_AddIcon;
    QPushButton *B_EditIcon;
    QPushButton *B_DeleteIcon;

    // The IL_Icons index that item row shows; -1 for no such item.
    int itemImageIndex(int row) const;

    void B_AddIconClick();
    void B_EditIconClick();
    void B_DeleteIconClick();
    void LV_IconsClick();

    // Button 0 of the header, "Add icon".
    void navigationButtonClicked(int buttonIndex) override;

protected:
    void loadFromDocument(const Project &project) override;

private:
    QImage entryIcon(const ShortcutEntry &entry);
    void setItemImage(int row, int imageIndex);
    // Shows title under the icon of row, the view painted anew.
    void showTitle(int row, const std::string &title);
    void selectItem(int row);
};

} // namespace wharf
