#include "navbarheader.h"

#include "drawutils.h"
#include "imagelist.h"
#include "navbar.h"
#include "navbarpaint.h"
#include "navbutton.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include <algorithm>

namespace wharf {
namespace {

using navbar::rectFromEdges;

int rightOf(const QRect &r) { return r.x() + r.width(); }
int bottomOf(const QRect &r) { return r.y() + r.height(); }

QPainter::CompositionMode rasterMode(navbar::TBitmapCopy copy)
{
    switch (copy) {
    case navbar::bcMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    case navbar::bcSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case navbar::bcSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case navbar::bcMergeCopy:
    case navbar::bcSrcCopy: break;
    }
    return QPainter::CompositionMode_Source;
}

} // namespace

// ---------------------------------------------------------------------------
// TScrollButton

TScrollButton::TScrollButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    m_glyph = navbar::programBitmap(QStringLiteral("ARROWUP"));
    resize(sizeHint());
    hide();
}

void TScrollButton::setArrowStyle(navbar::TArrowStyle value)
{
    if (m_arrowStyle == value)
        return;
    m_arrowStyle = value;
    m_glyph = navbar::programBitmap(value == navbar::asUp ? QStringLiteral("ARROWUP") : QStringLiteral("ARROWDOWN"));
    update();
}

void TScrollButton::setFlat(bool value)
{
    if (m_flat == value)
        return;
    m_flat = value;
    update();
}

void TScrollButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QColor face = toQColor(clBtnFace, pal);
    const QColor highlight = toQColor(clBtnHighlight, pal);
    const QColor shadow = toQColor(clBtnShadow, pal);
    const QColor light = toQColor(cl3DLight, pal);
    const QColor dark = toQColor(cl3DDkShadow, pal);
    const bool down = isDown();
    QRect r = rect();
    if (!m_flat) {
        painter.fillRect(r, face);
        if (down) {
            navbar::Frame3D(painter, r, shadow, shadow, 1);
        } else {
            navbar::Frame3D(painter, r, highlight, dark, 1);
            navbar::Frame3D(painter, r, light, shadow, 1);
        }
    } else if (down) {
        navbar::Frame3D(painter, r, shadow, highlight, 1);
    } else if (m_hover && isEnabled()) {
        navbar::Frame3D(painter, r, highlight, shadow, 1);
    }
    const QImage glyph = isEnabled() ? m_glyph : MakeDisabledGlyph(m_glyph);
    const int shift = down ? 1 : 0;
    painter.drawImage((width() - glyph.width()) / 2 + shift, (height() - glyph.height()) / 2 + shift, glyph);
}

void TScrollButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TScrollButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

// ---------------------------------------------------------------------------
// TNavBarHeader

TNavBarHeader::TNavBarHeader(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setAcceptDrops(true);

    m_settings = std::make_unique<THeaderSettings>(navbar::ColoredFont{font(), clWindowText});
    m_settings->OnChange = [this](QObject *sender) { SettingsChanged(sender); };
    m_gradient = std::make_unique<TGradient>();
    m_gradient->OnChange = [this](QObject *sender) { SettingsChanged(sender); };

    m_scrollUp = new TScrollButton(this);
    m_scrollDown = new TScrollButton(this);
    m_scrollDown->setArrowStyle(navbar::asDown);
    // Scroll buttons are drawn over the buttons and are not in the tab order.
    for (TScrollButton *scroll : {m_scrollUp, m_scrollDown}) {
        m_tabList.remove(scroll);
        scroll->raise();
        connect(scroll, &QAbstractButton::clicked, this, [this, scroll] { SettingsChanged(scroll); });
    }

    updateContentsMargins();
    syncFocusPolicy();
    if (parent && parent->isVisible())
        show();
    if (TNavBar *bar = OwnerBar())
        bar->headerAdded(this);
}

TNavBarHeader::~TNavBarHeader()
{
    m_destroying = true;
    if (m_mnemonicId)
        releaseShortcut(m_mnemonicId);
    // The bar forgets this header now, while it still is one.
    if (TNavBar *bar = OwnerBar())
        bar->headerDestroying(this);
}

