#pragma once
// TBillboardEditor ("Billboard images"): the pictures the setup shows one
// after another while it installs, in their order, with the delay between
// them and whether the show loops. Edits the open project's billboard
// settings directly while it is shown; OK keeps them and marks the project
// modified, Cancel (or closing the window) puts back what the window showed
// when it opened. Created once and kept for the run.

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace wharf {

struct Seams;
class ProjectController;

class TBillboardEditor : public QDialog {
    Q_OBJECT
public:
    // controller gives the open project; both it and seams must outlive the
    // window.
    TBillboardEditor(ProjectController &controller, const Seams &seams, QWidget *parent = nullptr);

    QListWidget *LB_BillboardPics;
    QPushButton *B_AddPic;
    QPushButton *B_DeletePic;
    QToolButton *B_PicUp;
    QToolButton *B_PicDown;
    QSpinBox *SE_DelayTime;
    QCheckBox *Ch_Loop;
    QPushButton *B_OK;
    QPushButton *B_Cancel;

    int helpContext() const { return 14; }

    // Fills the window from the project and shows it modally; restores the
    // project's billboard settings unless the result is OK.
    int ShowModal();

    void B_AddPicClick();
    void B_DeletePicClick();
    void B_PicUpClick();
    void B_PicDownClick();
    // Marks the project modified and closes the window with OK.
    void B_OKClick();

private:
    struct Snapshot {
        std::vector<std::string> pictures;
        bool loop = true;
        int32_t delay = 1000;
    };
    Snapshot current() const;
    void restore(const Snapshot &snapshot);
    void load();
    void exchange(int row, int other);

    ProjectController &m_controller;
    const Seams &m_seams;
    bool m_loading = false;
};

} // namespace wharf
