#pragma once
// Confines the mouse pointer to a screen rectangle while the designer places
// or drags a control: the pointer is brought into the rectangle at once and
// kept there as it moves over the program's windows.

#include <QObject>
#include <QRect>

namespace wharf {

class TCursorClip : public QObject {
    Q_OBJECT
public:
    TCursorClip() = default;
    ~TCursorClip() override;

    // Confines the pointer to rect (screen coordinates).
    void clip(const QRect &rect);
    void release();
    bool active() const { return m_active; }
    const QRect &rect() const { return m_rect; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepInside();

    QRect m_rect;
    bool m_active = false;
};

} // namespace wharf
