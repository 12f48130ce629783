#include "fakeseams.h"

namespace wharf::testing {

QMessageBox::StandardButton FakeMessageBoxes::messageDlg(QWidget *parent, MsgDlgType type, const QString &text,
                                                         QMessageBox::StandardButtons buttons,
                                                         QMessageBox::StandardButton defaultButton)
{
    shown.push_back(Shown{type, {}, text, buttons, parent});
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;
}

void FakeMessageBoxes::showMessage(QWidget *parent, const QString &caption, const QString &text)
{
    shown.push_back(Shown{MsgDlgType::Error, caption, text, QMessageBox::Ok, parent});
}

FileDialogResult FakeFileDialogs::run(QWidget *, const FileDialogRequest &request)
{
    requests.push_back(request);
    if (results.empty())
        return {};
    FileDialogResult result = results.front();
    results.pop_front();
    return result;
}

ColorDialogResult FakeColorDialogs::run(QWidget *, const ColorDialogRequest &request)
{
    requests.push_back(request);
    if (results.empty())
        return ColorDialogResult{false, request.initial, request.customColors};
    ColorDialogResult result = results.front();
    results.pop_front();
    return result;
}

int FakeModalDialogs::exec(QDialog &dialog)
{
    shown.push_back(dialog.objectName());
    return handler ? handler(dialog) : QDialog::Rejected;
}

bool FakeProcessStarter::startDetached(const QString &program, const QStringList &arguments)
{
    started.push_back(Started{program, arguments});
    return succeed;
}

bool FakeProcessStarter::execute(const QString &commandLine)
{
    commandLines.push_back(commandLine);
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    started.push_back(Started{program, parts});
    return succeed;
}

bool FakeProcessStarter::openDocument(const QString &pathOrUrl)
{
    documents.push_back(pathOrUrl);
    return succeed;
}

} // namespace wharf::testing
