#include "panelstatusbar.h"

#include "drawutils.h"

#include <QEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace wharf {
namespace {

constexpr int kPanelGap = 2;   // space between two panels
constexpr int kPanelInset = 1; // the sunken frame around a panel

} // namespace

TPanelStatusBar::TPanelStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

int TPanelStatusBar::addPanel(int width, Qt::Alignment alignment)
{
    Panel panel;
    panel.width = width;
    panel.alignment = alignment;
    m_panels.push_back(panel);
    layoutHosted();
    update();
    return panelCount() - 1;
}

int TPanelStatusBar::panelWidth(int index) const
{
    return index >= 0 && index < panelCount() ? m_panels[index].width : 0;
}

void TPanelStatusBar::setPanelWidth(int index, int width)
{
    if (index < 0 || index >= panelCount() || m_panels[index].width == width)
        return;
    m_panels[index].width = width;
    m_panels[index].fitted = textRoom(m_panels[index].text);
    layoutHosted();
    update();
}

QString TPanelStatusBar::panelText(int index) const
{
    return index >= 0 && index < panelCount() ? m_panels[index].text : QString();
}

void TPanelStatusBar::setPanelText(int index, const QString &text)
{
    if (index < 0 || index >= panelCount() || m_panels[index].text == text)
        return;
    m_panels[index].text = text;
    const int room = textRoom(text);
    if (room > m_panels[index].fitted && room > m_panels[index].width) {
        m_panels[index].fitted = room;
        layoutHosted();
        update();
        return;
    }
    update(panelRect(index));
}

int TPanelStatusBar::textRoom(const QString &text) const
{
    return text.isEmpty() ? 0 : TextWidth(font(), text) + 2 * (kPanelInset + 2) + 2;
}

int TPanelStatusBar::shownWidth(int index) const
{
    return std::max(m_panels[index].width, m_panels[index].fitted);
}

QRect TPanelStatusBar::panelRect(int index) const
{
    if (index < 0 || index >= panelCount())
        return {};
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += shownWidth(i) + kPanelGap;
    int width = shownWidth(index);
    if (index == panelCount() - 1)
        width = std::max(width, this->width() - left);
    return QRect(left, kPanelGap, width, std::max(0, height() - kPanelGap));
}

void TPanelStatusBar::hostControl(QWidget *control, int index)
{
    if (!control)
        return;
    m_hosted.erase(std::remove_if(m_hosted.begin(), m_hosted.end(),
                                  [control](const Hosted &h) { return h.control == control; }),
                   m_hosted.end());
    control->setParent(this);
    m_hosted.push_back(Hosted{control, index});
    layoutHosted();
    control->show();
}

void TPanelStatusBar::layoutHosted()
{
    for (const Hosted &h : m_hosted)
        if (h.control)
            h.control->setGeometry(panelRect(h.panel).adjusted(kPanelInset, kPanelInset, -kPanelInset, -kPanelInset));
}

QSize TPanelStatusBar::sizeHint() const
{
    int width = 0;
    for (int i = 0; i < panelCount(); ++i)
        width += shownWidth(i) + kPanelGap;
    return QSize(width, fontMetrics().height() + 2 * (kPanelGap + kPanelInset) + 2);
}

QSize TPanelStatusBar::minimumSizeHint() const { return QSize(0, sizeHint().height()); }

void TPanelStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (int i = 0; i < panelCount(); ++i) {
        const QRect r = panelRect(i);
        qDrawShadePanel(&painter, r, palette(), true, kPanelInset);
        const Panel &panel = m_panels[i];
        if (!panel.text.isEmpty())
            painter.drawText(r.adjusted(kPanelInset + 2, 0, -kPanelInset - 2, 0),
                             static_cast<int>(panel.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, panel.text);
    }
}

void TPanelStatusBar::changeEvent(QEvent *event)
{
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (Panel &panel : m_panels)
            panel.fitted = textRoom(panel.text);
        layoutHosted();
        update();
    }
}

void TPanelStatusBar::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    layoutHosted();
}

} // namespace wharf
