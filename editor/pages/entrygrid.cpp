#include "entrygrid.h"

#include "drawutils.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <numeric>

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
    m_givenWidths = QList<int>(widths);
    m_givenWidths.resize(columnCount());
    // A narrow marker column stays as narrow as it is given.
    horizontalHeader()->setMinimumSectionSize(
        std::max(1, *std::min_element(m_givenWidths.begin(), m_givenWidths.end())));
    fitAll();
}

void TEntryGrid::fitAll()
{
    verticalHeader()->setDefaultSectionSize(std::max(15, fontMetrics().height() + 2));
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    m_textWidths = QList<int>(columnCount(), 0);
    for (int column = 0; column < columnCount(); ++column) {
        if (const QTableWidgetItem *header = horizontalHeaderItem(column))
            m_textWidths[column] = TextWidth(horizontalHeader()->font(), header->text()) + 2 * margin;
        for (int row = 0; row < rowCount(); ++row)
            fitText(column, cell(row, column));
    }
    arrange();
}

void TEntryGrid::fitText(int column, const QString &text)
{
    if (text.isEmpty() || column < 0 || column >= columnCount())
        return;
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int gridLine = showGrid() ? 1 : 0;
    m_textWidths[column] = std::max(m_textWidths[column], TextWidth(font(), text) + margin + gridLine);
}

void TEntryGrid::arrange()
{
    const int columns = columnCount();
    // No column is narrower than the header lets it be.
    const int narrowest = horizontalHeader()->minimumSectionSize();
    QList<int> needed(columns);
    QList<int> wanted(columns);
    for (int column = 0; column < columns; ++column) {
        needed[column] = std::max(narrowest, m_textWidths[column]);
        wanted[column] = std::max(m_givenWidths[column], needed[column]);
    }
    // A grid not shown has no room yet: it is arranged again when shown.
    const int room = isVisible() ? viewport()->width() : 0;
    const int wantedTotal = std::accumulate(wanted.begin(), wanted.end(), 0);
    const int textTotal = std::accumulate(needed.begin(), needed.end(), 0);
    for (int column = 0; column < columns; ++column) {
        int width = wanted[column];
        // Short of room: each column gives up the same share of what it has
        // beyond its texts, no more than is missing.
        if (room > 0 && wantedTotal > room && wantedTotal > textTotal) {
            const int spare = wanted[column] - needed[column];
            const int kept = std::max(0, room - textTotal);
            width = needed[column] +
                    static_cast<int>(static_cast<long long>(spare) * std::min(kept, wantedTotal - textTotal) /
                                     (wantedTotal - textTotal));
        }
        if (columnWidth(column) != width)
            setColumnWidth(column, width);
    }
}

void TEntryGrid::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitAll();
}

bool TEntryGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize)
        arrange();
    return QTableWidget::viewportEvent(event);
}

void TEntryGrid::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *existing = item(row, column))
        existing->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
    fitText(column, text);
    arrange();
}

QString TEntryGrid::cell(int row, int column) const
{
    const QTableWidgetItem *existing = item(row, column);
    return existing ? existing->text() : QString();
}

} // namespace wharf
