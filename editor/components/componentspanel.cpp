#include "componentspanel.h"

#include "files.h"
#include "inistore.h"
#include "paths.h"
#include "projectcontroller.h"
#include "userdirs.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kIconSize = 32;
const QString kSaveFirst = QStringLiteral("Errors in component libraries can cause a data loss. Do you want to save "
                                          "the current file before adding/editing the component?");

QIcon iconFrom(const std::vector<uint8_t> &bytes)
{
    QPixmap pixmap;
    if (bytes.empty() ||
        !pixmap.loadFromData(bytes.data(), static_cast<unsigned>(bytes.size())) || pixmap.isNull())
        return QIcon(unknownComponentIcon());
    if (pixmap.size() != QSize(kIconSize, kIconSize))
        pixmap = pixmap.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QIcon(pixmap);
}

// True when the file at path reads as a project file the reader
// recognises, so that reading it back cannot ask to give up the project.
bool isReadableProject(const std::string &path)
{
    const std::optional<std::string> bytes = readFile(path);
    if (!bytes)
        return false;
    TMemIniStore ini("");
    ini.LoadFromBytes(*bytes);
    const std::string version = ini.ReadString("Temporary", "EditorVersion", "");
    return version == "2.0" || version == "2" || version == "1.0";
}

} // namespace

QPixmap unknownComponentIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(96, 96, 96), 1.5));
    painter.setBrush(QColor(224, 224, 224));
    painter.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 5, 5);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(QRect(0, 0, kIconSize, kIconSize), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

ComponentsPanel::ComponentsPanel(QWidget *parent, ProjectController &controller, const Seams &seams)
    : QWidget(parent), m_controller(&controller), m_seams(&seams)
{
    setObjectName(QStringLiteral("ComponentsPanel"));
    L_Components = new QLabel(QStringLiteral("The following components are available on your system:"), this);
    L_Components->setObjectName(QStringLiteral("L_Components"));
    LV_Components = new QListWidget(this);
    LV_Components->setObjectName(QStringLiteral("LV_Components"));
    LV_Components->setViewMode(QListView::IconMode);
    LV_Components->setIconSize(QSize(kIconSize, kIconSize));
    LV_Components->setMovement(QListView::Static);
    LV_Components->setResizeMode(QListView::Adjust);
    LV_Components->setWordWrap(true);
    LV_Components->setGridSize(QSize(110, 72));
    LV_Components->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV_Components->setSelectionMode(QAbstractItemView::SingleSelection);
    B_AddComp = new QPushButton(QStringLiteral("&Add/Edit component"), this);
    B_AddComp->setObjectName(QStringLiteral("B_AddComp"));
    B_AddComp->setEnabled(false);

    connect(LV_Components, &QListWidget::itemSelectionChanged, this, &ComponentsPanel::LV_ComponentsClick);
    connect(LV_Components, &QListWidget::itemDoubleClicked, this, [this] { B_AddCompClick(); });
    connect(B_AddComp, &QPushButton::clicked, this, &ComponentsPanel::B_AddCompClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_AddComp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Components);
    layout->addWidget(LV_Components);
    layout->addLayout(buttons);
}

void ComponentsPanel::Scan(const QString &programFolder, QStringList *ownFileList)
{
    m_componentsFolder = QString::fromStdString(joinPath(programFolder.toStdString(), "Components"));
    for (const ComponentEntry &entry : scanComponents(m_componentsFolder.toStdString())) {
        PluginFiles << QString::fromStdString(entry.fileName);
        if (ownFileList)
            *ownFileList << QString::fromStdString(entry.fullPath);
        IL_CompImages.push_back(iconFrom(entry.iconBytes));
        PluginInfos << QString::fromStdString(entry.info);
        auto *item = new QListWidgetItem(IL_CompImages.back(), QString::fromStdString(entry.name), LV_Components);
        item->setToolTip(PluginInfos.back());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    LV_ComponentsClick();
}

void ComponentsPanel::LV_ComponentsClick()
{
    const bool selected = !LV_Components->selectedItems().isEmpty();
    B_AddComp->setEnabled(selected);
    emit addComponentEnabled(selected);
}

QString ComponentsPanel::LV_ComponentsInfoTip(int index) const
{
    return index >= 0 && index < PluginInfos.size() ? PluginInfos.at(index) : QString();
}

void ComponentsPanel::B_AddCompClick()
{
    ProjectController &controller = *m_controller;
    if (controller.ProjectModified()) {
        const QMessageBox::StandardButton answer = m_seams->messages->messageDlg(
            this, MsgDlgType::Warning, kSaveFirst, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Yes);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No)
            return;
        if (answer == QMessageBox::Yes) {
            try {
                // The author asked for a safe copy first: without it, stop.
                if (!controller.SaveProject(controller.ProjectFileName()))
                    return;
            } catch (const std::exception &e) {
                showError(*m_seams, this, QString::fromStdString(e.what()));
                return;
            }
        }
    }
    const bool wasModified = controller.ProjectModified();

    const QList<QListWidgetItem *> selected = LV_Components->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = LV_Components->row(selected.front());
    if (index < 0 || index >= PluginFiles.size())
        return;
    const ComponentLibrary library(joinPath(m_componentsFolder.toStdString(), PluginFiles.at(index).toStdString()));
    if (!library.loaded() || !library.hasAddComponent())
        return;

    const QString component = selected.front()->text();
    try {
        // The copy lies in a private folder of this run (owner only), which
        // goes with its contents when the plug-in is done.
        const ScratchFolder scratch(userRuntimeFolder(), "wharfwright");
        const std::string copy = scratch.file("wftemp.tmp");
        controller.SaveProject(copy);
        const bool changed = library.addComponent(copy);
        if (changed && reloadScratchCopy(copy, component))
            controller.SetModified(true);
        else
            controller.SetModified(wasModified);
    } catch (const std::exception &e) {
        controller.SetModified(wasModified);
        showError(*m_seams, this, QString::fromStdString(e.what()));
    }
}

bool ComponentsPanel::reloadScratchCopy(const std::string &path, const QString &component)
{
    if (!isReadableProject(path)) {
        showError(*m_seams, this,
                  QStringLiteral("The component \"%1\" reported a change, but its copy of the project (%2) is "
                                 "missing or is no project file that can be read. The project was left as it was.")
                      .arg(component, QString::fromStdString(path)));
        return false;
    }
    m_controller->LoadProject(path);
    return true;
}

} // namespace wharf
