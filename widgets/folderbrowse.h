#pragma once
// TFolderBrowse: a non-visual component that lets the author pick a folder
// (the desktop's folder dialog, showing folders only) and returns it.

#include "seams.h"

#include <QObject>
#include <QString>

class QWidget;

namespace wharf {

class TFolderBrowse : public QObject {
    Q_OBJECT
public:
    // seams.fileDialogs shows the picker; the seams must outlive the object.
    explicit TFolderBrowse(QObject *owner = nullptr, const Seams &seams = standardSeams());

    // The folder shown selected when the picker opens (none when empty),
    // and the chosen folder afterwards.
    QString Directory;
    // The text shown above the folder tree (the dialog's caption).
    QString Title;

    void setSeams(const Seams &seams) { m_seams = &seams; }

    // Shows the picker owned by owner. True when the author confirmed a
    // folder, which is then in Directory; false on cancel or when the
    // dialog gave no path, with Directory unchanged.
    bool Execute(QWidget *owner);

private:
    const Seams *m_seams;
};

} // namespace wharf
