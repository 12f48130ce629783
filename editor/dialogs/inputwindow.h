#pragma once
// TInputWindow and QueryText: the one-line question the pages ask for a new
// key name, a value name or an expression. The window exists only for one
// QueryText call; its text box takes variables dragged from the palette.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace wharf {

struct Seams;
class TVarForm;

class TInputWindow : public QDialog {
    Q_OBJECT
public:
    explicit TInputWindow(QWidget *parent = nullptr);

    QLabel *L_Caption;
    QLineEdit *E_Input;
    QPushButton *B_OK;
    QPushButton *B_Cancel;
};

// Shows TInputWindow modally with caption, prompt and value. True with value
// set to the edited text when the author pressed OK; false with value
// unchanged otherwise. palette may be null; when given, the window's text
// box takes its drags and the palette stays usable beside the window.
bool QueryText(const Seams &seams, TVarForm *palette, QWidget *parent, const QString &caption,
               const QString &prompt, QString &value);

} // namespace wharf
