#include "entrygrid.h"

#include <QHeaderView>

namespace wharf {

TEntryGrid::TEntryGrid(const QString &objectName, const QStringList &headers, std::initializer_list<int> widths,
                       QWidget *parent)
    : QTableWidget(0, static_cast<int>(headers.size()), parent)
{
    setObjectName(objectName);
    setHorizontalHeaderLabels(headers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(15);
    horizontalHeader()->setHighlightSections(false);
    int column = 0;
    for (int width : widths)
        setColumnWidth(column++, width);
}

void TEntryGrid::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *existing = item(row, column))
        existing->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

QString TEntryGrid::cell(int row, int column) const
{
    const QTableWidgetItem *existing = item(row, column);
    return existing ? existing->text() : QString();
}

} // namespace wharf
