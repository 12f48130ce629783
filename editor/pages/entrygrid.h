#pragma once
// The string grids of the entry pages (INI entries, external programs, DLL
// calls): whole-row selection, no editing in place, rows 15 pixels high,
// the given headers and column widths. The given widths are minimums: a
// column widens to its header and to every text put in it, in the font the
// grid draws with, so no text is cut. The pages refill the cells from the
// document; the grid holds no data of its own.

#include <QList>
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

protected:
    void changeEvent(QEvent *event) override;

private:
    // Widens column to its header and its cells (never below its minimum).
    void fitColumn(int column);
    void fitAll();
    // Widens column to text drawn in a cell.
    void fitText(int column, const QString &text);

    QList<int> m_minimumWidths;
};

} // namespace wharf
