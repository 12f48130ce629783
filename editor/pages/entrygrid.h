#pragma once
// The string grids of the entry pages (INI entries, external programs, DLL
// calls): whole-row selection, no editing in place, rows 15 pixels high,
// the given headers and column widths. No text is cut: a column is never
// narrower than its header and every text put in it, in the font the grid
// draws with. The given widths are kept where the grid has room for them;
// where it has not, the columns give up what they have beyond their texts,
// so every column stays in sight as long as the texts fit at all. The pages
// refill the cells from the document; the grid holds no data of its own.

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
    bool viewportEvent(QEvent *event) override;

private:
    // Measures every column's header and cells anew.
    void fitAll();
    // Widens the text width of column to text drawn in a cell.
    void fitText(int column, const QString &text);
    // Gives the columns their widths from the given widths, the text
    // widths and the room the grid has.
    void arrange();

    QList<int> m_givenWidths;
    QList<int> m_textWidths;
};

} // namespace wharf
