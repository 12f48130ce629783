#pragma once
// `Tfrm_Preferences`, the designer's preferences: the grid, snapping and
// syntax highlighting, kept under the settings key
// "Software\Kelvra\Brindlewharf 2.0\Dialog Designer". The main window's
// grid preferences follow the fields; OK stores them and repaints the grid,
// Cancel puts back the values the dialog was shown with.

#include "seams.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace wharf {

class Tfrm_Main;

inline constexpr std::string_view kDesignerSettingsKey = "Software\\Kelvra\\Brindlewharf 2.0\\Dialog Designer";

class Tfrm_Preferences : public QDialog {
    Q_OBJECT
public:
    // Reads the settings into the fields and hands them to main (grid and
    // snapping) and to the script editor (highlighting). settingsFolder:
    // where the settings live, empty for the user's configuration folder
    // (see Settings). main and seams must outlive the dialog.
    Tfrm_Preferences(Tfrm_Main &main, const Seams &seams, QString settingsFolder = {}, QWidget *parent = nullptr);

    QSpinBox *SE_XGrid, *SE_YGrid;  // 2..20
    QCheckBox *Ch_ClickPlace;
    QCheckBox *Ch_SyntaxHighlight;
    QPushButton *B_OK, *B_Cancel;

    // Edit > Preferences: shows the dialog modally; QDialog::Accepted on OK.
    int ShowModal();

    // Reads the values present; a missing or unreadable grid or snapping
    // value ends the reading there, and what was read before stays. The
    // highlighting switch follows the box in any case.
    void ReadSettings();
    // Stores the fields, switches highlighting, repaints the grid, closes.
    void B_OKClick();

private:
    void applyGrid();

    Tfrm_Main &m_main;
    const Seams &m_seams;
    QString m_settingsFolder;
};

} // namespace wharf
