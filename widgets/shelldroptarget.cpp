#include "shelldroptarget.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdlib>

namespace wharf {
namespace {

// The control property that records which drop target has the control, so
// that a second target is refused as the system refuses a second
// registration of one window.
const char *const kRegisteredTarget = "wharfDropTarget";

constexpr uint32_t kEffectBits = kDropEffectCopy | kDropEffectMove | kDropEffectLink;

uint32_t effectsOf(Qt::DropActions actions)
{
    uint32_t effects = 0;
    if (actions & Qt::CopyAction)
        effects |= kDropEffectCopy;
    if (actions & Qt::MoveAction)
        effects |= kDropEffectMove;
    if (actions & Qt::LinkAction)
        effects |= kDropEffectLink;
    return effects;
}

Qt::DropAction actionOf(uint32_t effect)
{
    if (effect & kDropEffectCopy)
        return Qt::CopyAction;
    if (effect & kDropEffectMove)
        return Qt::MoveAction;
    if (effect & kDropEffectLink)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

// Gives the Qt event the answer: an effect to show, or no drop here.
void answer(QDropEvent *event, uint32_t effect)
{
    if (effect & kEffectBits) {
        event->setDropAction(actionOf(effect));
        event->accept();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}

bool scrollBarPresent(const QScrollBar *bar, Qt::ScrollBarPolicy policy)
{
    if (!bar || policy == Qt::ScrollBarAlwaysOff)
        return false;
    return policy == Qt::ScrollBarAlwaysOn || bar->maximum() > bar->minimum();
}

QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile()) {
            const QString path = url.toLocalFile();
            if (!path.isEmpty())
                files << path;
        }
    return files;
}

} // namespace

TDropTarget::TDropTarget(QObject *owner) : QObject(owner), m_scrollTimer(new QTimer(this))
{
    m_scrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
    m_scrollTimer->setInterval(ScrollInterval);
    connect(m_scrollTimer, &QTimer::timeout, this, &TDropTarget::ScrollTimerTimer);
}

TDropTarget::~TDropTarget()
{
    try {
        Unregister();
    } catch (const std::exception &e) {
        qWarning("%s", e.what());
    }
}

QWidget *TDropTarget::dropWidget() const { return m_dropWidget ? m_dropWidget.data() : m_target.data(); }

void TDropTarget::Register(QWidget *control)
{
    if (control == m_target && (control == nullptr || m_registered))
        return;
    if (m_target)
        Unregister();
    if (!control)
        return;
    const QVariant owner = control->property(kRegisteredTarget);
    if (owner.isValid() && owner.value<QObject *>() != nullptr && owner.value<QObject *>() != this)
        throw EDropTargetError("Failed to Register " + control->objectName().toStdString());

    m_target = control;
    auto *area = qobject_cast<QAbstractScrollArea *>(control);
    m_dropWidget = area ? area->viewport() : nullptr;
    control->setProperty(kRegisteredTarget, QVariant::fromValue<QObject *>(this));
    m_targetAcceptedDrops = control->acceptDrops();
    control->setAcceptDrops(true);
    control->installEventFilter(this);
    if (m_dropWidget) {
        m_dropWidgetAcceptedDrops = m_dropWidget->acceptDrops();
        m_dropWidget->setAcceptDrops(true);
        m_dropWidget->installEventFilter(this);
    }
    m_registered = true;
}

void TDropTarget::Unregister()
{
    m_registered = false;
    m_scrollTimer->stop();
    releaseData();
    if (!m_target) {
        m_dropWidget = nullptr;
        return;
    }
    QWidget *control = m_target;
    if (control->property(kRegisteredTarget).value<QObject *>() != this)
        throw EDropTargetError("Failed to Unregister " + control->objectName().toStdString());
    control->removeEventFilter(this);
    control->setAcceptDrops(m_targetAcceptedDrops);
    control->setProperty(kRegisteredTarget, QVariant());
    if (m_dropWidget) {
        m_dropWidget->removeEventFilter(this);
        m_dropWidget->setAcceptDrops(m_dropWidgetAcceptedDrops);
    }
    m_target = nullptr;
    m_dropWidget = nullptr;
}

QPoint TDropTarget::toClient(QObject *watched, QPoint point) const
{
    if (m_dropWidget && watched == m_target.data())
        return m_dropWidget->mapFrom(m_target, point);
    return point;
}

QSize TDropTarget::clientSize() const
{
    const QWidget *widget = dropWidget();
    return widget ? widget->size() : QSize();
}

bool TDropTarget::inScrollBand(QPoint point) const
{
    const QSize size = clientSize();
    if (m_scrollHorizontal && (point.x() < m_scrollMargin || point.x() > size.width() - m_scrollMargin))
        return true;
    return m_scrollVertically && (point.y() < m_scrollMargin || point.y() > size.height() - m_scrollMargin);
}

uint32_t TDropTarget::GetDropEffect(Qt::KeyboardModifiers shift, QPoint point, uint32_t allowed)
{
    allowed &= static_cast<uint32_t>(m_dragTypes.toInt());
    if (OnGetDropEffect) {
        uint32_t effect = allowed;
        OnGetDropEffect(this, shift, point, effect);
        return effect;
    }
    const bool shiftHeld = shift.testFlag(Qt::ShiftModifier);
    const bool ctrlHeld = shift.testFlag(Qt::ControlModifier);
    uint32_t effect = kDropEffectNone;
    if (shiftHeld && ctrlHeld && (allowed & kDropEffectLink))
        effect = kDropEffectLink;
    else if (shiftHeld && !ctrlHeld && (allowed & kDropEffectMove))
        effect = kDropEffectMove;
    else if (allowed & kDropEffectCopy)
        effect = kDropEffectCopy;
    else if (allowed & kDropEffectMove)
        effect = kDropEffectMove;
    else if (allowed & kDropEffectLink)
        effect = kDropEffectLink;
    if ((m_scrollHorizontal || m_scrollVertically) && inScrollBand(point))
        effect |= kDropEffectScroll;
    return effect;
}

void TDropTarget::releaseData()
{
    m_data = nullptr;
    m_fetchedOnEnter = false;
}

void TDropTarget::DragEnter(const QMimeData *data, Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    DiscardDroppedData();
    m_data = data;
    m_lastPoint = point;
    if (!data || !OffersFileDropFormat(data)) {
        releaseData();
        effect = kDropEffectNone;
        return;
    }
    m_scrollHorizontal = false;
    m_scrollVertically = false;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_target.data())) {
        m_scrollHorizontal = scrollBarPresent(area->horizontalScrollBar(), area->horizontalScrollBarPolicy());
        m_scrollVertically = scrollBarPresent(area->verticalScrollBar(), area->verticalScrollBarPolicy());
    }
    m_scrollMargin = m_target ? std::abs(QFontInfo(m_target->font()).pixelSize()) : 0;
    if (m_getDataOnEnter)
        m_fetchedOnEnter = FetchDroppedData(data);
    effect = GetDropEffect(shift, point, effect);
    DoEnter(shift, point, effect);
}

