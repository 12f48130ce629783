#pragma once
// The prototypes window: one hidden control of each of the eleven types. A
// placed control is no live control but a picture of its prototype, set up
// from the control's key list and rendered once.

#include "inistore.h"

#include <QPixmap>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace wharf {

class Tfrm_DrawObject : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_DrawObject(QWidget *parent = nullptr);

    // The picture of a control: the prototype of its type (an edit box for
    // a type outside 0..10) set up from the key list and rendered at
    // width x height pixels (the caller keeps them within 3..2048).
    QPixmap renderControl(const TStringList &keys, int width, int height);

    // The prototype of a type, for tests; nullptr outside 0..10.
    QWidget *prototype(int type) const;

private:
    QWidget *setUp(int type, TStringList keys);

    QLineEdit *E_Draw;
    QPushButton *B_Draw;
    QLabel *L_Draw;
    QCheckBox *Ch_Draw;
    QComboBox *CB_Draw;
    QGroupBox *RG_Draw;
    QTextEdit *RE_Draw;
    QListWidget *LB_Draw;
    QListWidget *CLB_Draw;
    QProgressBar *PB_Draw;
    QLabel *I_Draw;
};

} // namespace wharf
