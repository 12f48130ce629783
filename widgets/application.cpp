#include "application.h"

#include "fonts.h"

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

} // namespace wharf
