#include "searchpathform.h"

#include "modulesearch.h"
#include "settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

const QString kEditorKey = QStringLiteral("Software\\Kelvra\\Brindlewharf 2.0");
const QString kValueName = QStringLiteral("DependencyPath");

} // namespace

std::vector<std::string> readDependencySearchPath(Settings &settings)
{
    std::vector<std::string> folders = ModuleSearchPath::defaultFolders();
    if (!settings.openKeyReadOnly(kEditorKey))
        return folders;
    try {
        if (settings.valueExists(kValueName))
            folders = ModuleSearchPath::parse(settings.readString(kValueName).toStdString());
    } catch (const ERegistryException &) {
        // A value of another type: the defaults stay.
    }
    settings.closeKey();
    return folders;
}

bool writeDependencySearchPath(Settings &settings, const std::vector<std::string> &folders)
{
    if (!settings.openKey(kEditorKey, true))
        return false;
    settings.writeString(kValueName, QString::fromStdString(ModuleSearchPath::format(folders)));
    return settings.closeKey();
}

TSearchPathForm::TSearchPathForm(QWidget *parent, const Seams &seams) : QDialog(parent), m_seams(&seams)
{
    setObjectName(QStringLiteral("SearchPathForm"));
    setWindowTitle(QStringLiteral("Search path for modules"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    L_Caption = new QLabel(QStringLiteral("Modules that do not lie beside the scanned file are searched for in "
                                          "these folders, one folder per line, in this order:"),
                           this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    L_Caption->setWordWrap(true);
    M_Folders = new QPlainTextEdit(this);
    M_Folders->setObjectName(QStringLiteral("M_Folders"));
    M_Folders->setLineWrapMode(QPlainTextEdit::NoWrap);
    M_Folders->setMinimumSize(420, 140);
    B_AddFolder = new QPushButton(QStringLiteral("&Add folder..."), this);
    B_AddFolder->setObjectName(QStringLiteral("B_AddFolder"));
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));
    connect(B_AddFolder, &QPushButton::clicked, this, &TSearchPathForm::B_AddFolderClick);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_AddFolder);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Caption);
    layout->addWidget(M_Folders);
    layout->addLayout(buttons);
}

void TSearchPathForm::setFolders(const std::vector<std::string> &folders)
{
    QStringList lines;
    for (const std::string &folder : folders)
        lines << QString::fromStdString(folder);
    M_Folders->setPlainText(lines.join(u'\n'));
}

std::vector<std::string> TSearchPathForm::folders() const
{
    return ModuleSearchPath::parse(M_Folders->toPlainText().toStdString());
}

void TSearchPathForm::B_AddFolderClick()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Folder;
    request.title = QStringLiteral("Add a folder to the search path");
    const FileDialogResult result = m_seams->fileDialogs->run(this, request);
    if (!result.accepted || result.files.isEmpty() || result.files.front().isEmpty())
        return;
    QString text = M_Folders->toPlainText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    M_Folders->setPlainText(text + result.files.front());
}

int TSearchPathForm::ShowModal() { return m_seams->modal->exec(*this); }

} // namespace wharf
