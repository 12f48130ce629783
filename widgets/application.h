#pragma once
// The application object of both programs. An exception must never cross
// the Qt event loop, so every event handler runs under notify(), which
// catches what a handler throws and shows its message in a message box
// captioned with the application's title; the program then goes on.

#include "seams.h"

#include <QApplication>

namespace wharf {

class WharfApplication : public QApplication {
    Q_OBJECT
public:
    // Also registers the display substitutes of the stored font names.
    WharfApplication(int &argc, char **argv);

    // Where exception messages are shown; standardSeams() until set. The
    // seams must outlive the application.
    void setSeams(const Seams &seams) { m_seams = &seams; }

    // The caption of exception messages (the Windows application title);
    // the application name until set.
    void setTitle(const QString &title) { m_title = title; }
    QString title() const;

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the message of an exception as notify() does: the text, in a
    // box with the application's title and an OK button.
    void showException(const QString &message);

private:
    const Seams *m_seams;
    QString m_title;
};

// Qt ends a program that finds no display with an abort and a hint at
// reinstalling it. Gives, before the application object is made, what to
// print in its place: a text saying that there is no display, when neither
// DISPLAY nor WAYLAND_DISPLAY is set and no platform is chosen (by
// QT_QPA_PLATFORM or a "-platform" argument); else an empty text.
QString missingDisplayProblem(int argc, char **argv);

} // namespace wharf