TNavButton *TNavBarHeader::addButton(const QString &caption, int imageIndex)
{
    auto *button = new TNavButton(this);
    button->setCaption(caption);
    button->setImageIndex(imageIndex);
    return button;
}

TNavBar *TNavBarHeader::OwnerBar() const { return qobject_cast<TNavBar *>(parentWidget()); }

int TNavBarHeader::CaptionHeight() const
{
    const TNavBar *bar = OwnerBar();
    return bar ? bar->HeaderHeight() : 22;
}

const THeaderSettings &TNavBarHeader::EffectiveSettings() const
{
    const TNavBar *bar = OwnerBar();
    return bar && bar->CommonStyle() ? bar->HeaderSettings() : *m_settings;
}

int TNavBarHeader::ButtonCount() const
{
    int count = 0;
    for (QObject *child : children())
        if (qobject_cast<TNavButton *>(child))
            ++count;
    return count;
}

TNavButton *TNavBarHeader::ButtonByIndex(int i) const
{
    if (i < 0 || i > ButtonCount() - 1)
        return nullptr;
    TNavButton *result = nullptr;
    for (QObject *child : children()) {
        if (!child->isWidgetType() || child == m_scrollUp || child == m_scrollDown)
            continue;
        auto *button = qobject_cast<TNavButton *>(child);
        if (!button)
            ++i;
        else if (button->GetButtonIndex() == i)
            result = button;
    }
    return result;
}

bool TNavBarHeader::ScrollUpNeeded() const { return m_firstVisibleButton > 0; }

bool TNavBarHeader::ScrollDownNeeded() const
{
    const TNavButton *last = ButtonByIndex(ButtonCount() - 1);
    return last && last->y() + last->height() > height();
}

QRect TNavBarHeader::CaptionRect() const { return rectFromEdges(0, 0, width(), CaptionHeight()); }

QRect TNavBarHeader::ButtonArea() const { return rectFromEdges(0, CaptionHeight(), width(), height()); }

void TNavBarHeader::ArrangeButtons()
{
    if (m_destroying)
        return;
    if (m_autoSort) {
        if (OnSort)
            OnSort(this);
        sortButtons();
    }
    placeScrollButtons();
}

void TNavBarHeader::sortButtons()
{
    bool canSort = true;
    if (OnCanSort)
        OnCanSort(this, canSort);
    if (!canSort || !OwnerBar())
        return;
    int y = CaptionHeight() + m_firstButtonTop;
    const int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        TNavButton *button = ButtonByIndex(i);
        // A button above the scroll position keeps its place; the ones
        // below cover it.
        if (!button || button->isHidden() || i < m_firstVisibleButton)
            continue;
        if (button->ButtonStyle() == navbar::bsLarge)
            button->move((width() - button->width()) / 2, y);
        else
            button->move(2, y);
        y += button->height() + 2;
    }
}

void TNavBarHeader::placeScrollButtons()
{
    if (!m_scrollUp || !m_scrollDown)
        return;
    const TNavBar *bar = OwnerBar();
    const bool flat = bar && bar->Flat();
    m_scrollUp->setFlat(flat);
    m_scrollDown->setFlat(flat);

    const QRect area = ButtonArea();
    const int right = rightOf(area);
    m_scrollUp->move(right - m_scrollUp->width() - 1, area.y() + 1);
    const int downTop = bottomOf(area) - m_scrollDown->height() - 1;
    if (!area.isEmpty() && CaptionHeight() < downTop) {
        m_scrollDown->move(right - m_scrollDown->width() - 1, downTop);
    } else {
        m_scrollUp->move(m_scrollUp->x(), CaptionHeight() + 100);
        m_scrollDown->move(m_scrollDown->x(), CaptionHeight() + 100);
    }

    bool up = ScrollUpNeeded();
    bool down = ScrollDownNeeded();
    bool automatic = false;
    const bool autoScroll = EffectiveSettings().AutoScroll();
    if (!autoScroll && OnCheckScroll)
        OnCheckScroll(this, up, down, automatic);
    if (autoScroll || automatic) {
        up = ScrollUpNeeded();
        down = ScrollDownNeeded();
    }
    m_scrollUp->setVisible(up);
    m_scrollDown->setVisible(down);
}

