#include "navbutton.h"

#include "imagelist.h"
#include "navbar.h"
#include "navbarheader.h"
#include "navbarpaint.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace wharf {
namespace {

constexpr auto kDragFormat = "application/x-wharf-navbutton";

int actionImageIndex(const QAction &action)
{
    const QVariant value = action.property("ImageIndex");
    return value.isValid() ? value.toInt() : -1;
}

int actionHelpContext(const QAction &action) { return action.property("HelpContext").toInt(); }

} // namespace

TNavButton::TNavButton(QWidget *parent) : QWidget(parent)
{
    resize(60, 60);
    updateOpacity();
    updateSizeLock();
    syncFocusPolicy();
    if (parent && parent->isVisible())
        show();
    if (TNavBarHeader *header = ParentHeader())
        header->buttonAdded(this);
}

TNavButton::~TNavButton()
{
    if (m_mnemonicId)
        releaseShortcut(m_mnemonicId);
}

TNavBarHeader *TNavButton::ParentHeader() const { return qobject_cast<TNavBarHeader *>(parentWidget()); }

TNavBar *TNavButton::ParentBar() const
{
    const TNavBarHeader *header = ParentHeader();
    return header ? header->OwnerBar() : nullptr;
}

void TNavButton::setAction(QAction *action)
{
    if (m_action == action)
        return;
    for (auto &link : m_actionLinks)
        disconnect(link);
    m_action = action;
    if (action) {
        m_actionLinks[0] = connect(action, &QAction::changed, this, [this] { actionChanged(false); });
        m_actionLinks[1] = connect(action, &QObject::destroyed, this, [this] { update(); });
        actionChanged(true);
    }
    update();
}

void TNavButton::actionChanged(bool assigned)
{
    if (!m_action)
        return;
    const QAction &action = *m_action;
    const ActionSnapshot now{action.text(), action.isEnabled(), actionHelpContext(action), action.toolTip(),
                             actionImageIndex(action), action.isVisible()};
    const ActionSnapshot &seen = m_actionSeen;
    if (assigned || m_caption == seen.caption)
        setCaption(now.caption);
    if (assigned || isEnabled() == seen.enabled)
        setEnabled(now.enabled);
    if (assigned || m_helpContext == seen.helpContext)
        m_helpContext = now.helpContext;
    if (assigned || toolTip() == seen.hint)
        setToolTip(now.hint);
    if (assigned || m_imageIndex == seen.imageIndex)
        setImageIndex(now.imageIndex);
    if (assigned || isHidden() != seen.visible)
        setVisible(now.visible);
    m_actionSeen = now;
}

void TNavButton::setAutoSize(bool value)
{
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    updateSizeLock();
    // The header sizes its auto-sized buttons from the settings in effect.
    if (TNavBarHeader *header = ParentHeader())
        header->SettingsChanged(&header->EffectiveSettings());
}

void TNavButton::updateSizeLock()
{
    if (m_autoSize) {
        setFixedSize(size());
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TNavButton::applySize(int width, int height)
{
    const QSize target(std::max(0, width), std::max(0, height));
    if (m_autoSize)
        setFixedSize(target);
    else
        resize(target);
}

void TNavButton::setButtonStyle(navbar::TButtonStyle value)
{
    if (m_style == value)
        return;
    m_style = value;
    update();
}

int16_t TNavButton::GetButtonIndex() const
{
    const TNavBarHeader *header = ParentHeader();
    return static_cast<int16_t>(header ? header->m_tabList.indexOf(this) : -1);
}

void TNavButton::setButtonIndex(int value)
{
    TNavBarHeader *header = ParentHeader();
    if (!header || value == GetButtonIndex())
        return;
    header->m_tabList.move(this, value);
    header->m_tabList.applyToFocusChain();
    header->buttonLayoutChanged();
}

void TNavButton::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    updateMnemonic();
    update();
}

TColor TNavButton::Color() const
{
    const TNavBarHeader *header = ParentHeader();
    return m_parentColor && header ? header->Color() : m_color;
}

void TNavButton::setColor(TColor value)
{
    m_parentColor = false;
    if (m_color == value)
        return;
    m_color = value;
    update();
}

void TNavButton::setParentColor(bool value)
{
    if (m_parentColor == value)
        return;
    m_parentColor = value;
    update();
}

void TNavButton::setFont(const navbar::ColoredFont &value)
{
    const bool colourChanged = m_fontColor != value.color;
    m_fontColor = value.color;
    QWidget::setFont(value.font);
    if (colourChanged)
        update();
}

void TNavButton::setImageIndex(int value)
{
    if (m_imageIndex == value)
        return;
    m_imageIndex = value;
    update();
}

void TNavButton::watchImages(QPointer<TImageList> &slot, std::array<QMetaObject::Connection, 2> &links,
                             TImageList *list)
{
    if (slot == list)
        return;
    for (auto &link : links)
        disconnect(link);
    slot = list;
    if (list) {
        links[0] = connect(list, &TImageList::changed, this, [this] { update(); });
        links[1] = connect(list, &QObject::destroyed, this, [this] { update(); });
    }
    update();
}

void TNavButton::setLargeImages(TImageList *list) { watchImages(m_largeImages, m_largeLinks, list); }

void TNavButton::setSmallImages(TImageList *list) { watchImages(m_smallImages, m_smallLinks, list); }

void TNavButton::setPopupMenu(QMenu *menu) { m_popupMenu = menu; }

void TNavButton::setTabStop(bool value)
{
    if (m_tabStop == value)
        return;
    m_tabStop = value;
    syncFocusPolicy();
}

void TNavButton::updateOpacity()
{
    // A button that paints its whole area itself (its colour, or its
    // header's look) needs nothing drawn beneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent || ParentHeader());
}

void TNavButton::setTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    updateOpacity();
    update();
    if (TNavBarHeader *header = ParentHeader())
        header->buttonLayoutChanged();
}

