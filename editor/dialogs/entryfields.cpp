#include "entryfields.h"

#include <QComboBox>
#include <QLineEdit>

namespace wharf {

QString emptyMarkerText() { return QString::fromLatin1(kEmpty.data(), static_cast<qsizetype>(kEmpty.size())); }

std::string textOrEmptyMarker(QLineEdit *box)
{
    if (box->text().isEmpty())
        box->setText(emptyMarkerText());
    return box->text().toStdString();
}

std::string textOrEmptyMarker(QComboBox *box)
{
    if (box->currentText().isEmpty())
        box->setEditText(emptyMarkerText());
    return box->currentText().toStdString();
}

QStringList projectDestinations(const Project &project)
{
    QStringList destinations;
    for (const GroupEntry &group : project.Groups)
        for (const FileEntry &file : group.Files)
            destinations << QString::fromStdString(file.Destination);
    return destinations;
}

QString yesText() { return QStringLiteral("Yes"); }
QString noText() { return QStringLiteral("No"); }

} // namespace wharf
