#include "seams.h"

#include "drawutils.h"
#include "paths.h"
#include "process.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace wharf {
namespace {

QString captionFor(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning: return QStringLiteral("Warning");
    case MsgDlgType::Error: return QStringLiteral("Error");
    case MsgDlgType::Information: return QStringLiteral("Information");
    case MsgDlgType::Confirmation: return QStringLiteral("Confirm");
    }
    return {};
}

QMessageBox::Icon iconFor(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning: return QMessageBox::Warning;
    case MsgDlgType::Error: return QMessageBox::Critical;
    case MsgDlgType::Information: return QMessageBox::Information;
    case MsgDlgType::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

class RealMessageBoxes final : public MessageBoxes {
public:
    QMessageBox::StandardButton messageDlg(QWidget *parent, MsgDlgType type, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override
    {
        const std::unique_ptr<QMessageBox> box = createMessageBox(parent, type, text, buttons, defaultButton);
        return static_cast<QMessageBox::StandardButton>(box->exec());
    }

    void showMessage(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }
};

// A dialog path as this system names it ("\\" as a separator).
QString nativePath(const QString &path) { return QString::fromStdString(toNativePath(path.toStdString())); }

// Widens a dialog, as it is shown, by what its file list lacks of the
// width its columns need; then goes.
class WidenOnShow final : public QObject {
public:
    WidenOnShow(QDialog &dialog, QAbstractScrollArea &list, int needed)
        : QObject(&dialog), m_dialog(dialog), m_list(list), m_needed(needed)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_dialog && event->type() == QEvent::Show) {
            const int missing = m_needed - m_list.viewport()->width();
            if (missing > 0) {
                int grow = missing;
                if (const QScreen *screen = m_dialog.screen())
                    grow = std::min(grow, screen->availableGeometry().width() - m_dialog.frameGeometry().width());
                grow = std::max(grow, 0);
                m_dialog.resize(m_dialog.width() + grow, m_dialog.height());
                // On a screen too narrow for that, the names give up room
                // (down to their title's) so the other columns stay in sight.
                if (QHeaderView *header = m_list.findChild<QHeaderView *>(); header && grow < missing) {
                    const int name = header->sectionSize(0) - (missing - grow);
                    header->resizeSection(0, std::max(header->sectionSizeHint(0), name));
                }
            }
            deleteLater();
        }
        return false;
    }

private:
    QDialog &m_dialog;
    QAbstractScrollArea &m_list;
    int m_needed;
};

class RealFileDialogs final : public FileDialogs {
public:
    FileDialogResult run(QWidget *parent, const FileDialogRequest &request) override
    {
        using Kind = FileDialogRequest::Kind;
        QFileDialog dialog(parent, request.title, fileDialogStartFolder(request, m_lastFolder, userDocumentsFolder()),
                           request.filter);
        switch (request.kind) {
        case Kind::Open: dialog.setFileMode(QFileDialog::ExistingFile); break;
        case Kind::OpenMany: dialog.setFileMode(QFileDialog::ExistingFiles); break;
        case Kind::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
            break;
        case Kind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly, true);
            break;
        }
        const QStringList filters = dialog.nameFilters();
        if (request.filterIndex >= 0 && request.filterIndex < filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex));
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (!request.defaultExt.isEmpty())
            dialog.setDefaultSuffix(request.defaultExt);
        fitFileDialog(dialog);

        FileDialogResult result;
        result.filterIndex = request.filterIndex;
        if (dialog.exec() != QDialog::Accepted)
            return result;
        result.accepted = true;
        result.files = dialog.selectedFiles();
        result.filterIndex = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
        if (!result.files.isEmpty())
            m_lastFolder = request.kind == Kind::Folder ? result.files.front()
                                                        : QFileInfo(result.files.front()).absolutePath();
        return result;
    }

private:
    // Where the author last chose a file: the next dialog without a path
    // of its own starts there.
    QString m_lastFolder;
};

class RealColorDialogs final : public ColorDialogs {
public:
    ColorDialogResult run(QWidget *parent, const ColorDialogRequest &request) override
    {
        const int presets = std::min<int>(QColorDialog::customCount(), static_cast<int>(request.customColors.size()));
        for (int i = 0; i < presets; ++i)
            QColorDialog::setCustomColor(i, request.customColors.at(i));
        QColorDialog dialog(request.initial, parent);
        ColorDialogResult result;
        result.accepted = dialog.exec() == QDialog::Accepted;
        result.color = result.accepted ? dialog.selectedColor() : request.initial;
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            result.customColors << QColorDialog::customColor(i);
        return result;
    }
};

class RealModalDialogs final : public ModalDialogs {
public:
    int exec(QDialog &dialog) override { return dialog.exec(); }
};

class RealSystemBeep final : public SystemBeep {
public:
    void beep(unsigned) override { QApplication::beep(); }
};

