#pragma once
// TFileEditor, "File properties": edits one file entry of the file tree:
// its source and destination paths, description, patched file, the nine
// options and the target systems. Created once at start; the files page
// copies an entry in (loadEntry), shows the dialog and copies it back on OK
// (storeEntry).

#include "records.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wharf {

struct Seams;
class TFilenameEdit;
class TSystemForm;
class TVarForm;

// What the dialog shows besides the entry itself.
struct FileEditorContext {
    // The project allows partial updates: a patched file may be named.
    bool partialUpdates = false;
    // The project creates an uninstaller: "Uninstall" can be chosen.
    bool uninstaller = true;
    // Position of the file among all files of the tree, for its temporary
    // name.
    int fileOrdinal = 0;
};

class TFileEditor : public QDialog {
    Q_OBJECT
public:
    // palette and systems may be null; seams must outlive the form.
    TFileEditor(QWidget *parent, const Seams &seams, TVarForm *palette, TSystemForm *systems);

    QLabel *L_SourcePath;
    TFilenameEdit *FE_SourcePath;
    QLabel *L_DestPath;
    QLineEdit *E_DestPath;
    QLabel *L_Description;
    QLineEdit *E_Description;
    QLabel *L_PatchedFile;
    TFilenameEdit *FE_PatchedFile;
    QLabel *L_TempFile;
    QLabel *L_TempFileName;
    QGroupBox *GB_Options;
    QCheckBox *Ch_CompareVersions;
    QCheckBox *Ch_CompareTimeStamps;
    QCheckBox *Ch_SharedFile;
    QCheckBox *Ch_InUse;
    QCheckBox *Ch_RegServer;
    QCheckBox *Ch_Overwrite;
    QCheckBox *Ch_Uninstall;
    QCheckBox *Ch_External;
    QCheckBox *Ch_InstallFont;
    QPushButton *B_TargetSys;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    static constexpr int kHelpContext = 16;

    // The nine option boxes in the order of FileOption (groupchange.h).
    std::array<QCheckBox *, 9> optionBoxes() const;

    // Copies entry into the controls and prepares them as for a showing
    // (FormShow).
    void loadEntry(const FileEntry &entry, const FileEditorContext &context);
    // Copies the controls back into entry: source, patched file,
    // destination, description (the last three at most 255 characters),
    // the options and the target systems.
    void storeEntry(FileEntry &entry) const;
    // The dialog modally through the seams; QDialog::Accepted on OK.
    int ShowModal();

    // The target systems chosen while the dialog is open.
    int32_t targetSystems() const { return m_targetSystems; }

    void FormShow();
    // Lets the author pick the target systems; a cancelled choice keeps them.
    void B_TargetSysClick();
    // A file that is patched can't be external.
    void FE_PatchedFileChange();

private:
    const Seams &m_seams;
    TSystemForm *m_systems;
    FileEditorContext m_context;
    std::string m_source;
    int32_t m_targetSystems = kAllTargetSystems;
    bool m_externalAllowed = true;
};

} // namespace wharf
