#include "navbar.h"

#include "imagelist.h"
#include "navbarheader.h"
#include "navbarpaint.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <array>

namespace wharf {
namespace {

const std::array<QString, 6> kAlignNames = {
    QStringLiteral("alNone"),  QStringLiteral("alTop"),   QStringLiteral("alBottom"),
    QStringLiteral("alLeft"),  QStringLiteral("alRight"), QStringLiteral("alClient"),
};

// The headers among the bar's children, in child order, guarded so that a
// handler that deletes one cannot leave a dangling entry behind.
QList<QPointer<TNavBarHeader>> headersOf(const QObject &bar)
{
    QList<QPointer<TNavBarHeader>> headers;
    for (QObject *child : bar.children())
        if (auto *header = qobject_cast<TNavBarHeader *>(child))
            headers.push_back(header);
    return headers;
}

} // namespace

TNavBar::TNavBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    resize(185, 300);
    m_settings = std::make_unique<THeaderSettings>(navbar::ColoredFont{font(), clWindowText});
    m_settings->OnChange = [this](QObject *) { settingsChanged(); };
    updateContentsMargins();
}

TNavBar::~TNavBar()
{
    // From here on nothing is asked or reported: the owner may be half
    // destroyed already, and the headers go after this destructor.
    m_destroying = true;
    OnCanChange = nullptr;
    OnChange = nullptr;
    m_activeHeader = nullptr;
    m_hotHeader = nullptr;
}

TNavBarHeader *TNavBar::addHeader(const QString &caption, int imageIndex)
{
    auto *header = new TNavBarHeader(this);
    header->setCaption(caption);
    header->setImageIndex(imageIndex);
    return header;
}

void TNavBar::SetActiveHeader(TNavBarHeader *header)
{
    if (header == m_activeHeader)
        return;
    ChangeActiveHeader(header);
    update();
}

void TNavBar::ChangeActiveHeader(TNavBarHeader *header)
{
    if (m_destroying || (header && header->OwnerBar() != this))
        return;
    // Handlers may delete headers or the bar itself.
    const QPointer<TNavBar> self(this);
    const QPointer<TNavBarHeader> target(header);

    bool canChange = true;
    if (OnCanChange)
        OnCanChange(this, header, canChange);
    if (!self || !canChange)
        return;
    if (header && !target)
        header = nullptr;

    const int oldIndex = m_activeHeader ? m_activeHeader->HeaderIndex() : -1;
    const int newIndex = header ? header->HeaderIndex() : -1;
    if (OnChange)
        OnChange(this, oldIndex, newIndex);
    if (!self || m_destroying)
        return;

    for (const QPointer<TNavBarHeader> &each : headersOf(*this))
        if (each)
            each->Change();
    if (!self || m_destroying)
        return;

    m_activeHeader = target && !target->isHidden() ? target.data() : nullptr;
    if (m_hotHeader) {
        m_hotHeader->update();
        m_hotHeader = nullptr;
    }
    layoutAll();
    update();
}

void TNavBar::setHotHeader(TNavBarHeader *header)
{
    if (m_hotHeader == header)
        return;
    if (m_hotHeader)
        m_hotHeader->update();
    m_hotHeader = header;
    if (header)
        header->update();
}

int TNavBar::HeaderCount() const { return static_cast<int>(headersOf(*this).size()); }

TNavBarHeader *TNavBar::HeaderByIndex(int i) const
{
    if (i < 0 || i > HeaderCount() - 1)
        return nullptr;
    TNavBarHeader *result = nullptr;
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        if (header->HeaderIndex() == i)
            result = header;
    return result;
}

int TNavBar::HiddenBefore(int i) const
{
    int count = 0;
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        if (header->isHidden() && header->HeaderIndex() < i)
            ++count;
    return count;
}

int TNavBar::HiddenAfter(int i) const
{
    int count = 0;
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        if (header->isHidden() && header->HeaderIndex() > i)
            ++count;
    return count;
}

int TNavBar::borderSize() const
{
    if (m_borderStyle != navbar::bsSingle)
        return 0;
    return m_ctl3D ? 2 : 1;
}

QRect TNavBar::ClientRect() const
{
    const int b = borderSize();
    return rect().adjusted(b, b, -b, -b);
}

QRect TNavBar::InnerRect() const
{
    int inset = m_borderWidth;
    if (m_bevelOuter != navbar::bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != navbar::bvNone)
        inset += m_bevelWidth;
    const QRect client = ClientRect();
    return navbar::rectFromEdges(client.x() + inset, client.y() + inset, client.x() + client.width() - inset,
                                 client.y() + client.height() - inset);
}

