#include "animate.h"

#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <cmath>

namespace wharf {
namespace {

void drawFolder(QPainter &p, const QRectF &r)
{
    const QColor edge(90, 70, 20);
    p.setPen(QPen(edge, 1));
    p.setBrush(QColor(215, 170, 60));
    QPainterPath back;
    back.moveTo(r.left(), r.top() + 4);
    back.lineTo(r.left() + r.width() * 0.4, r.top() + 4);
    back.lineTo(r.left() + r.width() * 0.5, r.top());
    back.lineTo(r.right(), r.top());
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(r.left(), r.top() + 8, r.width(), r.height() - 8));
}

void drawSheet(QPainter &p, const QPointF &centre)
{
    const QRectF sheet(centre.x() - 7, centre.y() - 9, 14, 18);
    p.setPen(QPen(QColor(70, 70, 80), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(140, 140, 150), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(sheet.left() + 3, sheet.top() + 5 + i * 4), QPointF(sheet.right() - 3, sheet.top() + 5 + i * 4));
}

} // namespace

TAnimate::TAnimate(QWidget *parent) : QWidget(parent), m_animation(new QVariantAnimation(this))
{
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(1200);
    m_animation->setLoopCount(-1);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_phase = value.toDouble();
        update();
    });
}

void TAnimate::setClip(Clip clip)
{
    if (m_clip == clip)
        return;
    m_clip = clip;
    update();
}

bool TAnimate::Active() const { return m_animation->state() == QAbstractAnimation::Running; }

void TAnimate::setActive(bool active)
{
    if (active == Active())
        return;
    if (active) {
        m_animation->start();
    } else {
        m_animation->stop();
        m_phase = 0;
        update();
    }
}

QSize TAnimate::sizeHint() const { return QSize(m_clip == Clip::Copy ? 272 : 120, 60); }

void TAnimate::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    const QRectF left(area.left() + 6, area.center().y() - 14, 36, 28);
    const QRectF right(area.right() - 42, area.center().y() - 14, 36, 28);
    if (m_clip == Clip::Copy) {
        drawFolder(p, left);
        drawFolder(p, right);
    } else {
        drawFolder(p, QRectF(area.center().x() - 18, area.center().y() - 4, 36, 28));
    }
    // The sheet flies along an arc: out of the left folder into the right
    // one, into the single folder (read) or out of it (write).
    QPointF from, to;
    switch (m_clip) {
    case Clip::Copy:
        from = left.center();
        to = right.center();
        break;
    case Clip::Read:
        from = QPointF(area.left() + 14, area.top() + 12);
        to = QPointF(area.center().x(), area.center().y() + 6);
        break;
    case Clip::Write:
        from = QPointF(area.center().x(), area.center().y() + 6);
        to = QPointF(area.right() - 14, area.top() + 12);
        break;
    }
    const double t = m_phase;
    const QPointF at = from + (to - from) * t + QPointF(0, -std::sin(t * 3.14159265) * area.height() * 0.3);
    drawSheet(p, at);
}

} // namespace wharf
