#include "entrygrid.h"

#include "drawutils.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

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
    horizontalHeader()->setHighlightSections(false);
    m_minimumWidths = QList<int>(widths);
    m_minimumWidths.resize(columnCount());
    fitAll();
}

void TEntryGrid::fitAll()
{
    verticalHeader()->setDefaultSectionSize(std::max(15, fontMetrics().height() + 2));
    for (int column = 0; column < columnCount(); ++column) {
        setColumnWidth(column, m_minimumWidths[column]);
        fitColumn(column);
    }
}

void TEntryGrid::fitColumn(int column)
{
    if (const QTableWidgetItem *header = horizontalHeaderItem(column)) {
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
        const int needed = TextWidth(horizontalHeader()->font(), header->text()) + 2 * margin;
        if (needed > columnWidth(column))
            setColumnWidth(column, needed);
    }
    for (int row = 0; row < rowCount(); ++row)
        fitText(column, cell(row, column));
}

void TEntryGrid::fitText(int column, const QString &text)
{
    if (text.isEmpty() || column < 0 || column >= columnCount())
        return;
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int gridLine = showGrid() ? 1 : 0;
    const int needed = TextWidth(font(), text) + margin + gridLine;
    if (needed > columnWidth(column))
        setColumnWidth(column, needed);
}

void TEntryGrid::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitAll();
}

void TEntryGrid::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *existing = item(row, column))
        existing->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
    fitText(column, text);
}

QString TEntryGrid::cell(int row, int column) const
{
    const QTableWidgetItem *existing = item(row, column);
    return existing ? existing->text() : QString();
}

} // namespace wharf