QRect TNavBar::HeaderRect(int i) const
{
    const int n = HeaderCount();
    if (i < 0 || i > n - 1)
        return {};
    const int h = m_headerHeight;
    const QRect inner = InnerRect();
    const int innerTop = inner.y();
    const int innerBottom = inner.y() + inner.height();
    const int left = inner.x();
    const int right = inner.x() + inner.width();
    const int open = m_activeHeader ? m_activeHeader->HeaderIndex() : -1;
    int top = 0;
    int bottom = 0;
    if (open < 0 || i < open) {
        top = innerTop + (i - HiddenBefore(i)) * h;
        bottom = top + h;
    } else {
        bottom = innerBottom - (n - HiddenAfter(i) - i - 1) * h;
        top = i == open ? innerTop + (i - HiddenBefore(i)) * h : bottom - h;
    }
    return navbar::rectFromEdges(left, top, right, bottom);
}

void TNavBar::RealignHeaders()
{
    const int n = HeaderCount();
    for (int i = 0; i < n; ++i) {
        TNavBarHeader *header = HeaderByIndex(i);
        const QRect bounds = HeaderRect(i);
        if (!header || header->geometry() == bounds)
            continue;
        header->setGeometry(bounds);
        // A header not on screen gets its resize event only when shown;
        // its buttons are laid out now.
        if (!header->isVisible())
            header->relayout();
    }
}

TNavBarHeader *TNavBar::PreviousHeader(TNavBarHeader *header) const
{
    if (!header)
        return nullptr;
    // Hidden headers are passed over; with no visible one before it the
    // header stays itself (opening a hidden one would close the bar).
    for (int i = header->HeaderIndex() - 1; i >= 0; --i)
        if (TNavBarHeader *candidate = HeaderByIndex(i); candidate && !candidate->isHidden())
            return candidate;
    return header;
}

TNavBarHeader *TNavBar::NextHeader(TNavBarHeader *header) const
{
    if (!header)
        return nullptr;
    const int n = HeaderCount();
    for (int i = header->HeaderIndex() + 1; i < n; ++i)
        if (TNavBarHeader *candidate = HeaderByIndex(i); candidate && !candidate->isHidden())
            return candidate;
    return header;
}

QString TNavBar::AlignInfo() const { return kAlignNames[static_cast<size_t>(m_align)]; }

void TNavBar::ReadAlignInfo(const QString &value)
{
    for (size_t i = 0; i < kAlignNames.size(); ++i)
        if (value == kAlignNames[i])
            m_align = static_cast<navbar::TAlign>(i);
}

QString TNavBar::Version() const { return QString::asprintf("%d.%d", kVersion >> 8, kVersion & 0xFF); }

void TNavBar::setBevelInner(navbar::TBevelCut value)
{
    if (m_bevelInner == value)
        return;
    m_bevelInner = value;
    updateContentsMargins();
    layoutAll();
    update();
}

void TNavBar::setBevelOuter(navbar::TBevelCut value)
{
    if (m_bevelOuter == value)
        return;
    m_bevelOuter = value;
    updateContentsMargins();
    layoutAll();
    update();
}

void TNavBar::setBevelWidth(int value)
{
    value = std::max(1, value);
    if (m_bevelWidth == value)
        return;
    m_bevelWidth = value;
    updateContentsMargins();
    layoutAll();
    update();
}

void TNavBar::setBorderStyle(navbar::TBorderStyle value)
{
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    updateContentsMargins();
    layoutAll();
    update();
}

void TNavBar::setBorderWidth(int value)
{
    value = std::max(0, value);
    if (m_borderWidth == value)
        return;
    m_borderWidth = value;
    updateContentsMargins();
    layoutAll();
    update();
}

void TNavBar::setButtonDown(bool value)
{
    if (m_buttonDown == value)
        return;
    m_buttonDown = value;
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        header->update();
}

void TNavBar::setColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    update();
}

void TNavBar::setCommonStyle(bool value)
{
    if (m_commonStyle == value)
        return;
    m_commonStyle = value;
    update();
    if (value) {
        settingsChanged();
        return;
    }
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        if (header)
            header->SettingsChanged(&header->HeaderSettings());
}

void TNavBar::setCtl3D(bool value)
{
    if (m_ctl3D == value)
        return;
    m_ctl3D = value;
    if (m_borderStyle == navbar::bsSingle) {
        updateContentsMargins();
        layoutAll();
        update();
    }
}

void TNavBar::setFlat(bool value)
{
    if (m_flat == value)
        return;
    m_flat = value;
    update();
    for (const QPointer<TNavBarHeader> &header : headersOf(*this)) {
        header->placeScrollButtons();
        header->update();
    }
}

void TNavBar::setHeaderHeight(int value)
{
    if (m_headerHeight == value)
        return;
    m_headerHeight = value;
    update();
    layoutAll();
    for (const QPointer<TNavBarHeader> &header : headersOf(*this)) {
        if (!header)
            continue;
        header->updateContentsMargins();
        header->ArrangeButtons();
        header->update();
    }
}

void TNavBar::setImages(TImageList *list)
{
    if (m_images == list)
        return;
    disconnect(m_imagesLink);
    m_images = list;
    if (list) {
        m_imagesLink = connect(list, &TImageList::changed, this, [this] { imagesChanged(); });
        // A destroyed list is forgotten by the guarded pointer; repaint.
        connect(list, &QObject::destroyed, this, [this] { imagesChanged(); });
    }
    imagesChanged();
}

