#include "application.h"

#include "fonts.h"

#include <cstring>
#include <exception>

namespace wharf {

WharfApplication::WharfApplication(int &argc, char **argv) : QApplication(argc, argv), m_seams(&standardSeams())
{
    installFontSubstitutes();
}

QString WharfApplication::title() const { return m_title.isEmpty() ? applicationName() : m_title; }

bool WharfApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showException(QString::fromUtf8(e.what()));
    } catch (...) {
        showException(QStringLiteral("Unknown error"));
    }
    return false;
}

void WharfApplication::showException(const QString &message)
{
    m_seams->messages->showMessage(activeWindow(), title(), message);
}

QString missingDisplayProblem(int argc, char **argv)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return {};
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return {};
    }
    return QStringLiteral("there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)");
}

} // namespace wharf
