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
        if (buttons & QMessageBox::Cancel) {
            print(batchMessageText(text, QStringLiteral("Cancel")));
            return QMessageBox::Cancel;
        }
        if (buttons & QMessageBox::No) {
            print(batchMessageText(text, QStringLiteral("No")));
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

QString batchMessageText(const QString &text, const QString &answer)
{
    // Whoever reads the output learns what was decided in their place.
    if (answer.isEmpty())
        return text;
    return text + QStringLiteral("\nAnswered %1: a batch compile asks nobody.").arg(answer);
}

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
