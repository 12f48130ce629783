#include "dumpform.h"

#include "codec.h"
#include "paths.h"
#include "projectpaths.h"
#include "searchpathform.h"
#include "settings.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

TDumpForm::TDumpForm(QWidget *parent, const Seams &seams, const QString &programFolder,
                     std::unique_ptr<Settings> settings)
    : QDialog(parent), m_seams(&seams), m_settings(std::move(settings))
{
    setObjectName(QStringLiteral("DumpForm"));
    setWindowTitle(QStringLiteral("File dependencies"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("helpContext", kHelpContext);

    L_Caption = new QLabel(QStringLiteral("The following modules are necessary to run the file(s):"), this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    L_Explanation = new QLabel(QStringLiteral("Check the boxes before the files you would like to add to your setup. "
                                              "If a file is already included in your setup, the box is grayed."),
                               this);
    L_Explanation->setObjectName(QStringLiteral("L_Explanation"));
    L_Explanation->setWordWrap(true);
    CLB_Dependencies = new QListWidget(this);
    CLB_Dependencies->setObjectName(QStringLiteral("CLB_Dependencies"));
    CLB_Dependencies->setMinimumSize(460, 200);
    B_SearchPath = new QPushButton(QStringLiteral("Search &path..."), this);
    B_SearchPath->setObjectName(QStringLiteral("B_SearchPath"));
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));
    connect(B_OK, &QPushButton::clicked, this, &TDumpForm::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_SearchPath, &QPushButton::clicked, this, &TDumpForm::B_SearchPathClick);
    connect(CLB_Dependencies, &QListWidget::itemChanged, this, &TDumpForm::itemChanged);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_SearchPath);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Caption);
    layout->addWidget(L_Explanation);
    layout->addWidget(CLB_Dependencies);
    layout->addLayout(buttons);

    // FormCreate.
    m_scanner.setSystemModules(SystemModules::load(joinPath(programFolder.toStdString(), "sysdlls.dat")));
    m_scanner.setSearchPath(ModuleSearchPath(m_settings ? readDependencySearchPath(*m_settings)
                                                        : ModuleSearchPath::defaultFolders()));
    m_scanner.setProcessMessages([] { QCoreApplication::processEvents(); });
}

TDumpForm::~TDumpForm() = default;

QString TDumpForm::lineText(const DependencyLine &line)
{
    if (line.found())
        return QString::fromStdString(line.path);
    return QStringLiteral("%1 (not found)").arg(QString::fromStdString(line.moduleName));
}

void TDumpForm::Clear()
{
    m_scanner.clear();
    m_scanned.clear();
    showLines();
}

bool TDumpForm::ReadImports(const std::string &path)
{
    const bool read = m_scanner.ReadImports(absolutePath(path));
    showLines();
    return read;
}

std::string TDumpForm::absolutePath(const std::string &path) const
{
    return m_host ? editor::ExpandRelativePath(path, m_host->projectFolder()) : path;
}

bool TDumpForm::inProject(const std::string &path) const
{
    if (!m_host)
        return false;
    const std::string folder = m_host->projectFolder();
    const std::string native = toNativePath(path);
    for (const std::string &caption : m_host->fileTreeCaptions()) {
        if (sameTextIgnoreCase(caption, path) || sameTextIgnoreCase(toNativePath(caption), native))
            return true;
        // A source kept relative to the project names the same file.
        if (!folder.empty() && sameTextIgnoreCase(toNativePath(editor::ExpandRelativePath(caption, folder)), native))
            return true;
    }
    return false;
}

void TDumpForm::ScanDependencies(const std::string &path)
{
    const std::string absolute = absolutePath(path);
    m_scanned.push_back(absolute);
    m_scanner.ScanDependencies(absolute, [this](const std::string &p) { return inProject(p); });
    showLines();
}

void TDumpForm::showLines()
{
    m_showing = true;
    CLB_Dependencies->clear();
    for (const DependencyLine &line : m_scanner.lines()) {
        auto *item = new QListWidgetItem(lineText(line), CLB_Dependencies);
        item->setData(kPathRole, QString::fromStdString(line.path));
        if (line.found()) {
            Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
            if (line.enabled)
                flags |= Qt::ItemIsEnabled;
            item->setFlags(flags);
            item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
        } else {
            // Nothing to add: no check box, and a tip that says where it was
            // looked for.
            item->setFlags(Qt::ItemIsEnabled);
            QFont italic = item->font();
            italic.setItalic(true);
            item->setFont(italic);
            item->setToolTip(QStringLiteral("The module was found neither beside the file that needs it nor "
                                            "in the folders of the search path."));
        }
    }
    m_showing = false;
}

void TDumpForm::itemChanged(QListWidgetItem *item)
{
    if (m_showing)
        return;
    const int row = CLB_Dependencies->row(item);
    std::vector<DependencyLine> &lines = m_scanner.lines();
    if (row >= 0 && static_cast<size_t>(row) < lines.size() && lines[row].found())
        lines[row].checked = item->checkState() == Qt::Checked;
}

int TDumpForm::ShowDependenciesIfNew()
{
    if (m_scanner.lines().empty() || !m_scanner.hasNewModules())
        return QDialog::Rejected;
    return ShowModal();
}

int TDumpForm::ShowModal() { return m_seams->modal->exec(*this); }

void TDumpForm::B_OKClick()
{
    if (m_host)
        for (const DependencyLine &line : m_scanner.chosenLines())
            m_host->AddFileEntry(line.path, systemDestination(line.path));
    accept();
}

void TDumpForm::B_SearchPathClick()
{
    TSearchPathForm form(this, *m_seams);
    form.setFolders(m_scanner.searchPath().folders());
    if (form.ShowModal() != QDialog::Accepted)
        return;
    const std::vector<std::string> folders = form.folders();
    m_scanner.setSearchPath(ModuleSearchPath(folders));
    if (m_settings && !writeDependencySearchPath(*m_settings, folders))
        showError(*m_seams, this, QStringLiteral("The search path could not be stored in the settings."));
    const std::vector<std::string> scanned = std::move(m_scanned);
    m_scanner.clear();
    m_scanned.clear();
    for (const std::string &path : scanned)
        ScanDependencies(path);
    showLines();
}

void TDumpForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace wharf
