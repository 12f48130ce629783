#pragma once
// TWarningForm: the question before a compile that the output folder's
// files will be deleted, with the check box that turns the question off.
// Created for each compile that asks it and freed afterwards.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace wharf {

struct ShellState;

class TWarningForm : public QDialog {
    Q_OBJECT
public:
    // shell receives ShowCompileWarning when the window closes; it must
    // outlive the window.
    explicit TWarningForm(ShellState &shell, QWidget *parent = nullptr);

    QLabel *I_Logo;
    QLabel *L_Text;
    QCheckBox *Ch_ShowAgain;
    QPushButton *B_Yes;
    QPushButton *B_No;

    // The dialog's results for Yes and No.
    enum Result { ResultNo = 0, ResultYes = 1 };

    // ShowCompileWarning takes the check box's state, however the window
    // was closed.
    void FormClose();

    void done(int result) override;

private:
    ShellState &m_shell;
};

} // namespace wharf
