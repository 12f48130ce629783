#pragma once
// The font dialog of the control properties: name, size, the four style
// bits and the colour of a stored font (Qt's own font dialog has no
// colour). A value the author does not change stays exactly as stored, so
// a system colour or a font this machine lacks survives the dialog.

#include "dialogfile.h"
#include "seams.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace wharf {

class TFontDialog : public QDialog {
    Q_OBJECT
public:
    // seams show the dialog and the colour dialog; they must outlive it.
    explicit TFontDialog(const Seams &seams, QWidget *parent = nullptr);

    QComboBox *CB_FontName;
    QSpinBox *SE_FontSize;
    QCheckBox *Ch_Bold;
    QCheckBox *Ch_Italic;
    QCheckBox *Ch_Underline;
    QCheckBox *Ch_StrikeOut;
    QPushButton *B_Color;
    QLabel *L_Sample;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    // The font the dialog holds: set before Execute, the choice after OK.
    const TFontSpec &font() const { return m_font; }
    void setFontSpec(const TFontSpec &font);

    // Shows the dialog modally; true when it was closed with OK, and font()
    // then holds the choice. Cancel keeps the font as it was.
    bool Execute();

    // Opens the colour dialog for the shown colour.
    void B_ColorClick();
    void B_OKClick();

private:
    int checkedStyleBits() const;
    void showSample();

    const Seams &m_seams;
    TFontSpec m_font;
    // What the fields showed when the font was set, to tell edits apart.
    QString m_shownName;
    int m_shownSize = 0;
    std::optional<int32_t> m_newColor;
};

} // namespace wharf
