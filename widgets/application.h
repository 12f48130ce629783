#pragma once
// The application object of both programs. An exception must never cross
// the Qt event loop, so every event handler runs under notify(), which
// catches what a handler throws and shows its message in a message box
// captioned with the application's title; the program then goes on.

#include "seams.h"

#include <QApplication>
#include <QByteArray>

#include <memory>
#include <optional>

namespace wharf {

class ScratchFolder;

// Sets an environment variable for the life of the object, then puts back
// what was there (or unsets it again).
class TemporaryVariable {
public:
    TemporaryVariable(const char *name, const QByteArray &value);
    ~TemporaryVariable();
    TemporaryVariable(const TemporaryVariable &) = delete;
    TemporaryVariable &operator=(const TemporaryVariable &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};

// Qt's start-up wants a runtime folder: where XDG_RUNTIME_DIR is not set or
// can't be used (cron, ssh, "su", containers) it prints a note and makes
// /tmp/runtime-<user>. While the application object is made it gets a
// private folder of this run instead (under userRuntimeFolder()); then the
// variable is put back, so that the programs the run starts get the
// environment as it was.
class StartUpRuntimeFolder {
public:
    StartUpRuntimeFolder();
    ~StartUpRuntimeFolder();
    StartUpRuntimeFolder(const StartUpRuntimeFolder &) = delete;
    StartUpRuntimeFolder &operator=(const StartUpRuntimeFolder &) = delete;

private:
    std::unique_ptr<ScratchFolder> m_folder;
    std::optional<TemporaryVariable> m_variable;
};

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
    // The start-up folder lives while QApplication is made.
    WharfApplication(int &argc, char **argv, std::unique_ptr<StartUpRuntimeFolder> startUp);

    const Seams *m_seams;
    QString m_title;
};

} // namespace wharf