class RealProcessStarter final : public ProcessStarter {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        std::string path = toNativePath(program.toStdString());
        // A bare program name is looked up on the search path, as the
        // system's own start call does.
        if (!path.empty() && path.find('/') == std::string::npos) {
            const QString found = QStandardPaths::findExecutable(QString::fromStdString(path));
            if (!found.isEmpty())
                path = found.toStdString();
        }
        std::vector<std::string> args;
        for (const QString &a : arguments)
            args.push_back(a.toStdString());
        return wharf::startDetached(path, args);
    }

    bool execute(const QString &commandLine) override
    {
        QStringList parts = splitCommandLine(commandLine);
        if (parts.isEmpty())
            return false;
        const QString program = parts.takeFirst();
        return startDetached(program, parts);
    }

    bool openDocument(const QString &pathOrUrl) override
    {
        const QUrl url(pathOrUrl);
        // A drive letter parses as a one-letter scheme: that is a path too.
        if (url.scheme().size() > 1)
            return QDesktopServices::openUrl(url);
        return QDesktopServices::openUrl(
            QUrl::fromLocalFile(QString::fromStdString(toNativePath(pathOrUrl.toStdString()))));
    }
};

} // namespace

std::unique_ptr<QMessageBox> createMessageBox(QWidget *parent, MsgDlgType type, const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    auto box = std::make_unique<QMessageBox>(iconFor(type), captionFor(type), text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    return box;
}

QString userDocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString fileDialogStartFolder(const FileDialogRequest &request, const QString &lastFolder,
                              const QString &documentsFolder)
{
    const auto isFolder = [](const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); };
    if (const QString initial = nativePath(request.initialDir); isFolder(initial))
        return initial;
    // A preset name such as "*.ddf" or "readme.rtf" has no folder of its own.
    if (const QString name = nativePath(request.fileName); name.contains(u'/')) {
        if (const QString folder = QFileInfo(name).path(); isFolder(folder))
            return folder;
    }
    if (isFolder(lastFolder))
        return lastFolder;
    return documentsFolder;
}

void fitFileDialog(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view)
        return;
    QHeaderView *header = view->header();
    const QFontMetrics metrics(view->font());
    const int room = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
                     2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 8;
    // What the columns after the name show at their widest, as the file
    // list writes it in this locale.
    const QLocale locale;
    const QString samples[] = {
        QString(),
        locale.formattedDataSize(Q_INT64_C(1023) * 1024 * 1024 - 1),
        QStringLiteral("DOS/Windows executable"), // the type of what a setup mostly holds
        locale.toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat),
    };
    int needed = 0;
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        int width = header->sectionSizeHint(section);
        if (section < static_cast<int>(std::size(samples)))
            width = std::max(width, metrics.horizontalAdvance(samples[section]) + room);
        // The name keeps the room the dialog gives it.
        if (section == 0)
            width = std::max(width, header->sectionSize(section));
        header->resizeSection(section, width);
        needed += width;
    }
    // Width the dialog gains goes to the file list, not to the places
    // beside it.
    if (auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter")); splitter && splitter->count() == 2) {
        splitter->setStretchFactor(0, 0);
        splitter->setStretchFactor(1, 1);
    }
    // The list's width is known once the dialog is laid out for showing.
    new WidenOnShow(dialog, *view, needed + view->verticalScrollBar()->sizeHint().width());
}

const Seams &standardSeams()
{
    static RealMessageBoxes messages;
    static RealFileDialogs fileDialogs;
    static RealColorDialogs colorDialogs;
    static RealModalDialogs modal;
    static RealSystemBeep beep;
    static RealProcessStarter processes;
    static const Seams seams{&messages, &fileDialogs, &colorDialogs, &modal, &beep, &processes};
    return seams;
}

QStringList splitCommandLine(const QString &commandLine)
{
    QStringList parts;
    qsizetype position = 0;
    for (QString token = NextCommandLineToken(commandLine, position); !token.isEmpty();
         token = NextCommandLineToken(commandLine, position))
        parts << token;
    return parts;
}

void showError(const Seams &seams, QWidget *parent, const QString &text)
{
    seams.messages->messageDlg(parent, MsgDlgType::Error, text, QMessageBox::Ok, QMessageBox::Ok);
}

void showInformation(const Seams &seams, QWidget *parent, const QString &text)
{
    seams.messages->messageDlg(parent, MsgDlgType::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool askYesNo(const Seams &seams, QWidget *parent, const QString &text, MsgDlgType type)
{
    return seams.messages->messageDlg(parent, type, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

QMessageBox::StandardButton askYesNoCancel(const Seams &seams, QWidget *parent, const QString &text)
{
    return seams.messages->messageDlg(parent, MsgDlgType::Confirmation, text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

} // namespace wharf
