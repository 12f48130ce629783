#pragma once
// TCompileForm: the window "Compiler messages" that a compile shows beside
// the main window (non-modal, on top): the compiler's lines (errors bold
// red), the overall and the step progress, and one button that cancels the
// running compile ("&Cancel") and closes the window once it has ended
// ("OK"). Created once at start; the main window stays disabled while the
// window shows, and hiding it enables the main window again.

#include <QDialog>

#include <functional>

class QProgressBar;
class QPushButton;
class QTextEdit;

namespace wharf {

struct ShellState;

class TCompileForm : public QDialog {
    Q_OBJECT
public:
    // shell holds CompileCancelled; mainWindow is enabled again when the
    // window hides. Both must outlive the window.
    TCompileForm(ShellState &shell, QWidget *mainWindow, QWidget *parent = nullptr);

    QTextEdit *RE_CompileMessages;
    QProgressBar *PB_CompProc;
    QProgressBar *PB_Minor;
    QPushButton *B_OK;

    static const QString kCancelCaption;   // "&Cancel"
    static const QString kOKCaption;       // "OK"
    static const QString kStoppingCaption; // "Stopping...", shown from the cancel to the compile's end

    // Appends text as a new line: bold pure red for an error line, regular
    // black otherwise. A window that holds too much text already is
    // cleared first, so the line always shows.
    void AddLine(const QString &text, bool error);
    // Empties the messages; the next line is regular black.
    void ClearMessages();
    // The lines shown, in order.
    QStringList lines() const;

    // Cancel while the compile runs: the button says "Stopping..." at once
    // and stays disabled until the compile returns. Close the window
    // otherwise; never while the compile runs.
    void B_OKClick();
    // Enables the main window, and whatever OnHide enables besides.
    void FormHide();
    // Called when the window is hidden (closed by the author), after the
    // main window is enabled.
    std::function<void()> OnHide;

    // Set while the compiler runs: Escape and the close box then cancel
    // the compile instead of closing the window.
    void setCompiling(bool compiling) { m_compiling = compiling; }
    bool compiling() const { return m_compiling; }

    void reject() override;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    // Marks the compile cancelled and says so on the button.
    void cancelCompile();

    ShellState &m_shell;
    QWidget *m_mainWindow;
    bool m_compiling = false;
    // Lines shown since the last clear: an empty document may already hold
    // one blank line.
    int m_lineCount = 0;
};

} // namespace wharf
