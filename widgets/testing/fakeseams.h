#pragma once
// Test doubles of every seam (seams.h). A FakeSeams object bundles one of
// each; pass `fake.seams()` wherever a window or component takes Seams.
// Each fake records what it was asked and answers from what the test set up,
// so no test runs a modal loop.

#include "qtprinters.h"
#include "seams.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace wharf::testing {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        MsgDlgType type;
        QString caption; // showMessage only
        QString text;
        QMessageBox::StandardButtons buttons;
        QWidget *parent = nullptr; // the window the box belongs to
    };
    // Answers are used in order; when none is left, the default button (or
    // OK) is the answer.
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<Shown> shown;

    QMessageBox::StandardButton messageDlg(QWidget *parent, MsgDlgType type, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    void showMessage(QWidget *parent, const QString &caption, const QString &text) override;
};

class FakeFileDialogs final : public FileDialogs {
public:
    std::vector<FileDialogRequest> requests;
    // Results in order; when none is left, a cancelled dialog.
    std::deque<FileDialogResult> results;
    FileDialogResult run(QWidget *parent, const FileDialogRequest &request) override;
};

class FakeColorDialogs final : public ColorDialogs {
public:
    std::vector<ColorDialogRequest> requests;
    std::deque<ColorDialogResult> results;
    ColorDialogResult run(QWidget *parent, const ColorDialogRequest &request) override;
};

class FakeModalDialogs final : public ModalDialogs {
public:
    // Called instead of the modal loop: change the dialog's controls as the
    // author would and return its result. Without a handler: Rejected.
    std::function<int(QDialog &)> handler;
    std::vector<QString> shown; // object names of the dialogs shown
    int exec(QDialog &dialog) override;
};

class FakeSystemBeep final : public SystemBeep {
public:
    std::vector<unsigned> beeps;
    void beep(unsigned kind) override { beeps.push_back(kind); }
};

class FakeProcessStarter final : public ProcessStarter {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };
    std::vector<Started> started;   // startDetached and execute
    std::vector<QString> commandLines; // execute
    std::vector<QString> documents;  // openDocument
    bool succeed = true;             // what every call returns

    bool startDetached(const QString &program, const QStringList &arguments) override;
    bool execute(const QString &commandLine) override;
    bool openDocument(const QString &pathOrUrl) override;
};

struct FakeSeams {
    FakeMessageBoxes messages;
    FakeFileDialogs fileDialogs;
    FakeColorDialogs colorDialogs;
    FakeModalDialogs modal;
    FakeSystemBeep beep;
    FakeProcessStarter processes;

    FakeSeams() = default;
    FakeSeams(const FakeSeams &) = delete;
    FakeSeams &operator=(const FakeSeams &) = delete;

    // Valid as long as this object lives.
    const Seams &seams() const { return m_seams; }

private:
    Seams m_seams{&messages, &fileDialogs, &colorDialogs, &modal, &beep, &processes};
};

} // namespace wharf::testing
