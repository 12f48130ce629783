#include "entryfields.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QLineEdit>

#include "codec.h"
#include "seams.h"

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

QString firstUnstorableCharacter(const QString &text)
{
    if (fitsWindows1252(text.toStdString()))
        return {};
    // A character outside the basic plane is two code units: it goes whole.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!fitsWindows1252(character.toStdString()))
            return character;
        i += length - 1;
    }
    return text;
}

bool refuseUnstorableText(const Seams &seams, QWidget *dialog, std::initializer_list<QWidget *> boxes)
{
    for (QWidget *box : boxes) {
        QString text;
        if (const auto *line = qobject_cast<QLineEdit *>(box))
            text = line->text();
        else if (const auto *combo = qobject_cast<QComboBox *>(box))
            text = combo->currentText();
        else if (const auto *plain = qobject_cast<QPlainTextEdit *>(box))
            text = plain->toPlainText();
        else
            continue;
        const QString odd = firstUnstorableCharacter(text);
        if (odd.isEmpty())
            continue;
        box->setFocus();
        showError(seams, dialog,
                  QStringLiteral("The text \"%1\" holds the character \"%2\", which a Brindlewharf file cannot "
                                 "store. Please change the text.")
                      .arg(text, odd));
        return false;
    }
    return true;
}

} // namespace wharf
