#include "designsurface.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace wharf {
namespace {

std::optional<TMouseButton> buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return TMouseButton::Left;
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return std::nullopt;
    }
}

} // namespace

void PaintGrid(QPainter &canvas, const QRect &rect, int xGrid, int yGrid)
{
    canvas.fillRect(rect, Qt::white);
    canvas.setPen(Qt::black);
    for (int i = 0; i <= rect.width() / xGrid; ++i)
        for (int j = 0; j <= rect.height() / yGrid; ++j)
            canvas.drawPoint(rect.left() + i * xGrid, rect.top() + j * yGrid);
}

TShape::TShape(const QColor &pen, QWidget *parent) : QWidget(parent), m_pen(pen)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_pen, 1, Qt::DashDotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

TDesignSurface::TDesignSurface(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ClientShape"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDesignSurface::paintGrid(int xGrid, int yGrid)
{
    m_xGrid = xGrid;
    m_yGrid = yGrid;
    m_picture = QPixmap(size());
    QPainter painter(&m_picture);
    PaintGrid(painter, m_picture.rect(), xGrid, yGrid);
    painter.end();
    update();
}

void TDesignSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void TDesignSurface::resizeEvent(QResizeEvent *)
{
    paintGrid(m_xGrid, m_yGrid);
}

void TDesignSurface::mousePressEvent(QMouseEvent *event)
{
    if (const auto button = buttonOf(event->button()); button && onPress)
        onPress(*button, event->position().toPoint());
}

void TDesignSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (onMove)
        onMove(event->buttons().testFlag(Qt::LeftButton), event->position().toPoint());
}

void TDesignSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (const auto button = buttonOf(event->button()); button && onRelease)
        onRelease(*button, event->position().toPoint());
}

void TDesignSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    if (onDoubleClick)
        onDoubleClick(event->position().toPoint());
}

void TDesignSurface::leaveEvent(QEvent *)
{
    if (onLeave)
        onLeave();
}

void TDesignSurface::contextMenuEvent(QContextMenuEvent *event)
{
    if (onContextMenu)
        onContextMenu(event->pos(), event->globalPos());
}

bool TDesignSurface::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString hint = hintAt ? hintAt(help->pos()) : QString();
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace wharf
