#include "navbarpaint.h"

#include "colors.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace wharf::navbar {
namespace {

void edge(QPainter &painter, const QRect &rect, const QColor &top, const QColor &bottom)
{
    QRect r = rect;
    Frame3D(painter, r, top, bottom, 1);
}

} // namespace

QRect rectFromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void Frame3D(QPainter &painter, QRect &rect, const QColor &top, const QColor &bottom, int width)
{
    for (int ring = 0; ring < width; ++ring) {
        const int l = rect.x();
        const int t = rect.y();
        const int r = rect.x() + rect.width() - 1; // last column
        const int b = rect.y() + rect.height() - 1; // last row
        if (r < l || b < t)
            break;
        painter.fillRect(QRect(l, t, r - l, 1), top);        // top row without the top-right corner
        painter.fillRect(QRect(l, t, 1, b - t), top);        // left column without the bottom-left corner
        painter.fillRect(QRect(r, t, 1, b - t + 1), bottom); // right column
        painter.fillRect(QRect(l, b, r - l + 1, 1), bottom); // bottom row
        rect.adjust(1, 1, -1, -1);
    }
}

void drawRaisedOuterEdge(QPainter &painter, const QRect &rect, const QPalette &palette)
{
    edge(painter, rect, toQColor(cl3DLight, palette), toQColor(cl3DDkShadow, palette));
}

void drawSunkenInnerEdge(QPainter &painter, const QRect &rect, const QPalette &palette)
{
    edge(painter, rect, toQColor(cl3DDkShadow, palette), toQColor(cl3DLight, palette));
}

void drawFocusRect(QPainter &painter, const QRect &rect, const QColor &colour)
{
    if (rect.isEmpty())
        return;
    const int l = rect.x();
    const int t = rect.y();
    const int r = rect.x() + rect.width() - 1;
    const int b = rect.y() + rect.height() - 1;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            painter.fillRect(QRect(x, y, 1, 1), colour);
    };
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        dot(x, b);
    }
    for (int y = t; y <= b; ++y) {
        dot(l, y);
        dot(r, y);
    }
}

QChar acceleratorOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toLower();
        ++i;
    }
    return {};
}

QImage programBitmap(const QString &name)
{
    const bool up = name == QLatin1String("ARROWUP");
    if (!up && name != QLatin1String("ARROWDOWN"))
        return {};
    QImage image(15, 15, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // A solid triangle five rows high, nine pixels at its base, centred.
    for (int row = 0; row < 5; ++row) {
        const int y = up ? 5 + row : 9 - row;
        for (int x = 7 - row; x <= 7 + row; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    }
    return image;
}

} // namespace wharf::navbar
