#pragma once
// TAnimate: the small looping animations of the busy and copy windows,
// drawn by the program itself: a sheet going into a folder (reading), out
// of it (writing), or from one folder to another (copying). It runs only
// while Active is set.

#include <QWidget>

class QVariantAnimation;

namespace wharf {

class TAnimate : public QWidget {
    Q_OBJECT
public:
    enum class Clip { Read, Write, Copy };

    explicit TAnimate(QWidget *parent = nullptr);

    Clip clip() const { return m_clip; }
    void setClip(Clip clip);
    bool Active() const;
    void setActive(bool active);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Clip m_clip = Clip::Read;
    QVariantAnimation *m_animation;
    double m_phase = 0; // 0 to 1 through one loop
};

} // namespace wharf
