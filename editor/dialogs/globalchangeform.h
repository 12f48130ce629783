#pragma once
// TGlobalChangeForm, "Change properties of all files in this group": the
// nine options, the target systems and the destination folder of every
// file of one group at once. Each box and system shows checked, unchecked
// or grey (the files differ); a click gives checked or unchecked, and a
// grey one left alone keeps each file's own value. Created once at start.

#include "groupchange.h"

#include <QCheckBox>
#include <QDialog>

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace wharf {

struct Seams;
class TVarForm;

// A check box that shows grey when told to, and that a click turns checked
// or unchecked only.
class TGreyCheckBox : public QCheckBox {
    Q_OBJECT
public:
    TGreyCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent) {}

protected:
    void nextCheckState() override;
};

class TGlobalChangeForm : public QDialog {
    Q_OBJECT
public:
    // seams must outlive the form.
    TGlobalChangeForm(QWidget *parent, const Seams &seams);

    // Lets the text box take variables from the palette, which stays usable
    // beside the dialog (once, when the palette exists).
    void usePalette(TVarForm &palette);

    QGroupBox *GB_Options;
    TGreyCheckBox *Ch_CompareVersions;
    TGreyCheckBox *Ch_CompareTimeStamps;
    TGreyCheckBox *Ch_SharedFile;
    TGreyCheckBox *Ch_InUse;
    TGreyCheckBox *Ch_RegServer;
    TGreyCheckBox *Ch_Overwrite;
    TGreyCheckBox *Ch_Uninstall;
    TGreyCheckBox *Ch_External;
    TGreyCheckBox *Ch_InstallFont;
    QLabel *L_TargetSystems;
    QListWidget *CLB_System; // the 22 systems in bit order
    QLabel *L_DestFldr;
    QLineEdit *E_DestFldr;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    // The nine option boxes in the order of FileOption.
    std::array<TGreyCheckBox *, 9> optionBoxes() const;

    // Shows what the files have in common (groupChangeFor).
    void FormShow(const std::vector<FileEntry> &files);
    // The change the controls describe now.
    GroupChange change() const;
    // The dialog modally through the seams; QDialog::Accepted on OK.
    int ShowModal();

private:
    const Seams &m_seams;
};

} // namespace wharf
