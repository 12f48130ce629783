#include "cursorclip.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

#include <algorithm>

namespace wharf {

TCursorClip::~TCursorClip()
{
    release();
}

void TCursorClip::clip(const QRect &rect)
{
    m_rect = rect;
    if (!m_active && QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    m_active = true;
    keepInside();
}

void TCursorClip::release()
{
    if (m_active && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_active = false;
}

void TCursorClip::keepInside()
{
    if (!m_active || m_rect.isEmpty())
        return;
    const QPoint at = QCursor::pos();
    const QPoint inside(std::clamp(at.x(), m_rect.left(), m_rect.right()),
                        std::clamp(at.y(), m_rect.top(), m_rect.bottom()));
    if (inside != at)
        QCursor::setPos(inside);
}

bool TCursorClip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        keepInside();
    return QObject::eventFilter(watched, event);
}

} // namespace wharf
