#pragma once
// TIconEditor, "Icon properties": edits the selected shortcut of the
// project (document().Selection.Shortcut) in place. ShowModal loads the
// record into the controls and shows the window; B_OKClick writes every
// field back and marks the project modified, Cancel leaves the record as it
// was. The program creates one instance and keeps it.

#include "entryicon.h"
#include "seams.h"

#include <QDialog>
#include <QImage>

#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace wharf {

class ProjectController;
class TSystemForm;
class TVarForm;

// The hot key of a shortcut: the modifier code in the high byte (1 Shift,
// 2 Ctrl, 4 Alt), the key's Windows-1252 character code in the low byte.
// The items of CB_HotKey are "(None)", "ALT", "SHIFT", "CTRL".
enum HotKeyItem { hkNone = 0, hkAlt = 1, hkShift = 2, hkCtrl = 3 };

// The CB_HotKey item of a stored hot key: its high byte 1, 2 or 4, else
// "(None)".
int HotKeyItemOf(uint16_t hotKey);
// The key of a stored hot key as one character; empty when the low byte is
// 0 or another control code (older builds stored a lone modifier as 1, 2
// or 4), which E_Char could neither show nor let the author type over.
QString HotKeyCharOf(uint16_t hotKey);
// The hot key for a CB_HotKey item and the text of E_Char. A hot key needs
// both a modifier and a key that Windows-1252 can store (taken in upper
// case); anything less gives 0, no hot key.
uint16_t EncodeHotKey(int item, const QString &character);

class TIconEditor : public QDialog {
    Q_OBJECT
public:
    // controller: the open project; systemForm edits the target systems and
    // palette offers variables (either may be null). All must outlive the
    // dialog.
    TIconEditor(ProjectController &controller, const Seams &seams, TSystemForm *systemForm, TVarForm *palette,
                QWidget *parent = nullptr);

    QLineEdit *E_Location;
    QLineEdit *E_Parameters;
    QComboBox *CB_IconTarget;
    QLineEdit *E_WorkDir;
    QComboBox *CB_ShowMode;
    QComboBox *CB_HotKey;
    QLabel *L_Plus;
    QLineEdit *E_Char;
    QLineEdit *E_IconLocation;
    QSpinBox *SE_IconIndex;
    QLineEdit *E_IconTitle;
    QFrame *Bev_Icon;
    QLabel *I_Icon;
    QPushButton *B_TargetSys;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 19; }

    // The target systems being edited (the tag of B_TargetSys).
    int32_t TargetSystemsTag() const { return m_targetSystems; }

    // Loads the selected shortcut and shows the window modally through the
    // seams; QDialog::Accepted after OK. Nothing is shown without a
    // selected shortcut (Rejected).
    int ShowModal();

    // The icon of a project file named by its destination (entryicon.h),
    // against the open project. Null when no project file matches.
    QImage GetEntryIcon(const QString &IconLocation, uint16_t Index) const;

    // The picture I_Icon shows now (null when blank).
    QImage previewImage() const { return m_preview; }

    void FormShow();
    void B_OKClick();
    void B_TargetSysClick();
    void CB_HotKeyChange();
    void CB_IconTargetChange();
    void SE_IconIndexChange();

private:
    ProjectController &m_controller;
    const Seams &m_seams;
    TSystemForm *m_systemForm;
    int32_t m_targetSystems = 0;
    QImage m_preview;
};

} // namespace wharf
