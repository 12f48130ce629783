#include "batchseams.h"

#include <QDialog>

#include <cstdio>

namespace wharf {
namespace {

class BatchMessageBoxes final : public MessageBoxes {
public:
    QMessageBox::StandardButton messageDlg(QWidget *, MsgDlgType, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton) override
    {
        // Whoever reads the output learns what was decided in their place.
        if (buttons & QMessageBox::Cancel) {
            print(text + QStringLiteral("\nAnswered Cancel: a batch compile asks nobody."));
            return QMessageBox::Cancel;
        }
        if (buttons & QMessageBox::No) {
            print(text + QStringLiteral("\nAnswered No: a batch compile asks nobody."));
            return QMessageBox::No;
        }
        print(text);
        return QMessageBox::Ok;
    }

    void showMessage(QWidget *, const QString &, const QString &text) override { print(text); }

private:
    static void print(const QString &text)
    {
        std::fputs(text.toUtf8().constData(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
};

class BatchFileDialogs final : public FileDialogs {
public:
    FileDialogResult run(QWidget *, const FileDialogRequest &) override { return {}; }
};

class BatchColorDialogs final : public ColorDialogs {
public:
    ColorDialogResult run(QWidget *, const ColorDialogRequest &request) override
    {
        return ColorDialogResult{false, request.initial, request.customColors};
    }
};

class BatchModalDialogs final : public ModalDialogs {
public:
    int exec(QDialog &) override { return QDialog::Rejected; }
};

} // namespace

const Seams &batchSeams()
{
    static BatchMessageBoxes messages;
    static BatchFileDialogs fileDialogs;
    static BatchColorDialogs colorDialogs;
    static BatchModalDialogs modal;
    static const Seams seams{&messages, &fileDialogs, &colorDialogs, &modal, standardSeams().beep,
                             standardSeams().processes};
    return seams;
}

} // namespace wharf
