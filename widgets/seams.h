#pragma once
// The seams between the programs and what a test must not wait on: message
// boxes, file, folder and colour dialogs, modal dialogs, the system beep and
// process starts. Windows and components take a `const Seams &` (or a
// setter) and never call QMessageBox, QFileDialog, QColorDialog,
// QDialog::exec, QApplication::beep or QProcess directly; the programs pass
// standardSeams(), tests pass the fakes of testing/fakeseams.h.
//
// Every seam is an interface with one real implementation here; the Seams
// bundle holds non-owning pointers, so whoever builds one keeps the
// implementations alive for as long as the windows that use it.

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QFileDialog;
class QWidget;

namespace wharf {

// The kinds of message dialogs the programs show. The caption follows the
// kind: "Warning", "Error", "Information", "Confirm".
enum class MsgDlgType { Warning, Error, Information, Confirmation };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows text with the given buttons and returns the button pressed
    // (the escape button when the box is closed otherwise).
    virtual QMessageBox::StandardButton messageDlg(QWidget *parent, MsgDlgType type, const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) = 0;
    // A box with its own caption and an OK button; used for the messages of
    // exceptions that reach the event loop (caption: the application title).
    virtual void showMessage(QWidget *parent, const QString &caption, const QString &text) = 0;
};

// The box messageDlg shows: its icon and caption after type, text, the
// buttons and the default button. The caller shows it.
std::unique_ptr<QMessageBox> createMessageBox(QWidget *parent, MsgDlgType type, const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton);

// What a file or folder dialog asks for.
struct FileDialogRequest {
    enum class Kind { Open, OpenMany, Save, Folder };
    Kind kind = Kind::Open;
    QString title;
    // The folder of the path the dialog edits; empty when there is none
    // (the dialog then starts where fileDialogStartFolder says).
    QString initialDir;
    QString fileName;   // preset file name (Open, Save)
    QString filter;     // Qt filter text: "Text files (*.txt);;All files (*)"
    int filterIndex = 0; // 0-based index into the filter's entries
    QString defaultExt; // without the dot; added to a saved name without one
    bool overwritePrompt = true; // Save: ask before replacing a file
};

struct FileDialogResult {
    bool accepted = false;
    QStringList files; // one entry except for OpenMany; the folder for Folder
    int filterIndex = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogResult run(QWidget *parent, const FileDialogRequest &request) = 0;
};

// The user's documents folder; the home folder where there is none.
QString userDocumentsFolder();

// The folder a file dialog starts in: the request's initialDir when it is a
// folder, else the folder of its fileName when that is one, else
// lastFolder (where the last file was chosen in any of the program's
// dialogs) when it still is one, else documentsFolder. Never the folder
// the program was started from by chance.
QString fileDialogStartFolder(const FileDialogRequest &request, const QString &lastFolder,
                              const QString &documentsFolder);

// Makes a file dialog of Qt's own wide enough for the columns of its file
// list (each title, and a size, type and date as they are shown), within
// the screen. A dialog of the desktop's own is left alone.
void fitFileDialog(QFileDialog &dialog);

struct ColorDialogRequest {
    QColor initial;
    QList<QColor> customColors; // up to 16 custom colour slots
    bool fullOpen = true;       // start with the custom colour part shown
};

struct ColorDialogResult {
    bool accepted = false;
    QColor color;
    QList<QColor> customColors; // the slots as the dialog left them
};

class ColorDialogs {
public:
    virtual ~ColorDialogs() = default;
    virtual ColorDialogResult run(QWidget *parent, const ColorDialogRequest &request) = 0;
};

// Shows a dialog modally. Returns the dialog's result (QDialog::Accepted or
// QDialog::Rejected, or the value passed to done()).
class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;
    virtual int exec(QDialog &dialog) = 0;
};

class SystemBeep {
public:
    virtual ~SystemBeep() = default;
    // kind is the value the program would pass to the system's message
    // beep (16777215 for the plain beep); the real beep ignores it.
    virtual void beep(unsigned kind) = 0;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts program with arguments and returns at once. False when it
    // could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // Starts a whole command line: the program and its arguments are split
    // the way the system splits command lines (splitCommandLine). False for
    // an empty line or a program that could not be started.
    virtual bool execute(const QString &commandLine) = 0;
    // Opens a document or folder (a path, or a URL such as
    // "file:///x/help.html#topic") with the desktop's handler for it.
    virtual bool openDocument(const QString &pathOrUrl) = 0;
};

// Non-owning pointers to one implementation of each seam.
struct Seams {
    MessageBoxes *messages = nullptr;
    FileDialogs *fileDialogs = nullptr;
    ColorDialogs *colorDialogs = nullptr;
    ModalDialogs *modal = nullptr;
    SystemBeep *beep = nullptr;
    ProcessStarter *processes = nullptr;
};

// The real implementations, alive for the whole program.
const Seams &standardSeams();

// A command line split into its program and arguments: blanks separate,
// double quotes group (and are dropped). Empty for an empty line.
QStringList splitCommandLine(const QString &commandLine);

// Shorthands over seams.messages.
void showError(const Seams &seams, QWidget *parent, const QString &text);
void showInformation(const Seams &seams, QWidget *parent, const QString &text);
// Yes and No; true for Yes.
bool askYesNo(const Seams &seams, QWidget *parent, const QString &text, MsgDlgType type = MsgDlgType::Confirmation);
// Yes, No and Cancel; the button pressed.
QMessageBox::StandardButton askYesNoCancel(const Seams &seams, QWidget *parent, const QString &text);

} // namespace wharf
