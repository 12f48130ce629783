#pragma once
// The widgets of the design surface: `ClientShape`, the white area with its
// grid dots that receives every mouse event of the surface, and the dash-dot
// outline frames `FrameShape` and `ResizeShape`.

#include "surfacemodel.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

class QPainter;

namespace wharf {

// Paints the grid over rect: white, with a black pixel every xGrid and
// yGrid pixels from its top left corner (both edges included).
void PaintGrid(QPainter &canvas, const QRect &rect, int xGrid, int yGrid);

// A rectangle outline with a dash-dot pen and no fill; the mouse passes
// through it to the surface below.
class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(const QColor &pen, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_pen;
};

// The surface. Its picture carries the grid; mouse events are handed on in
// the surface's coordinates to the handlers the main window sets.
class TDesignSurface : public QWidget {
    Q_OBJECT
public:
    explicit TDesignSurface(QWidget *parent);

    // Repaints the grid over the whole picture.
    void paintGrid(int xGrid, int yGrid);
    const QPixmap &picture() const { return m_picture; }

    std::function<void(TMouseButton, QPoint)> onPress, onRelease;
    std::function<void(bool leftHeld, QPoint)> onMove;
    std::function<void(QPoint)> onDoubleClick;
    std::function<void()> onLeave;
    std::function<void(QPoint local, QPoint global)> onContextMenu;
    // The tooltip at a point (the name of the control there), or empty.
    std::function<QString(QPoint)> hintAt;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPixmap m_picture;
    int m_xGrid = 5, m_yGrid = 5;
};

} // namespace wharf