void TDropTarget::DragOver(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    if (m_data) {
        effect = GetDropEffect(shift, point, effect);
        DoDragOver(shift, point, effect);
        const bool scroll = (m_scrollHorizontal || m_scrollVertically) && (effect & kDropEffectScroll);
        if (!scroll)
            m_scrollTimer->stop();
        else if (!m_scrollTimer->isActive())
            m_scrollTimer->start();
    } else {
        effect = kDropEffectNone;
    }
    m_lastPoint = point;
}

void TDropTarget::DragLeave()
{
    DiscardDroppedData();
    m_scrollTimer->stop();
    releaseData();
    DoLeave();
}

void TDropTarget::Drop(const QMimeData *data, Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    if (!m_data) {
        effect = kDropEffectNone;
        return;
    }
    if (data)
        m_data = data;
    m_scrollTimer->stop();
    m_lastPoint = point;
    effect = GetDropEffect(shift, point, effect);
    // Data read on enter counts only when it held something to drop.
    const bool haveData = m_getDataOnEnter ? m_fetchedOnEnter : FetchDroppedData(m_data);
    if (haveData)
        DoDrop(shift, point, effect);
    else
        effect = kDropEffectNone;
    DiscardDroppedData();
    releaseData();
}

void TDropTarget::ScrollTimerTimer()
{
    auto *area = qobject_cast<QAbstractScrollArea *>(m_target.data());
    if (!area)
        return;
    const QSize size = clientSize();
    if (m_lastPoint.y() < m_scrollMargin)
        area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (m_lastPoint.y() > size.height() - m_scrollMargin)
        area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (m_lastPoint.x() < m_scrollMargin)
        area->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (m_lastPoint.x() > size.width() - m_scrollMargin)
        area->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void TDropTarget::DoEnter(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    if (OnEnter)
        OnEnter(this, shift, point, effect);
}

void TDropTarget::DoDragOver(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    if (OnDragOver)
        OnDragOver(this, shift, point, effect);
}

void TDropTarget::DoDrop(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)
{
    if (OnDrop)
        OnDrop(this, shift, point, effect);
}

void TDropTarget::DoLeave()
{
    if (OnLeave)
        OnLeave(this);
}

uint32_t TDropTarget::preferredDropEffect(const QMimeData *data)
{
    if (!data)
        return kDropEffectNone;
    // File managers mark cut files in one of these two ways.
    const QByteArray gnome = data->data(QStringLiteral("x-special/gnome-copied-files"));
    if (!gnome.isEmpty()) {
        const QByteArray verb = gnome.left(gnome.indexOf('\n')).trimmed();
        if (verb == "cut")
            return kDropEffectMove;
        if (verb == "copy")
            return kDropEffectCopy;
    }
    if (data->data(QStringLiteral("application/x-kde-cutselection")).trimmed() == "1")
        return kDropEffectMove;
    return kDropEffectNone;
}

uint32_t TDropTarget::PasteFilesFromClipboard()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? preferredDropEffect(clipboard->mimeData()) : kDropEffectNone;
}

