#pragma once
// TIniPage, page 6 of the main window ("INI entries"): the INI entries of
// the project in the grid SG_IniEntries, one row per entry in order and
// always one empty row last, which is no entry. Add, Edit and Delete work
// on the grid's current row through TINIEditor; the document's
// Selection.IniEntry follows the current row (-1 on the empty row).

#include "editorpage.h"

class QLabel;
class QPushButton;

namespace wharf {

class TEntryGrid;

class TIniPage : public TEditorPage {
    Q_OBJECT
public:
    TIniPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QLabel *L_IniEntries;
    TEntryGrid *SG_IniEntries; // columns: marker, file, section, key, value, Uninst., Overwr., Create, System
    QPushButton *B_INIAdd;
    QPushButton *B_INIEdit;
    QPushButton *B_INIDelete;

    void B_INIAddClick();
    void B_INIEditClick();
    void B_INIDeleteClick();
    // The grid's current row becomes row (0 is the first entry): the
    // selection of the document and the buttons follow it.
    void SG_IniEntriesSelectCell(int row);

    // Button 0 of the header, "Add INI entry".
    void navigationButtonClicked(int buttonIndex) override;

protected:
    void loadFromDocument(const Project &project) override;

private:
    void refill();
    void selectRow(int row);
    bool isEntryRow(int row);
};

} // namespace wharf