void TNavButton::Click()
{
    if (OnClick)
        OnClick(this);
    else if (m_action)
        m_action->trigger();
}

bool TNavButton::CanFocus() const
{
    const bool base = isEnabled() && isVisibleTo(window());
    const TNavBarHeader *header = ParentHeader();
    const TNavBar *bar = header ? header->OwnerBar() : nullptr;
    if (!bar || !base)
        return base;
    return header->EffectiveSettings().KeySupport() && bar->ActiveHeader() == header;
}

void TNavButton::syncFocusPolicy()
{
    setFocusPolicy(m_tabStop && CanFocus() ? Qt::TabFocus : Qt::NoFocus);
    updateMnemonic();
}

void TNavButton::updateMnemonic()
{
    if (m_mnemonicId) {
        releaseShortcut(m_mnemonicId);
        m_mnemonicId = 0;
    }
    // Only a button that may take the focus answers its accelerator, so a
    // bar without key support leaves Alt+letter to the menus.
    const QKeySequence sequence = QKeySequence::mnemonic(m_caption);
    if (!sequence.isEmpty() && CanFocus())
        m_mnemonicId = grabShortcut(sequence);
}

void TNavButton::BeginDrag()
{
    m_pressed = false;
    m_clickArmed = false;
    update();
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kDragFormat), QByteArray());
    drag->setMimeData(data);
    drag->setPixmap(grab());
    drag->exec(Qt::MoveAction);
}

bool TNavButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        if (static_cast<QShortcutEvent *>(event)->shortcutId() == m_mnemonicId && m_mnemonicId) {
            if (CanFocus())
                Click();
            return true;
        }
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (TNavBarHeader *header = ParentHeader())
            header->buttonLayoutChanged();
        break;
    case QEvent::ParentChange:
        updateOpacity();
        syncFocusPolicy();
        update();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

const navbar::ColoredFont &TNavButton::captionFont(navbar::ColoredFont &own) const
{
    if (const TNavBarHeader *header = ParentHeader()) {
        const TNavBar *bar = header->OwnerBar();
        if (bar && bar->CommonStyle())
            return bar->HeaderSettings().ButtonFont();
        if (header->CommonStyle())
            return header->HeaderSettings().ButtonFont();
    }
    own = Font();
    return own;
}

void TNavButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const int W = width();
    const int H = height();

    // Background: the colour, or the header's own look under the button.
    // Sibling buttons cover each other like the windows they are, so a
    // button scrolled past stays hidden under the one that took its place.
    // Over any other parent Qt composes the parent beneath.
    if (!m_transparent) {
        painter.fillRect(rect(), toQColor(Color(), pal));
    } else if (TNavBarHeader *header = ParentHeader()) {
        header->paintUnder(painter, geometry());
    }

    navbar::ColoredFont own;
    const navbar::ColoredFont &captionFontRef = captionFont(own);
    painter.setFont(captionFontRef.font);
    painter.setPen(toQColor(captionFontRef.color, pal));
    const QFontMetrics metrics(captionFontRef.font);
    int textFlags = Qt::TextSingleLine | Qt::TextDontClip | Qt::TextExpandTabs | Qt::TextShowMnemonic;
    if (layoutDirection() == Qt::RightToLeft)
        textFlags |= Qt::TextForceRightToLeft;
    const bool enabled = isEnabled();
    // A disabled button shows neither the pointer's nor a press's edge.
    const bool pressed = enabled && m_pressed;
    const bool mouseOver = enabled && m_mouseOver;
    const int shift = pressed ? 1 : 0;
    // A disabled caption is drawn engraved: a light copy one pixel down and
    // right, the caption itself in the shadow colour over it.
    const auto caption = [&](const QRect &box, int flags) {
        if (enabled) {
            painter.drawText(box, flags, m_caption);
            return;
        }
        painter.setPen(toQColor(cl3DLight, pal));
        painter.drawText(box.translated(1, 1), flags, m_caption);
        painter.setPen(toQColor(clBtnShadow, pal));
        painter.drawText(box, flags, m_caption);
    };

    QRect edgeBox;
    if (m_style == navbar::bsLarge) {
        const TImageList *images = m_largeImages;
        const QSize imageSize = images ? QSize(images->Width(), images->Height()) : QSize();
        const QRect imageBox((W - imageSize.width()) / 2, 4, imageSize.width(), imageSize.height());
        if (images && m_imageIndex >= 0) {
            images->Draw(painter, imageBox.x() + shift, imageBox.y() + shift, m_imageIndex, enabled);
            edgeBox = imageBox.adjusted(-2, -2, 2, 2);
        } else {
            edgeBox = images ? imageBox : rect();
        }
        const int h = metrics.height();
        caption(navbar::rectFromEdges(0, H - h - 2, W, H), textFlags | Qt::AlignHCenter | Qt::AlignTop);
    } else {
        const TImageList *images = m_smallImages;
        QRect captionArea = rect();
        if (images && m_imageIndex >= 0) {
            images->Draw(painter, 2 + shift, (H - images->Height()) / 2 + shift, m_imageIndex, enabled);
            edgeBox = navbar::rectFromEdges(0, 0, images->Width() + 4, H);
            captionArea = navbar::rectFromEdges(images->Width() + 4, 0, W, H);
        } else {
            edgeBox = images ? QRect(2, 2, images->Width(), images->Height()) : rect();
        }
        const int h = metrics.height();
        const QRect textRect(captionArea.x() + 2, captionArea.y() + (captionArea.height() - h) / 2,
                             std::max(0, captionArea.width() - 2), h);
        caption(textRect, textFlags | Qt::AlignLeft | Qt::AlignTop);
    }

    if (pressed)
        navbar::drawSunkenInnerEdge(painter, edgeBox, pal);
    else if (mouseOver)
        navbar::drawRaisedOuterEdge(painter, edgeBox, pal);

    if (hasFocus() && !m_mouseOver)
        navbar::drawFocusRect(painter, navbar::rectFromEdges(1, 1, W - 1, H - 1));
}

void TNavButton::enterEvent(QEnterEvent *)
{
    m_mouseOver = true;
    update();
}

void TNavButton::leaveEvent(QEvent *)
{
    m_mouseOver = false;
    m_pressed = false;
    update();
}

void TNavButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_clickArmed = true;
        m_pressPosition = event->position().toPoint();
        update();
    }
}

void TNavButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const bool inside = rect().contains(position);
    // While the button is held Qt keeps the pointer's events here and
    // reports no leave; leaving and coming back are told by the position.
    if (event->buttons() & Qt::LeftButton) {
        if (m_mouseOver && !inside) {
            m_mouseOver = false;
            m_pressed = false;
            update();
        } else if (!m_mouseOver && inside) {
            m_mouseOver = true;
            update();
        }
        if (m_dragMode == navbar::dmAutomatic && m_clickArmed &&
            (position - m_pressPosition).manhattanLength() >= QApplication::startDragDistance())
            BeginDrag();
    }
}

void TNavButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (CanFocus())
        setFocus(Qt::MouseFocusReason);
    update();
    const bool click = m_clickArmed && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    if (click)
        Click();
}

void TNavButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The first press of the pair has clicked already; this one only
    // double-clicks.
    m_pressed = true;
    m_clickArmed = false;
    update();
    if (OnDblClick)
        OnDblClick(this);
}

void TNavButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Click();
        return;
    }
    const QChar mnemonic = navbar::acceleratorOf(m_caption);
    if (!mnemonic.isNull() && hasFocus() && CanFocus() && event->text().size() == 1 &&
        event->text().at(0).toLower() == mnemonic) {
        Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TNavButton::focusInEvent(QFocusEvent *event)
{
    // A button of a header that is not open cannot hold the focus.
    if (!CanFocus() && ParentBar()) {
        clearFocus();
        return;
    }
    QWidget::focusInEvent(event);
    update();
}

void TNavButton::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TNavButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TNavButton::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu)
        m_popupMenu->popup(event->globalPos());
    else
        event->ignore();
}

} // namespace wharf
