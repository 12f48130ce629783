#pragma once
// TReadForm: the borderless busy window that stays on top, centred on the
// screen, while a project file is read ("Reading script file...") or
// written ("Saving script file..."), with a small animation.

#include <QWidget>

class QLabel;

namespace wharf {

class TAnimate;

class TReadForm : public QWidget {
    Q_OBJECT
public:
    explicit TReadForm(QWidget *parent = nullptr);

    QLabel *l_Caption;
    TAnimate *ani_Read;

    // Shows the window with caption and the reading or the writing
    // animation, painted at once.
    void showBusy(bool reading, const QString &caption);
    // Hides the window and stops the animation.
    void hideBusy();
};

} // namespace wharf