void TNavBarHeader::applySettings(const THeaderSettings &settings)
{
    const int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        TNavButton *button = ButtonByIndex(i);
        if (!button || !button->AutoSize())
            continue;
        if (settings.ButtonStyle() == navbar::bsLarge) {
            button->setButtonStyle(navbar::bsLarge);
            button->setFont(settings.ButtonFont());
            button->applySize(settings.LargeWidth(), settings.LargeHeight());
        } else {
            button->setButtonStyle(navbar::bsSmall);
            button->setFont(settings.ButtonFont());
            button->applySize(width() - m_scrollUp->width() - 4, settings.SmallHeight());
        }
    }
}

void TNavBarHeader::SettingsChanged(const QObject *Sender)
{
    if (m_destroying)
        return;
    if (Sender && Sender == m_scrollUp) {
        m_firstVisibleButton = std::max(0, m_firstVisibleButton - 1);
        if (OnScroll)
            OnScroll(this);
        ArrangeButtons();
        return;
    }
    if (Sender && Sender == m_scrollDown) {
        m_firstVisibleButton = std::max(0, std::min(ButtonCount() - 1, m_firstVisibleButton + 1));
        if (OnScroll)
            OnScroll(this);
        ArrangeButtons();
        return;
    }
    if (const auto *settings = qobject_cast<const THeaderSettings *>(Sender)) {
        const TNavBar *bar = OwnerBar();
        // The own settings do not apply while the bar's common style does.
        if (!(settings == m_settings.get() && bar && bar->CommonStyle())) {
            applySettings(*settings);
            ArrangeButtons();
        }
    }
    syncFocusPolicy();
    repaintWithButtons();
}

void TNavBarHeader::relayout()
{
    if (m_destroying)
        return;
    applySettings(EffectiveSettings());
    ArrangeButtons();
}

void TNavBarHeader::buttonAdded(TNavButton *button)
{
    if (m_destroying)
        return;
    m_tabList.append(button);
    m_tabList.applyToFocusChain();
    button->syncFocusPolicy();
    m_scrollUp->raise();
    m_scrollDown->raise();
    relayout();
    update();
}

void TNavBarHeader::buttonLayoutChanged()
{
    if (m_destroying)
        return;
    ArrangeButtons();
    update();
}

void TNavBarHeader::Change()
{
    if (OnChange)
        OnChange(this);
}

void TNavBarHeader::repaintWithButtons()
{
    update();
    for (QObject *child : children())
        if (auto *button = qobject_cast<TNavButton *>(child))
            button->update();
}

void TNavBarHeader::setAutoSort(bool value)
{
    if (m_autoSort == value)
        return;
    m_autoSort = value;
    ArrangeButtons();
}

void TNavBarHeader::setBitmap(const QImage &bitmap)
{
    m_bitmap = bitmap;
    SettingsChanged(nullptr);
}

void TNavBarHeader::setBitmapCopy(navbar::TBitmapCopy value)
{
    if (m_bitmapCopy == value)
        return;
    m_bitmapCopy = value;
    repaintWithButtons();
}

void TNavBarHeader::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    updateMnemonic();
    update();
}

void TNavBarHeader::setColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    repaintWithButtons();
}

void TNavBarHeader::setCommonStyle(bool value)
{
    if (m_commonStyle == value)
        return;
    m_commonStyle = value;
    repaintWithButtons();
}

void TNavBarHeader::setFirstButtonTop(int value)
{
    if (m_firstButtonTop == value)
        return;
    m_firstButtonTop = value;
    ArrangeButtons();
}

