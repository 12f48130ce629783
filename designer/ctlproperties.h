#pragma once
// `Tfrm_CtlProperties`, the dialog that edits every key of the selected
// control: name, position, size, hint, states, font and click script for
// all types, a page of special fields per type and the change script for
// edit boxes, combo boxes and rich edits. OK writes the fields into the
// control's key list (keys in place, new ones appended) and renders the
// control anew; Cancel changes nothing.

#include "inistore.h"
#include "seams.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTableWidget;

namespace wharf {

class TFontDialog;
class TScriptMemo;
class Tfrm_EditCLB;
class Tfrm_Main;

inline constexpr std::string_view kClickScriptCaption = "Script for Click event";
inline constexpr std::string_view kReturnScriptCaption = "Script for RETURN/Exit event";

class Tfrm_CtlProperties : public QDialog {
    Q_OBJECT
public:
    // main holds the control; itemDialog edits the check-list items; seams
    // show the dialogs and messages. All must outlive the dialog (itemDialog
    // is only used once the dialog is shown).
    Tfrm_CtlProperties(Tfrm_Main &main, Tfrm_EditCLB &itemDialog, const Seams &seams, QWidget *parent = nullptr);
    ~Tfrm_CtlProperties() override;

    // Common fields.
    QLineEdit *E_Name;
    QSpinBox *SE_Left, *SE_Top, *SE_Width, *SE_Height;
    QLineEdit *E_Hint;
    QCheckBox *Ch_Enabled, *Ch_Visible;
    QPushButton *B_Font;
    TFontDialog *FontDialog;
    QTabWidget *PC_Scripts;
    TScriptMemo *SM_ClickFunc, *SM_ChangeFunc;
    QGroupBox *G_Special;
    QStackedWidget *CtlBook; // page index = control type
    QPushButton *B_OK, *B_Cancel;

    // 0 Edit
    QLineEdit *E_EditText, *E_PWChar;
    QCheckBox *Ch_EditReadOnly;
    // 1 Button
    QLineEdit *E_ButtonCaption;
    QCheckBox *Ch_BDefault, *Ch_BCancel;
    // 2 Label
    QLineEdit *E_LabelCaption;
    QCheckBox *Ch_LabelWordWrap, *Ch_LabelTransparent;
    // 3 CheckBox
    QLineEdit *E_CheckboxCaption;
    QCheckBox *Ch_CheckboxChecked;
    // 4 ComboBox
    QPlainTextEdit *M_ComboItems;
    QSpinBox *SE_ComboSelItem;
    QCheckBox *Ch_ComboAllowInput;
    // 5 RadioGroup
    QLineEdit *E_RGCaption;
    QPlainTextEdit *M_RGItems;
    QSpinBox *SE_RGSelItem;
    // 6 RichEdit
    QLineEdit *E_REFileName;
    QPlainTextEdit *RE_RELines;
    QCheckBox *Ch_REReadOnly, *ch_HorzScrollBar, *Ch_VertScrollBar, *Ch_REWordWrap;
    // 7 ListBox
    QPlainTextEdit *M_LBItems;
    QSpinBox *SE_LBSelItem;
    // 8 ChkListBox: one row per item, then one empty row.
    QTableWidget *SG_CLBItems;
    QPushButton *B_Add, *B_Delete, *B_Edit, *B_Up, *B_Down;
    // 9 ProgressBar
    QSpinBox *SE_PBPosition, *SE_PBMinValue, *SE_PBMaxValue;
    QCheckBox *Ch_PBSmooth;
    // 10 Image
    QLineEdit *E_ILoadFile;
    QCheckBox *Ch_ITransparent, *Ch_IAutosize, *Ch_IStretch;

    // Edit > Properties: shows the dialog for the selected control; nothing
    // without one.
    void Execute();
    // Fills the fields from the selected control and shows the dialog
    // modally; QDialog::Accepted when OK wrote the keys.
    int ShowModal();

    void FormShow();
    // Writes the fields into the control and closes the dialog. A field the
    // author changed is written; one left as shown is written only when the
    // list lacks its key, so an untouched OK leaves a complete key list as it
    // was, byte for byte, even where a field can't show it exactly (an empty
    // last item, a value beyond a spin box's range, a number written another
    // way). An emptied name gets a generated one; a name another control
    // has, or a text a dialog file cannot store, is refused with a message,
    // and the dialog stays open with the key list unchanged.
    void B_OKClick();
    void B_FontClick();
    void B_AddClick();
    void B_EditClick();
    void B_DeleteClick();
    void B_UpClick();
    void B_DownClick();
    void SG_CLBItemsClick();

    // The control type the dialog was filled for.
    int shownType() const { return m_type; }

    // One key (or counted line list, or the check-list items) as the
    // fields would write it.
    struct FieldWrite {
        enum Kind { Value, Lines, CheckItems } kind = Value;
        std::string key;   // the key, or the stem of a list
        TStringList value; // Value: one entry; CheckItems: text, checked, enabled per item
        bool operator==(const FieldWrite &) const = default;
    };

protected:
    void showEvent(QShowEvent *event) override;

private:
    // What the fields hold now, in the order OK writes it.
    std::vector<FieldWrite> fieldWrites() const;
    void buildCommon();
    void buildPages();
    QWidget *page(QWidget *content);
    int itemCount() const;
    void addItemRow(int row, const QString &text, bool checked, bool enabled);
    void swapRows(int a, int b);
    void refreshItemButtons();
    // A name the field holds may be taken: free, and one the naming rule
    // allows unless it is the name the control came with (a loaded control
    // keeps its file's name through an OK). Shows the refusal.
    bool nameAccepted(const QString &name);

    Tfrm_Main &m_main;
    Tfrm_EditCLB &m_itemDialog;
    const Seams &m_seams;
    long m_index = -1;
    int m_type = 0;
    // fieldWrites() as the dialog was shown.
    std::vector<FieldWrite> m_shown;
};

} // namespace wharf
