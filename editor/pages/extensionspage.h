#pragma once
// TExtensionsPage, page 8 of the main window ("Extensions"): the tabs
// "Executable extensions" (the programs the setup starts, SG_ExExtensions)
// and "DLL extensions" (the DLL functions it calls, SG_DllExtensions). Each
// grid shows one row per entry; without entries it shows one empty row that
// is no entry. Add, Edit and Delete work on the current row through
// TExExecutableEditor and TExDllEditor; the document's
// Selection.ExternalProgram and Selection.DllCall follow the current rows.

#include "editorpage.h"

class QPushButton;
class QTabWidget;

namespace wharf {

class TEntryGrid;

class TExtensionsPage : public TEditorPage {
    Q_OBJECT
public:
    TExtensionsPage(PageContext &context, int pageIndex, QWidget *parent = nullptr);

    QTabWidget *PC_ExtensionSheets;
    QWidget *TS_ExExtensions;
    TEntryGrid *SG_ExExtensions; // "File name", "Execute at...", "Wait", "System"
    QPushButton *B_AddExExtension;
    QPushButton *B_EditExExtension;
    QPushButton *B_DeleteExExtension;
    QWidget *TS_DllExtensions;
    TEntryGrid *SG_DllExtensions; // "File name", "Function name", "Execute after"
    QPushButton *B_AddDllExtension;
    QPushButton *B_EditDllExtension;
    QPushButton *B_DeleteDllExtension;

    QTabWidget *tabControl() const override { return PC_ExtensionSheets; }

    void B_AddExExtensionClick();
    void B_EditExExtensionClick();
    void B_DeleteExExtensionClick();
    // The current row of the programs grid becomes row (0 is the first).
    void SG_ExExtensionsSelectCell(int row);

    void B_AddDllExtensionClick();
    void B_EditDllExtensionClick();
    void B_DeleteDllExtensionClick();
    void SG_DllExtensionsSelectCell(int row);

protected:
    void loadFromDocument(const Project &project) override;

private:
    void refillPrograms();
    void refillCalls();
};

} // namespace wharf