void TNavBar::setPopupMenu(QMenu *menu) { m_popupMenu = menu; }

void TNavBar::settingsChanged()
{
    if (!m_commonStyle || m_destroying)
        return;
    update();
    const int n = HeaderCount();
    for (int i = 0; i < n; ++i)
        if (TNavBarHeader *header = HeaderByIndex(i))
            header->SettingsChanged(m_settings.get());
}

void TNavBar::imagesChanged()
{
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        header->update();
    update();
}

void TNavBar::layoutAll()
{
    if (m_destroying)
        return;
    RealignHeaders();
    // Which buttons may take the focus follows the open header.
    for (const QPointer<TNavBarHeader> &header : headersOf(*this))
        if (header)
            header->syncFocusPolicy();
}

void TNavBar::updateContentsMargins()
{
    const QRect inner = InnerRect();
    setContentsMargins(inner.x(), inner.y(), width() - inner.x() - inner.width(),
                       height() - inner.y() - inner.height());
}

void TNavBar::headerAdded(TNavBarHeader *header)
{
    if (m_destroying || m_knownHeaders.contains(header))
        return;
    m_knownHeaders.push_back(header);
    m_tabList.append(header);
    m_tabList.applyToFocusChain();
    header->updateContentsMargins();
    header->syncFocusPolicy();
    // A header the bar owns opens when it joins.
    ChangeActiveHeader(header);
    layoutAll();
}

void TNavBar::headerDestroying(TNavBarHeader *header)
{
    if (m_activeHeader == header)
        m_activeHeader = nullptr;
    if (m_hotHeader == header)
        m_hotHeader = nullptr;
}

void TNavBar::headerVisibilityChanged()
{
    if (m_destroying)
        return;
    layoutAll();
    update();
}

void TNavBar::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    QObject *child = event->child();
    if (event->added() && child->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(child);
        m_tabList.append(widget);
        // A header under construction is still a plain widget here; it
        // reports itself once it is complete.
        if (auto *header = qobject_cast<TNavBarHeader *>(widget))
            headerAdded(header);
    } else if (event->removed()) {
        m_tabList.remove(child);
        if (!m_knownHeaders.removeOne(child))
            return;
        // A header moved to another parent is no longer open or hot here.
        if (static_cast<QObject *>(m_activeHeader.data()) == child)
            m_activeHeader = nullptr;
        if (static_cast<QObject *>(m_hotHeader.data()) == child)
            m_hotHeader = nullptr;
        if (m_destroying)
            return;
        ChangeActiveHeader(HeaderCount() == 0 ? nullptr : HeaderByIndex(0));
        layoutAll();
        update();
    }
}

void TNavBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QColor colour = toQColor(m_color, pal);
    const QColor highlight = toQColor(clBtnHighlight, pal);
    const QColor shadow = toQColor(clBtnShadow, pal);

    QRect r = rect();
    if (m_borderStyle == navbar::bsSingle) {
        if (m_ctl3D) {
            navbar::Frame3D(painter, r, shadow, highlight, 1);
            navbar::Frame3D(painter, r, toQColor(cl3DDkShadow, pal), toQColor(cl3DLight, pal), 1);
        } else {
            const QColor frame = toQColor(clWindowFrame, pal);
            navbar::Frame3D(painter, r, frame, frame, 1);
        }
    }
    // Filled whole, so room that no header covers never shows stale pixels.
    painter.fillRect(r, colour);
    const auto bevel = [&](navbar::TBevelCut cut) {
        if (cut == navbar::bvNone)
            return;
        if (cut == navbar::bvLowered)
            navbar::Frame3D(painter, r, shadow, highlight, m_bevelWidth);
        else
            navbar::Frame3D(painter, r, highlight, shadow, m_bevelWidth);
    };
    bevel(m_bevelOuter);
    navbar::Frame3D(painter, r, colour, colour, m_borderWidth);
    bevel(m_bevelInner);
}

void TNavBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateContentsMargins();
    layoutAll();
}

void TNavBar::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (TNavBarHeader *hot = m_hotHeader) {
        m_hotHeader = nullptr;
        hot->m_captionPressed = false;
        hot->update();
    }
}

void TNavBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_PageUp)
        ChangeActiveHeader(PreviousHeader(m_activeHeader));
    else if (event->key() == Qt::Key_PageDown)
        ChangeActiveHeader(NextHeader(m_activeHeader));
    else
        QWidget::keyPressEvent(event);
}

void TNavBar::changeEvent(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::EnabledChange || type == QEvent::PaletteChange) {
        update();
        if (type == QEvent::EnabledChange && !isEnabled() && m_hotHeader) {
            // A disabled bar has no hot header.
            m_hotHeader->update();
            m_hotHeader = nullptr;
        }
    }
    QWidget::changeEvent(event);
}

void TNavBar::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    else
        event->ignore();
}

} // namespace wharf
