#pragma once
// The controls of the editor's page "Components": the component plug-ins found in the
// program folder's "Components" at start-up, each with its icon, name and
// info tip, and the button that lets the chosen plug-in add itself to the
// project or edit what it added. The plug-in edits a saved copy of the
// project, which is read back when it reports a change.

#include "componentlibrary.h"
#include "seams.h"

#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace wharf {

class ProjectController;

// The editor's own stand-in icon "UNKNOWN" (32 by 32 pixels), for plug-ins
// without an icon of their own.
QPixmap unknownComponentIcon();

class ComponentsPanel : public QWidget {
    Q_OBJECT
public:
    // controller: the open project; seams: the save question and messages.
    // Both must outlive the page.
    ComponentsPanel(QWidget *parent, ProjectController &controller, const Seams &seams = standardSeams());

    QLabel *L_Components;
    QListWidget *LV_Components; // large icons, one item per plug-in file
    QPushButton *B_AddComp;

    // The plug-ins' file names (without folder) and info texts; index i
    // belongs to item i.
    QStringList PluginFiles;
    QStringList PluginInfos;
    // The icons of the items, 32 by 32 pixels, in item order.
    std::vector<QIcon> IL_CompImages;

    // The scan of start-up: lists every "*.wfc" of programFolder's
    // "Components", sorted by file name, and appends each one's full path to
    // ownFileList (when given) for the version window. Runs once.
    void Scan(const QString &programFolder, QStringList *ownFileList = nullptr);

    // B_AddComp is enabled exactly when an item is selected; tells
    // addComponentEnabled, to which the navigation button OB_AddComponent
    // binds its visibility.
    void LV_ComponentsClick();

    // The tip of the item at index: its info text.
    QString LV_ComponentsInfoTip(int index) const;

    // Lets the selected plug-in add or edit its component (B_AddComp,
    // OB_AddComponent and a double click on the list run this).
    void B_AddCompClick();

signals:
    void addComponentEnabled(bool enabled);

private:
    bool reloadScratchCopy(const std::string &path, const QString &component);

    ProjectController *m_controller;
    const Seams *m_seams;
    QString m_componentsFolder;
};

} // namespace wharf
