#pragma once
// The string grids of the entry pages (INI entries, external programs, DLL
// calls): whole-row selection, no editing in place, rows 15 pixels high,
// the given headers and column widths. The pages refill the cells from the
// document; the grid holds no data of its own.

#include <QStringList>
#include <QTableWidget>

#include <initializer_list>

namespace wharf {

class TEntryGrid : public QTableWidget {
    Q_OBJECT
public:
    TEntryGrid(const QString &objectName, const QStringList &headers, std::initializer_list<int> widths,
               QWidget *parent = nullptr);

    // Sets the text of one cell, creating its item when needed.
    void setCell(int row, int column, const QString &text);
    // The text of a cell; empty for a cell without item.
    QString cell(int row, int column) const;
};

} // namespace wharf
