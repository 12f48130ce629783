#pragma once
// TStartForm: the splash window shown while the editor creates its windows:
// borderless, 500 by 189 pixels, centred on the screen, with the program's
// picture, its version and a progress bar.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace wharf {

class TStartForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartForm(QWidget *parent = nullptr);

    QLabel *I_Background;
    QLabel *L_Version;
    QLabel *LoadLabel;
    QProgressBar *PB_Progress;

    // Sets the progress (0 to 100) and repaints the window at once.
    void setProgress(int percent);
};

} // namespace wharf
