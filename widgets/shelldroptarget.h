#pragma once
// Drop targets for files dragged in from the desktop's file manager (or any
// program that drags file URLs), bound to one control at a time.
//
// TDropTarget is the general part: the drop effect from the allowed drag
// types and the Shift and Ctrl keys, the enter, over, leave and drop events,
// and auto-scrolling of a scrollable target while the cursor rests near its
// edges (one line every 100 ms). TFileDropTarget reads the dropped file
// names into Files.
//
// Register(control) watches the control's drag events (for a scroll area,
// such as a tree or list view, those of its viewport). Only drags that carry
// local files are taken; any other drag passes through to the control
// untouched, so an item view's own drags keep working. Points are in the
// control's client coordinates (the viewport's for a scroll area). The drag
// image belongs to the drag source here, so ShowImage is kept but changes
// nothing.

#include <QFlags>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <stdexcept>

class QMimeData;
class QTimer;
class QWidget;

namespace wharf {

// Drop effects: the bits of TDragTypes plus the scroll bit.
constexpr uint32_t kDropEffectNone = 0;
constexpr uint32_t kDropEffectCopy = 1;
constexpr uint32_t kDropEffectMove = 2;
constexpr uint32_t kDropEffectLink = 4;
constexpr uint32_t kDropEffectScroll = 0x80000000u;

enum TDragType : uint32_t { dtCopy = kDropEffectCopy, dtMove = kDropEffectMove, dtLink = kDropEffectLink };
Q_DECLARE_FLAGS(TDragTypes, TDragType)

// Raised when a control can't be registered ("Failed to Register <name>":
// another drop target has it) or unregistered ("Failed to Unregister
// <name>": its registration is no longer this target's).
class EDropTargetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDropTarget : public QObject {
    Q_OBJECT
public:
    // (sender, Shift/Ctrl state, point in client coordinates, drop effect in
    // and out).
    using TDropTargetEvent =
        std::function<void(TDropTarget *sender, Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect)>;
    using TNotifyEvent = std::function<void(TDropTarget *sender)>;

    explicit TDropTarget(QObject *owner = nullptr);
    // Unregisters; a failure is reported as a warning, never thrown.
    ~TDropTarget() override;

    // Binds the target to control (none: unbind). Nothing when it is bound
    // already; a control bound before is unregistered first. Throws
    // EDropTargetError when another drop target has the control; the
    // control is then not bound.
    void Register(QWidget *control);
    // Unbinds the control. Throws EDropTargetError when its registration is
    // no longer this target's. A control that has been destroyed is simply
    // forgotten.
    void Unregister();
    bool Registered() const { return m_registered; }
    QWidget *Target() const { return m_target; }

    TDragTypes Dragtypes() const { return m_dragTypes; } // [none]
    void setDragtypes(TDragTypes types) { m_dragTypes = types; }
    // Read the data when the drag enters instead of at the drop [false].
    bool GetDataOnEnter() const { return m_getDataOnEnter; }
    void setGetDataOnEnter(bool value) { m_getDataOnEnter = value; }
    bool ShowImage() const { return m_showImage; } // [true]
    void setShowImage(bool value) { m_showImage = value; }

    // Events. OnEnter, OnDragOver and OnDrop may change the effect;
    // OnGetDropEffect replaces the key rule (it gets the allowed effects
    // reduced to Dragtypes and leaves the answer).
    TDropTargetEvent OnEnter;
    TDropTargetEvent OnDragOver;
    TNotifyEvent OnLeave;
    TDropTargetEvent OnDrop;
    TDropTargetEvent OnGetDropEffect;

    // The drag as the system reports it, in client coordinates; effect
    // holds the effects the source allows and returns the answer. The event
    // filter calls these for the control's Qt drag events.
    void DragEnter(const QMimeData *data, Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);
    void DragOver(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);
    void DragLeave();
    void Drop(const QMimeData *data, Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);

