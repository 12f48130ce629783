#pragma once
// Small conversions the pages share between document fields (UTF-8
// std::string, ProjectFont) and their controls.

#include "buttonedits.h"
#include "fonts.h"
#include "records.h"

#include <QFont>
#include <QListWidget>
#include <QString>

#include <string>
#include <vector>

namespace wharf {

inline QString qs(const std::string &text) { return QString::fromStdString(text); }
inline std::string ss(const QString &text) { return text.toStdString(); }

// Shows a stored path in a file-name edit. A path the edit refuses as a
// file name (a stored project may hold anything) is shown as plain text,
// so the document's value is neither lost nor rejected.
inline void showFileName(TFilenameEdit *edit, const std::string &path)
{
    try {
        edit->SetFileName(qs(path));
    } catch (const EButtonEditError &) {
        edit->setText(qs(path));
    }
}

inline QFont toQFont(const ProjectFont &font) { return storedFont(qs(font.Name), font.Size, font.Style); }

// The face, size and style of font into stored; the colour stays (a QFont
// has none).
inline void takeFont(ProjectFont &stored, const QFont &font)
{
    stored.Name = ss(font.family());
    stored.Size = font.pointSize() > 0 ? font.pointSize() : stored.Size;
    stored.Style = fontStyleBits(font);
}

// Refills list with items, keeping the row selected (when it still exists).
inline void fillList(QListWidget *list, const std::vector<std::string> &items, int selected)
{
    list->clear();
    for (const std::string &item : items)
        list->addItem(qs(item));
    list->setCurrentRow(selected >= 0 && selected < list->count() ? selected : -1);
    if (list->currentRow() < 0) {
        list->clearSelection();
        // Said through the view, "nothing current" also keeps tabbing into
        // the list from making its first item current, which would let the
        // page's buttons act on an item the author never selected.
        list->setCurrentIndex(QModelIndex());
    }
}

} // namespace wharf
