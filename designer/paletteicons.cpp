#include "paletteicons.h"

#include "dialogfile.h"

#include <QPainter>
#include <QPixmap>

namespace wharf {
namespace {

constexpr int kSize = 22;

void sunkenBox(QPainter &p, const QRect &r)
{
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void lines(QPainter &p, int x, int y, int width, int count)
{
    p.setPen(QColor(0, 0, 128));
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + i * 3, x + width - (i % 2) * 3, y + i * 3);
}

void drawGlyph(QPainter &p, int type)
{
    const QColor face(212, 208, 200);
    switch (type) {
    case ctEdit:
        sunkenBox(p, {2, 7, 17, 8});
        p.setPen(Qt::black);
        p.drawLine(5, 9, 5, 13);
        break;
    case ctButton:
        p.setPen(Qt::black);
        p.setBrush(face);
        p.drawRect(2, 6, 17, 10);
        p.setPen(Qt::white);
        p.drawLine(3, 7, 17, 7);
        lines(p, 7, 11, 7, 1);
        break;
    case ctLabel: {
        QFont font = p.font();
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0, 0, 128));
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case ctCheckBox:
        sunkenBox(p, {3, 6, 9, 9});
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(5, 10, 7, 12);
        p.drawLine(7, 12, 10, 8);
        lines(p, 14, 10, 5, 1);
        break;
    case ctComboBox:
        sunkenBox(p, {1, 7, 19, 8});
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawRect(13, 8, 6, 7);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(14, 10), QPoint(18, 10), QPoint(16, 13)}));
        break;
    case ctRadioGroup:
        p.setPen(QColor(128, 128, 128));
        p.setBrush(Qt::NoBrush);
        p.drawRect(1, 3, 19, 17);
        p.setBrush(Qt::white);
        p.drawEllipse(4, 7, 5, 5);
        p.drawEllipse(4, 13, 5, 5);
        p.setBrush(Qt::black);
        p.drawEllipse(5, 8, 3, 3);
        lines(p, 11, 9, 6, 1);
        lines(p, 11, 15, 6, 1);
        break;
    case ctRichEdit:
        sunkenBox(p, {2, 2, 17, 17});
        lines(p, 4, 5, 12, 5);
        break;
    case ctListBox:
        sunkenBox(p, {2, 2, 17, 17});
        p.fillRect(3, 7, 16, 4, QColor(0, 0, 128));
        lines(p, 5, 4, 10, 1);
        lines(p, 5, 13, 10, 2);
        break;
    case ctChkListBox:
        sunkenBox(p, {2, 2, 17, 17});
        for (int row = 0; row < 3; ++row) {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(4, 4 + row * 5, 3, 3);
            lines(p, 9, 5 + row * 5, 8, 1);
        }
        break;
    case ctProgressBar:
        sunkenBox(p, {1, 7, 19, 7});
        for (int i = 0; i < 3; ++i)
            p.fillRect(3 + i * 4, 9, 3, 4, QColor(0, 0, 128));
        break;
    case ctImage:
        p.setPen(Qt::black);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(2, 3, 17, 15);
        p.setBrush(QColor(0, 128, 0));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(3, 17), QPoint(9, 9), QPoint(13, 14), QPoint(15, 12), QPoint(19, 17)}));
        p.setBrush(QColor(255, 255, 0));
        p.drawEllipse(13, 5, 4, 4);
        break;
    default:
        break;
    }
}

} // namespace

QIcon paletteIcon(int type)
{
    if (type < 0 || type >= kControlTypeCount)
        return {};
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawGlyph(painter, type);
    painter.end();
    return QIcon(pixmap);
}

} // namespace wharf
