#include "pathlabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace wharf {
namespace {

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

bool isMarker(const QString &s, qsizetype at)
{
    return s.size() >= at + 4 && s.mid(at, 3) == u"..." && isSeparator(s.at(at + 3));
}

// Cuts the first folder of a folder part: "\A\B\" -> "\...\B\",
// "\...\B\" -> "\...\", "...\B\" -> "...\", "...\" -> "".
QString cutFirstFolder(QString s, QChar separator)
{
    if (s.size() == 1 && isSeparator(s.front()))
        return {};
    QString lead;
    if (!s.isEmpty() && isSeparator(s.front())) {
        lead = s.front();
        s.remove(0, 1);
    }
    if (isMarker(s, 0))
        s.remove(0, 4);
    qsizetype first = -1;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (isSeparator(s.at(i))) {
            first = i;
            break;
        }
    if (first >= 0)
        s = QStringLiteral("...") + separator + s.mid(first + 1);
    else
        s.clear();
    return lead + s;
}

} // namespace

QString ShortenPath(const QString &path, const QFontMetrics &metrics, int maxWidth)
{
    qsizetype split = 0;
    for (qsizetype i = path.size(); i > 0; --i)
        if (isSeparator(path.at(i - 1)) || path.at(i - 1) == u':') {
            split = i;
            break;
        }
    QString folder = path.left(split);
    const QString name = path.mid(split);
    QString drive;
    if (folder.size() >= 2 && folder.at(1) == u':') {
        drive = folder.left(2);
        folder.remove(0, 2);
    }
    QChar separator = u'\\';
    for (qsizetype i = folder.size(); i > 0; --i)
        if (isSeparator(folder.at(i - 1))) {
            separator = folder.at(i - 1);
            break;
        }

    QString result = path;
    while ((!drive.isEmpty() || !folder.isEmpty()) && metrics.horizontalAdvance(result) > maxWidth) {
        if (folder.size() == 5 && isSeparator(folder.front()) && isMarker(folder, 1)) {
            drive.clear();
            folder = folder.mid(1);
        } else if (folder.isEmpty()) {
            drive.clear();
        } else {
            folder = cutFirstFolder(folder, separator);
        }
        result = drive + folder + name;
    }
    return result;
}

TNewPathLabel::TNewPathLabel(QWidget *parent) : QLabel(parent)
{
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
}

void TNewPathLabel::setColor(TColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void TNewPathLabel::setTransparent(bool transparent)
{
    if (m_transparent == transparent)
        return;
    m_transparent = transparent;
    update();
}

QString TNewPathLabel::displayText() const { return ShortenPath(text(), QFontMetrics(font()), width()); }

QSize TNewPathLabel::sizeHint() const
{
    // A width to start from, as an edit offers; the layout or the owner
    // decides the rest.
    const QSize minimum = minimumSizeHint();
    return {minimum.width() + 20 * fontMetrics().averageCharWidth(), minimum.height()};
}

QSize TNewPathLabel::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    return {margins.left() + margins.right(), fontMetrics().height() + margins.top() + margins.bottom()};
}

void TNewPathLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), toQColor(m_color, palette()));
    painter.setFont(font());
    const Qt::Alignment horizontal = alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter);
    const int flags = static_cast<int>(horizontal | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextExpandTabs;
    const QString shown = displayText();
    if (!isEnabled()) {
        painter.setPen(toQColor(clBtnHighlight, palette()));
        painter.drawText(rect().translated(1, 1), flags, shown);
        painter.setPen(toQColor(clBtnShadow, palette()));
        painter.drawText(rect(), flags, shown);
    } else {
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(rect(), flags, shown);
    }
}

} // namespace wharf
