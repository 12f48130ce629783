#pragma once
// Input and event recording for the framed combo box tests: keys and wheel
// turns are sent straight to the combo, as the window system delivers them
// to the focused control.

#include "framedcombobox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace wharf::testing {

inline void pressKey(QWidget &target, int key, const QString &text = {},
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&target, &event);
}

// One key press per character, as typed.
inline void typeText(QWidget &target, const QString &text)
{
    for (QChar c : text) {
        const QChar upper = c.toUpper();
        const int key = upper >= u'A' && upper <= u'Z' ? Qt::Key_A + (upper.unicode() - u'A') : Qt::Key_unknown;
        pressKey(target, key, QString(c));
    }
}

inline void pressBackspace(QWidget &target) { pressKey(target, Qt::Key_Backspace, QStringLiteral("\b")); }
inline void pressEscape(QWidget &target) { pressKey(target, Qt::Key_Escape, QStringLiteral("\x1b")); }

// One notch of the wheel, up (away from the user) or down.
inline void turnWheel(QWidget &target, bool up)
{
    QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &event);
}

// Counts the combo's events.
struct ComboEvents {
    int change = 0;
    int click = 0;
    int closeUp = 0;
    int dropDown = 0;
    int match = 0;
    int notInList = 0;
    int mouseEnter = 0;
    int mouseLeave = 0;

    explicit ComboEvents(TCustomFramedComboBox &combo)
    {
        using C = TCustomFramedComboBox;
        QObject::connect(&combo, &C::OnChange, [this] { ++change; });
        QObject::connect(&combo, &C::OnClick, [this] { ++click; });
        QObject::connect(&combo, &C::OnCloseUp, [this] { ++closeUp; });
        QObject::connect(&combo, &C::OnDropDown, [this] { ++dropDown; });
        QObject::connect(&combo, &C::OnMatch, [this] { ++match; });
        QObject::connect(&combo, &C::OnNotInList, [this] { ++notInList; });
        QObject::connect(&combo, &C::OnMouseEnter, [this] { ++mouseEnter; });
        QObject::connect(&combo, &C::OnMouseLeave, [this] { ++mouseLeave; });
    }

    void reset() { *this = ComboEvents(); }

private:
    ComboEvents() = default;
};

} // namespace wharf::testing