int16_t TNavBarHeader::GetHeaderIndex() const
{
    const TNavBar *bar = OwnerBar();
    return static_cast<int16_t>(bar ? bar->m_tabList.indexOf(this) : -1);
}

void TNavBarHeader::setHeaderIndex(int value)
{
    TNavBar *bar = OwnerBar();
    if (!bar || value == GetHeaderIndex())
        return;
    bar->m_tabList.move(this, value);
    bar->m_tabList.applyToFocusChain();
    bar->layoutAll();
    bar->update();
}

void TNavBarHeader::setImageIndex(int value)
{
    if (m_imageIndex == value)
        return;
    m_imageIndex = value;
    update();
    if (TNavBar *bar = OwnerBar())
        bar->update();
}

void TNavBarHeader::setPopupMenu(QMenu *menu) { m_popupMenu = menu; }

void TNavBarHeader::setTabStop(bool value)
{
    if (m_tabStop == value)
        return;
    m_tabStop = value;
    syncFocusPolicy();
}

bool TNavBarHeader::CanFocus() const
{
    if (OwnerBar())
        return EffectiveSettings().KeySupport();
    return isEnabled() && isVisibleTo(window());
}

void TNavBarHeader::syncFocusPolicy()
{
    setFocusPolicy(m_tabStop && CanFocus() ? Qt::TabFocus : Qt::NoFocus);
    updateMnemonic();
    for (QObject *child : children())
        if (auto *button = qobject_cast<TNavButton *>(child))
            button->syncFocusPolicy();
}

void TNavBarHeader::updateMnemonic()
{
    if (m_mnemonicId) {
        releaseShortcut(m_mnemonicId);
        m_mnemonicId = 0;
    }
    const QKeySequence sequence = QKeySequence::mnemonic(m_caption);
    if (!sequence.isEmpty() && CanFocus())
        m_mnemonicId = grabShortcut(sequence);
}

void TNavBarHeader::updateContentsMargins() { setContentsMargins(0, CaptionHeight(), 0, 0); }

bool TNavBarHeader::isHot() const
{
    const TNavBar *bar = OwnerBar();
    return bar && bar->HotHeader() == this;
}

void TNavBarHeader::openThis()
{
    TNavBar *bar = OwnerBar();
    if (bar && bar->ActiveHeader() != this)
        bar->ChangeActiveHeader(this);
}