bool TDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_target.data() && (!m_dropWidget || watched != m_dropWidget.data()))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        uint32_t effect = effectsOf(enter->possibleActions());
        DragEnter(enter->mimeData(), enter->modifiers(), toClient(watched, enter->position().toPoint()), effect);
        if (!m_data)
            return false; // no files: the control handles the drag itself
        // The enter is taken even when nothing may be dropped yet, so that
        // the moves that follow (with other keys) still arrive.
        enter->setDropAction(actionOf(effect));
        enter->accept();
        return true;
    }
    case QEvent::DragMove: {
        if (!m_data)
            return false;
        auto *move = static_cast<QDragMoveEvent *>(event);
        uint32_t effect = effectsOf(move->possibleActions());
        DragOver(move->modifiers(), toClient(watched, move->position().toPoint()), effect);
        answer(move, effect);
        return true;
    }
    case QEvent::DragLeave: {
        const bool held = m_data != nullptr;
        DragLeave();
        return held;
    }
    case QEvent::Drop: {
        if (!m_data)
            return false;
        auto *drop = static_cast<QDropEvent *>(event);
        uint32_t effect = effectsOf(drop->possibleActions());
        Drop(drop->mimeData(), drop->modifiers(), toClient(watched, drop->position().toPoint()), effect);
        answer(drop, effect);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

TFileDropTarget::TFileDropTarget(QObject *owner) : TDropTarget(owner) {}

bool TFileDropTarget::OffersFileDropFormat(const QMimeData *data) const { return !localFiles(data).isEmpty(); }

void TFileDropTarget::DiscardDroppedData()
{
    m_files.clear();
    m_mappedNames.clear();
}

bool TFileDropTarget::FetchDroppedData(const QMimeData *data)
{
    DiscardDroppedData();
    m_files = localFiles(data);
    return !m_files.isEmpty();
}

uint32_t TFileDropTarget::PasteFilesFromClipboard()
{
    DiscardDroppedData();
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    m_files = localFiles(data);
    if (m_files.isEmpty())
        return kDropEffectNone;
    const uint32_t preferred = preferredDropEffect(data);
    return preferred ? preferred : kDropEffectCopy;
}

} // namespace wharf
