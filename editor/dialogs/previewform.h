#pragma once
// TPreviewForm: the full-screen preview of the background window the setup
// shows behind its wizard: the gradient of the layout tab, the background
// picture over it (centred, stretched over the screen or from the top-left
// corner, optionally transparent), the setup title at the top left and the
// copyright at the bottom right, each in its font. Built afresh from the
// open project each time it is shown; created once and kept for the run.

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace wharf {

struct Seams;
class ProjectController;
class TGradientFill;

// How the background picture is placed: the values of the project's
// BackAlign.
enum class TPictureMode { Center = 0, WholeScreen = 1, TopLeft = 2 };

// The picture over the gradient.
class TPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewImage(QWidget *parent = nullptr);

    void clear();
    // A transparent picture leaves the pixels of its bottom-left colour
    // out, so the gradient shows through there.
    void setPicture(const QImage &picture, TPictureMode mode, bool transparent);
    const QImage &picture() const { return m_picture; }
    TPictureMode mode() const { return m_mode; }
    bool transparent() const { return m_transparent; }
    // Where the picture is drawn in this widget; empty without a picture.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    TPictureMode m_mode = TPictureMode::Center;
    bool m_transparent = false;
};

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // controller gives the open project; seams show the window and report a
    // picture that can't be read. Both must outlive the form.
    TPreviewForm(ProjectController &controller, const Seams &seams, QWidget *parent = nullptr);

    TGradientFill *HG_Background;
    TPreviewImage *I_Background;
    QLabel *L_Caption;
    QLabel *L_Copyright;
    QPushButton *B_Close;

    // Fills the window from the project and shows it modally.
    int ShowModal();

    // Places the window over the whole screen and fills it from the
    // project: gradient, picture, title and copyright. A picture that
    // exists but can't be read is reported; the gradient then shows alone
    // (as it does for a picture that does not exist, or a metafile, which
    // this system can't draw).
    void FormActivate();
    void B_CloseClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeCopyright();

    ProjectController &m_controller;
    const Seams &m_seams;
};

} // namespace wharf