bool TNavBarHeader::DragOver(QObject *source)
{
    TNavBar *bar = OwnerBar();
    auto *button = qobject_cast<TNavButton *>(source);
    if (!bar || !button)
        return false;
    openThis();
    if (button->parentWidget() != this) {
        button->setParent(this);
        button->show();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Painting

void TNavBarHeader::tileBitmap(QPainter &painter, const QRect &area)
{
    const QColor ground = toQColor(m_color, palette());
    QImage tile = m_bitmap.convertToFormat(QImage::Format_RGB32);
    if (m_bitmapCopy == navbar::bcMergeCopy) {
        // Merge copy ands the picture with the brush: the header's colour.
        const QRgb mask = ground.rgb() | 0xFF000000u;
        for (int y = 0; y < tile.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(tile.scanLine(y));
            for (int x = 0; x < tile.width(); ++x)
                line[x] &= mask;
        }
    }
    // The raster operations combine with the header's colour beneath, so
    // every paint gives the same picture.
    QImage canvas(area.size(), QImage::Format_RGB32);
    canvas.fill(ground);
    {
        QPainter tiles(&canvas);
        tiles.setCompositionMode(rasterMode(m_bitmapCopy));
        for (int y = 0; y < canvas.height(); y += tile.height())
            for (int x = 0; x < canvas.width(); x += tile.width())
                tiles.drawImage(x, y, tile);
    }
    painter.drawImage(area.topLeft(), canvas);
}

void TNavBarHeader::paintButtonArea(QPainter &painter, const QRect &area)
{
    if (area.isEmpty())
        return;
    if (m_gradient->BackStyle() == navbar::bsNormal) {
        if (m_bitmap.width() >= 1 && m_bitmap.height() >= 1)
            tileBitmap(painter, area);
        else
            painter.fillRect(area, toQColor(m_color, palette()));
    } else {
        m_gradient->PaintGradient(painter, area);
    }
}

void TNavBarHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintHeader(painter);
}

void TNavBarHeader::paintUnder(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    painter.translate(-area.topLeft());
    paintHeader(painter);
    painter.restore();
}

void TNavBarHeader::paintHeader(QPainter &painter)
{
    const QPalette &pal = palette();
    const THeaderSettings &settings = EffectiveSettings();
    const TNavBar *bar = OwnerBar();
    const bool hot = isHot();
    const bool buttonDown = bar && bar->ButtonDown();
    const bool flat = bar && bar->Flat();
    const bool enabled = bar ? bar->isEnabled() : true;
    const QColor highlight = toQColor(clBtnHighlight, pal);
    const QColor shadow = toQColor(clBtnShadow, pal);

    paintButtonArea(painter, ButtonArea());

    QRect caption = CaptionRect();
    int offset = 0;
    const bool pressedLook = m_captionPressed && buttonDown;
    if (flat && !hot) {
        caption.setHeight(std::max(0, caption.height() - 1));
        painter.fillRect(QRect(caption.x(), bottomOf(caption), caption.width(), 1), Qt::black);
    } else if (pressedLook) {
        offset = 2;
        navbar::Frame3D(painter, caption, highlight, shadow, 1);
        navbar::Frame3D(painter, caption, shadow, highlight, 1);
    } else {
        const auto frame = [&](navbar::TBevelCut cut) {
            if (cut == navbar::bvNone)
                return;
            ++offset;
            if (cut == navbar::bvLowered)
                navbar::Frame3D(painter, caption, shadow, highlight, settings.BevelWidth());
            else
                navbar::Frame3D(painter, caption, highlight, shadow, settings.BevelWidth());
        };
        frame(settings.BevelOuter());
        frame(settings.BevelInner());
    }
    painter.fillRect(caption, toQColor(settings.HeaderColor(), pal));

    const TImageList *images = bar ? bar->Images() : nullptr;
    const bool withImage = images && m_imageIndex >= 0;
    if (withImage) {
        const int iw = images->Width();
        const int ih = images->Height();
        int x = caption.x() + 2;
        if (settings.Layout() == navbar::glGlyphRight)
            x = rightOf(caption) - iw - 2;
        else if (settings.Layout() == navbar::glGlyphCenter)
            x = (caption.width() - iw) / 2 + offset;
        images->Draw(painter, x, (caption.height() - ih) / 2 + offset, m_imageIndex);
    }

    if (hasFocus()) {
        caption.adjust(1, 1, -1, -1);
        navbar::drawFocusRect(painter, caption);
    }

    const navbar::ColoredFont &font = hot ? settings.HighlightFont() : settings.HeaderFont();
    painter.setFont(font.font);
    const int h = QFontMetrics(font.font).height();
    const int top = (bottomOf(caption) + caption.y() - h) / 2;
    int left = caption.x();
    int right = rightOf(caption);
    if (withImage) {
        if (settings.Layout() == navbar::glGlyphLeft && settings.Alignment() == navbar::taLeftJustify)
            left += images->Width() + 3;
        else if (settings.Layout() == navbar::glGlyphRight && settings.Alignment() == navbar::taRightJustify)
            right -= images->Width() + 4;
    }
    if (pressedLook)
        left += offset / 2;
    const QRect textRect = rectFromEdges(left, top, right, top + h);
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextShowMnemonic;
    switch (settings.Alignment()) {
    case navbar::taLeftJustify: flags |= Qt::AlignLeft; break;
    case navbar::taRightJustify: flags |= Qt::AlignRight; break;
    case navbar::taCenter: flags |= Qt::AlignHCenter; break;
    }
    if (!enabled) {
        painter.setPen(highlight);
        painter.drawText(textRect.translated(1, 1), flags, m_caption);
        painter.setPen(shadow);
    } else {
        painter.setPen(toQColor(font.color, pal));
    }
    painter.drawText(textRect, flags, m_caption);
}

// ---------------------------------------------------------------------------
// Events

bool TNavBarHeader::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        if (m_mnemonicId && static_cast<QShortcutEvent *>(event)->shortcutId() == m_mnemonicId) {
            if (CanFocus())
                openThis();
            return true;
        }
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (!m_destroying) {
            const bool shown = event->type() == QEvent::ShowToParent;
            if (shown && OnShow)
                OnShow(this);
            if (!shown && OnHide)
                OnHide(this);
            if (TNavBar *bar = OwnerBar())
                bar->headerVisibilityChanged();
        }
        break;
    case QEvent::ParentChange:
        updateContentsMargins();
        syncFocusPolicy();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TNavBarHeader::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    QObject *child = event->child();
    if (event->added() && child->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(child);
        m_tabList.append(widget);
        // A button under construction is still a plain widget here; it
        // reports itself once it is complete.
        if (auto *button = qobject_cast<TNavButton *>(widget))
            buttonAdded(button);
    } else if (event->removed()) {
        m_tabList.remove(child);
        if (m_destroying)
            return;
        m_firstVisibleButton = std::max(0, std::min(m_firstVisibleButton, ButtonCount() - 1));
        ArrangeButtons();
        update();
    }
}

void TNavBarHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void TNavBarHeader::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_overCaption = event->position().y() < CaptionHeight();
    TNavBar *bar = OwnerBar();
    if (bar && bar->HotHeader() != this && bar->isEnabled() && m_overCaption)
        bar->setHotHeader(this);
}

void TNavBarHeader::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_captionPressed) {
        m_captionPressed = false;
        update();
    }
}

void TNavBarHeader::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    m_overCaption = event->position().y() < CaptionHeight();
    TNavBar *bar = OwnerBar();
    if (!bar || !bar->isEnabled())
        return;
    if (bar->HotHeader() == this && !m_overCaption)
        bar->setHotHeader(nullptr);
    else if (!bar->HotHeader() && m_overCaption)
        bar->setHotHeader(this);
}

void TNavBarHeader::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < CaptionHeight()) {
        m_captionPressed = true;
        if (CanFocus())
            setFocus(Qt::MouseFocusReason);
        update();
    }
}

void TNavBarHeader::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    TNavBar *bar = OwnerBar();
    const bool wasPressed = m_captionPressed;
    m_captionPressed = false;
    if (bar && event->button() == Qt::LeftButton && wasPressed && bar->ActiveHeader() != this && m_overCaption &&
        p.y() > 0 && p.y() < CaptionHeight() && p.x() > 0 && p.x() < width()) {
        bar->ChangeActiveHeader(this);
    } else if (wasPressed) {
        update();
    }
    if (event->button() == Qt::LeftButton && rect().contains(p) && OnClick)
        OnClick(this);
}

void TNavBarHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

void TNavBarHeader::keyPressEvent(QKeyEvent *event)
{
    TNavBar *bar = OwnerBar();
    if (!bar) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openThis();
        return;
    case Qt::Key_PageUp:
        bar->ChangeActiveHeader(bar->PreviousHeader(bar->ActiveHeader()));
        return;
    case Qt::Key_PageDown:
        bar->ChangeActiveHeader(bar->NextHeader(bar->ActiveHeader()));
        return;
    default:
        break;
    }
    const QChar mnemonic = navbar::acceleratorOf(m_caption);
    if (!mnemonic.isNull() && hasFocus() && CanFocus() && event->text().size() == 1 &&
        event->text().at(0).toLower() == mnemonic) {
        openThis();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TNavBarHeader::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TNavBarHeader::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TNavBarHeader::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange ||
        event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

void TNavBarHeader::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    else
        event->ignore();
}

void TNavBarHeader::dragEnterEvent(QDragEnterEvent *event)
{
    if (DragOver(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TNavBarHeader::dragMoveEvent(QDragMoveEvent *event)
{
    if (DragOver(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

} // namespace wharf