    // The effect for the allowed effects: reduced to Dragtypes, then
    // OnGetDropEffect's answer, or by keys: Shift+Ctrl link, Shift move,
    // else copy, move or link in that order of preference, else none; plus
    // kDropEffectScroll when the point lies in the scroll band of a target
    // that can scroll.
    virtual uint32_t GetDropEffect(Qt::KeyboardModifiers shift, QPoint point, uint32_t allowed);

    // Reads what the clipboard holds as if it had been dropped and returns
    // the effect the clipboard prefers (cut: move, copy: copy); 0 when it
    // states none.
    virtual uint32_t PasteFilesFromClipboard();

    // Auto-scroll: runs every ScrollInterval ms while a drag rests in the
    // scroll band; its handler is public so tests can tick it.
    QTimer *ScrollTimer() const { return m_scrollTimer; }
    static constexpr int ScrollInterval = 100;
    void ScrollTimerTimer();
    // The band's width (the target font's pixel height) and the directions
    // the target can scroll in, as found when the drag entered.
    int ScrollMargin() const { return m_scrollMargin; }
    bool CanScrollHorizontally() const { return m_scrollHorizontal; }
    bool CanScrollVertically() const { return m_scrollVertically; }

    bool eventFilter(QObject *watched, QEvent *event) override;

protected:
    virtual void DoEnter(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);
    virtual void DoDragOver(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);
    virtual void DoDrop(Qt::KeyboardModifiers shift, QPoint point, uint32_t &effect);
    virtual void DoLeave();
    // Reads the dropped data; true when there is something to drop.
    virtual bool FetchDroppedData(const QMimeData *data) = 0;
    virtual void DiscardDroppedData() = 0;
    // True when the drag carries the kind of data this target takes.
    virtual bool OffersFileDropFormat(const QMimeData *data) const = 0;

    // The effect the clipboard prefers (see PasteFilesFromClipboard).
    static uint32_t preferredDropEffect(const QMimeData *data);

private:
    QWidget *dropWidget() const; // where the drag events arrive
    QPoint toClient(QObject *watched, QPoint point) const;
    QSize clientSize() const;
    bool inScrollBand(QPoint point) const;
    void releaseData();

    TDragTypes m_dragTypes;
    bool m_getDataOnEnter = false;
    bool m_showImage = true;
    QPointer<QWidget> m_target;
    QPointer<QWidget> m_dropWidget;
    bool m_targetAcceptedDrops = false;
    bool m_dropWidgetAcceptedDrops = false;
    bool m_registered = false;
    const QMimeData *m_data = nullptr; // the drag in progress, not owned
    bool m_fetchedOnEnter = false;
    QPoint m_lastPoint;
    bool m_scrollHorizontal = false;
    bool m_scrollVertically = false;
    int m_scrollMargin = 0;
    QTimer *m_scrollTimer;
};

// A drop target for files: Files holds the dropped names (full Unicode
// paths with "/") during OnDrop, and from OnEnter on when GetDataOnEnter is
// set; it is empty again once the drop has been handled.
class TFileDropTarget : public TDropTarget {
    Q_OBJECT
public:
    explicit TFileDropTarget(QObject *owner = nullptr);

    const QStringList &Files() const { return m_files; }
    // Names the drag source maps the files to. No drag source here offers
    // such a mapping, so the list stays empty.
    const QStringList &MappedNames() const { return m_mappedNames; }

    // Reads the clipboard's local files into Files. 0 when there are none;
    // else the clipboard's preferred effect, or copy when it states none.
    uint32_t PasteFilesFromClipboard() override;

protected:
    bool FetchDroppedData(const QMimeData *data) override;
    void DiscardDroppedData() override;
    bool OffersFileDropFormat(const QMimeData *data) const override;

private:
    QStringList m_files;
    QStringList m_mappedNames;
};

} // namespace wharf

Q_DECLARE_OPERATORS_FOR_FLAGS(wharf::TDragTypes)
