#pragma once
// Synthetic pointer and key events for the navigation bar tests: each is
// sent straight to the widget, as Qt delivers it after its own routing.

#include "colors.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace wharf::navtest {

inline void mouse(QWidget *widget, QEvent::Type type, QPoint position, Qt::MouseButton button = Qt::LeftButton,
                  Qt::MouseButtons held = Qt::NoButton)
{
    const QPointF local(position);
    const QPointF global(widget->mapToGlobal(position));
    QMouseEvent event(type, local, local, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void press(QWidget *widget, QPoint position, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonPress, position, button, button);
}

inline void release(QWidget *widget, QPoint position, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonRelease, position, button, Qt::NoButton);
}

inline void click(QWidget *widget, QPoint position)
{
    press(widget, position);
    release(widget, position);
}

// A move with the left button held (held) or with no button.
inline void move(QWidget *widget, QPoint position, bool held = false)
{
    mouse(widget, QEvent::MouseMove, position, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
}

inline void enter(QWidget *widget, QPoint position)
{
    const QPointF local(position);
    QEnterEvent event(local, local, QPointF(widget->mapToGlobal(position)));
    QCoreApplication::sendEvent(widget, &event);
}

inline void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

inline void key(QWidget *widget, int code, const QString &text = QString())
{
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &event);
}

// A stored colour as it lands in a picture: 8 bits per channel.
inline QColor painted(TColor colour, const QPalette &palette) { return QColor(toQColor(colour, palette).rgb()); }
inline QColor painted(TColor colour) { return QColor(toQColor(colour).rgb()); }

// The colour of one pixel of a picture.
inline QColor pixel(const QImage &image, int x, int y) { return QColor(image.pixel(x, y)); }

} // namespace wharf::navtest
