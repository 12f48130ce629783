#include "application.h"

#include "files.h"
#include "fonts.h"
#include "userdirs.h"

#include <exception>

namespace wharf {

TemporaryVariable::TemporaryVariable(const char *name, const QByteArray &value)
    : m_name(name), m_saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
{
    qputenv(name, value);
}

TemporaryVariable::~TemporaryVariable()
{
    if (m_saved)
        qputenv(m_name, *m_saved);
    else
        qunsetenv(m_name);
}

StartUpRuntimeFolder::StartUpRuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeFolderProblem().empty())
        return;
    try {
        m_folder = std::make_unique<ScratchFolder>(userRuntimeFolder(), "qt");
        m_variable.emplace("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_folder->path()));
    } catch (const std::exception &) {
        // No folder of the user's can be made; what needs one says so.
    }
}

StartUpRuntimeFolder::~StartUpRuntimeFolder()
{
    // The variable first, then the folder it named.
    m_variable.reset();
    m_folder.reset();
}

WharfApplication::WharfApplication(int &argc, char **argv)
    : WharfApplication(argc, argv, std::make_unique<StartUpRuntimeFolder>())
{
}

WharfApplication::WharfApplication(int &argc, char **argv, std::unique_ptr<StartUpRuntimeFolder> startUp)
    : QApplication(argc, argv), m_seams(&standardSeams())
{
    startUp.reset();
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
