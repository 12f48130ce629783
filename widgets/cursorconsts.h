#pragma once
// The two cursor ids that the programs register when they start: a hand and
// a hand dragging. No window uses them yet; cursorFor gives the Qt cursor an
// id stands for.

#include <QCursor>

namespace wharf {

constexpr int crHandCur = 14000;
constexpr int crDragCur = 14001;

// The cursor for one of the ids above; the arrow for any other id.
inline QCursor cursorFor(int id)
{
    switch (id) {
    case crHandCur: return QCursor(Qt::PointingHandCursor);
    case crDragCur: return QCursor(Qt::ClosedHandCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace wharf
