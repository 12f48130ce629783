#include "shelldroptarget.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <memory>
#include <vector>

namespace wharf {
namespace {

std::unique_ptr<QMimeData> fileDrag(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// A control that records the drag events that reach it.
class RecordingWidget : public QWidget {
public:
    std::vector<QEvent::Type> seen;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override { record(event); }
    void dragMoveEvent(QDragMoveEvent *event) override { record(event); }
    void dragLeaveEvent(QDragLeaveEvent *event) override { record(event); }
    void dropEvent(QDropEvent *event) override { record(event); }

private:
    void record(QEvent *event)
    {
        seen.push_back(event->type());
        event->accept();
    }
};

// What a drag event was answered with.
struct Answer {
    bool accepted;
    Qt::DropAction action;
};

// Sends Qt drag events to a widget as the toolkit does during a drag.
struct DragSender {
    QWidget *widget;
    const QMimeData *data;
    Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

    Answer enter(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QDragEnterEvent event(at, allowed, data, Qt::LeftButton, keys);
        return send(event);
    }
    Answer move(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QDragMoveEvent event(at, allowed, data, Qt::LeftButton, keys);
        return send(event);
    }
    void leave()
    {
        QDragLeaveEvent event;
        QApplication::sendEvent(widget, &event);
    }
    Answer drop(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QDropEvent event(QPointF(at), allowed, data, Qt::LeftButton, keys);
        return send(event);
    }

private:
    Answer send(QDropEvent &event)
    {
        event.setAccepted(false);
        QApplication::sendEvent(widget, &event);
        return {event.isAccepted(), event.dropAction()};
    }
};

TEST(TDropTargetTest, EffectsFollowTheDragTypesAndKeys)
{
    TFileDropTarget target;
    target.setDragtypes(dtCopy | dtLink);
    const uint32_t all = kDropEffectCopy | kDropEffectMove | kDropEffectLink;
    struct Case {
        Qt::KeyboardModifiers keys;
        uint32_t allowed;
        uint32_t effect;
    };
    for (const Case &c : {Case{Qt::NoModifier, all, kDropEffectCopy},
                          Case{Qt::ShiftModifier | Qt::ControlModifier, all, kDropEffectLink},
                          Case{Qt::ShiftModifier, all, kDropEffectCopy}, // move is not allowed
                          Case{Qt::ControlModifier, all, kDropEffectCopy},
                          Case{Qt::NoModifier, kDropEffectMove, kDropEffectNone},
                          Case{Qt::NoModifier, kDropEffectLink | kDropEffectMove, kDropEffectLink}})
        EXPECT_EQ(target.GetDropEffect(c.keys, QPoint(5, 5), c.allowed), c.effect)
            << c.keys.toInt() << " " << c.allowed;

    target.setDragtypes(dtCopy | dtMove | dtLink);
    EXPECT_EQ(target.GetDropEffect(Qt::ShiftModifier, QPoint(), all), kDropEffectMove);
    uint32_t offered = 0;
    target.OnGetDropEffect = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &effect) {
        offered = effect;
        effect = kDropEffectLink;
    };
    EXPECT_EQ(target.GetDropEffect(Qt::NoModifier, QPoint(), kDropEffectCopy | kDropEffectLink), kDropEffectLink);
    EXPECT_EQ(offered, kDropEffectCopy | kDropEffectLink);
}

TEST(TDropTargetTest, AFileDropFiresTheEventsWithTheFiles)
{
    RecordingWidget control;
    control.setObjectName(QStringLiteral("TV_Files"));
    control.resize(200, 200);
    TFileDropTarget target;
    target.setDragtypes(dtCopy | dtLink);
    target.Register(&control);
    EXPECT_TRUE(control.acceptDrops());

    std::vector<std::string> events;
    QStringList filesInDrop;
    QPoint dropPoint;
    target.OnEnter = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &) { events.push_back("enter"); };
    target.OnDragOver = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &effect) {
        events.push_back("over");
        EXPECT_TRUE(target.Files().isEmpty()); // read at the drop, not before
        if (effect == kDropEffectLink)
            effect = kDropEffectNone; // the handler may refuse
    };
    target.OnDrop = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint point, uint32_t &) {
        events.push_back("drop");
        filesInDrop = target.Files();
        dropPoint = point;
    };
    target.OnLeave = [&](TDropTarget *) { events.push_back("leave"); };

    const QStringList paths = {QStringLiteral("/home/zoë/Ölfarben & Co/bild ä.bmp"),
                               QStringLiteral("/srv/日本語/設定.ini")};
    auto data = fileDrag(paths);
    DragSender drag{&control, data.get()};
    EXPECT_TRUE(drag.enter(QPoint(50, 50)).accepted);
    EXPECT_FALSE(drag.move(QPoint(60, 60), Qt::ShiftModifier | Qt::ControlModifier).accepted);
    const Answer moved = drag.move(QPoint(70, 70));
    EXPECT_TRUE(moved.accepted);
    EXPECT_EQ(moved.action, Qt::CopyAction);
    const Answer dropped = drag.drop(QPoint(80, 90));
    EXPECT_TRUE(dropped.accepted);
    EXPECT_EQ(dropped.action, Qt::CopyAction);

    EXPECT_EQ(events, (std::vector<std::string>{"enter", "over", "over", "drop"}));
    EXPECT_EQ(filesInDrop, paths);
    EXPECT_EQ(dropPoint, QPoint(80, 90));
    EXPECT_TRUE(target.Files().isEmpty());
    EXPECT_TRUE(target.MappedNames().isEmpty());
    EXPECT_TRUE(control.seen.empty()); // the target took the whole drag

    drag.enter(QPoint(1, 1));
    drag.leave();
    EXPECT_EQ(events.back(), "leave");
}

TEST(TDropTargetTest, DragsWithoutFilesPassThroughToTheControl)
{
    RecordingWidget control;
    control.setAcceptDrops(true);
    TFileDropTarget target;
    target.setDragtypes(dtCopy);
    target.setGetDataOnEnter(true);
    bool fired = false;
    target.OnEnter = target.OnDragOver = target.OnDrop = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint,
                                                             uint32_t &) { fired = true; };
    target.Register(&control);

    QMimeData text;
    text.setText(QStringLiteral("item 3"));
    text.setUrls({QUrl(QStringLiteral("https://example.org/a.txt"))}); // not a local file
    DragSender drag{&control, &text};
    drag.enter(QPoint(5, 5));
    drag.move(QPoint(6, 6));
    drag.drop(QPoint(6, 6));
    EXPECT_FALSE(fired);
    EXPECT_EQ(control.seen, (std::vector<QEvent::Type>{QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}));

    uint32_t effect = kDropEffectCopy;
    target.DragOver(Qt::NoModifier, QPoint(1, 1), effect); // no drag held
    EXPECT_EQ(effect, kDropEffectNone);
    target.Drop(&text, Qt::NoModifier, QPoint(1, 1), effect);
    EXPECT_EQ(effect, kDropEffectNone);
}

// Offers its format but finds nothing to drop when reading it.
class EmptyDataTarget : public TDropTarget {
protected:
    bool FetchDroppedData(const QMimeData *) override { return false; }
    void DiscardDroppedData() override {}
    bool OffersFileDropFormat(const QMimeData *) const override { return true; }
};

TEST(TDropTargetTest, DataReadOnEnterDropsOnlyWhenThereIsSomething)
{
    auto data = fileDrag({QStringLiteral("/a.txt")});
    QStringList seenOnEnter;
    TFileDropTarget files;
    files.setDragtypes(dtCopy);
    files.setGetDataOnEnter(true);
    files.OnEnter = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &) { seenOnEnter = files.Files(); };
    int drops = 0;
    files.OnDrop = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &) { ++drops; };
    uint32_t effect = kDropEffectCopy;
    files.DragEnter(data.get(), Qt::NoModifier, QPoint(), effect);
    EXPECT_EQ(seenOnEnter, QStringList{QStringLiteral("/a.txt")});
    effect = kDropEffectCopy;
    files.Drop(data.get(), Qt::NoModifier, QPoint(), effect);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(effect, kDropEffectCopy);

    for (bool onEnter : {true, false}) {
        EmptyDataTarget empty;
        empty.setDragtypes(dtCopy);
        empty.setGetDataOnEnter(onEnter);
        bool dropped = false;
        empty.OnDrop = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &) { dropped = true; };
        effect = kDropEffectCopy;
        empty.DragEnter(data.get(), Qt::NoModifier, QPoint(), effect);
        EXPECT_EQ(effect, kDropEffectCopy);
        empty.Drop(data.get(), Qt::NoModifier, QPoint(), effect);
        EXPECT_FALSE(dropped) << onEnter;
        EXPECT_EQ(effect, kDropEffectNone) << onEnter;
    }
}

TEST(TDropTargetTest, ScrollsATreeWhileTheDragRestsNearItsEdge)
{
    QTreeWidget tree;
    tree.setObjectName(QStringLiteral("TV_Files"));
    for (int i = 0; i < 200; ++i)
        tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("file %1").arg(i)}));
    tree.resize(200, 150);
    tree.show();
    QApplication::processEvents();
    ASSERT_GT(tree.verticalScrollBar()->maximum(), 0);

    TFileDropTarget target;
    target.setDragtypes(dtCopy | dtLink);
    target.Register(&tree);
    EXPECT_TRUE(tree.viewport()->acceptDrops());
    auto data = fileDrag({QStringLiteral("/x.txt")});
    DragSender drag{tree.viewport(), data.get()};
    const int height = tree.viewport()->height();
    const int margin = QFontInfo(tree.font()).pixelSize();

    drag.enter(QPoint(50, 50));
    EXPECT_TRUE(target.CanScrollVertically());
    EXPECT_EQ(target.ScrollMargin(), margin);
    EXPECT_FALSE(target.ScrollTimer()->isActive());
    EXPECT_EQ(target.ScrollTimer()->interval(), 100);

    uint32_t effect = kDropEffectCopy;
    target.DragOver(Qt::NoModifier, QPoint(50, height - margin + 1), effect);
    EXPECT_EQ(effect, kDropEffectCopy | kDropEffectScroll);
    EXPECT_TRUE(target.ScrollTimer()->isActive());
    const Answer qtMove = drag.move(QPoint(50, height - 2));
    EXPECT_TRUE(qtMove.accepted);
    EXPECT_EQ(qtMove.action, Qt::CopyAction);
    target.ScrollTimerTimer();
    target.ScrollTimerTimer();
    EXPECT_EQ(tree.verticalScrollBar()->value(), 2);

    drag.move(QPoint(50, height / 2)); // out of the band
    EXPECT_FALSE(target.ScrollTimer()->isActive());
    drag.move(QPoint(50, 2));
    EXPECT_TRUE(target.ScrollTimer()->isActive());
    target.ScrollTimerTimer();
    EXPECT_EQ(tree.verticalScrollBar()->value(), 1);
    drag.leave();
    EXPECT_FALSE(target.ScrollTimer()->isActive());
}

TEST(TDropTargetTest, RegistrationMovesBetweenControls)
{
    RecordingWidget first;
    first.setObjectName(QStringLiteral("First"));
    first.setAcceptDrops(true); // it takes its own drags
    auto second = std::make_unique<RecordingWidget>();
    TFileDropTarget target;
    target.setDragtypes(dtCopy);
    target.Register(&first);
    target.Register(&first); // nothing happens
    EXPECT_TRUE(target.Registered());

    TFileDropTarget other;
    try {
        other.Register(&first);
        ADD_FAILURE() << "a second registration must fail";
    } catch (const EDropTargetError &e) {
        EXPECT_STREQ(e.what(), "Failed to Register First");
    }
    EXPECT_EQ(other.Target(), nullptr);

    target.Register(second.get());
    EXPECT_EQ(target.Target(), second.get());
    EXPECT_TRUE(first.acceptDrops()); // given back as it was
    int drops = 0;
    target.OnDrop = [&](TDropTarget *, Qt::KeyboardModifiers, QPoint, uint32_t &) { ++drops; };
    auto data = fileDrag({QStringLiteral("/a")});
    DragSender toFirst{&first, data.get()};
    toFirst.enter(QPoint(1, 1));
    toFirst.drop(QPoint(1, 1));
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(first.seen.size(), 2u); // the first control handles its drags again
    DragSender toSecond{second.get(), data.get()};
    toSecond.enter(QPoint(1, 1));
    toSecond.drop(QPoint(1, 1));
    EXPECT_EQ(drops, 1);

    other.Register(&first); // free again
    EXPECT_TRUE(other.Registered());
    second.reset(); // a destroyed control is forgotten
    EXPECT_NO_THROW(target.Unregister());
    EXPECT_FALSE(target.Registered());
}

TEST(TDropTargetTest, PastesFilesFromTheClipboard)
{
    QClipboard *clipboard = QApplication::clipboard();
    TFileDropTarget target;
    auto cut = fileDrag({QStringLiteral("/a b/ü.txt"), QStringLiteral("/c")});
    cut->setData(QStringLiteral("x-special/gnome-copied-files"), "cut\nfile:///a%20b/%C3%BC.txt\nfile:///c");
    clipboard->setMimeData(cut.release());
    EXPECT_EQ(target.PasteFilesFromClipboard(), kDropEffectMove);
    EXPECT_EQ(target.Files(), (QStringList{QStringLiteral("/a b/ü.txt"), QStringLiteral("/c")}));

    clipboard->setMimeData(fileDrag({QStringLiteral("/d")}).release());
    EXPECT_EQ(target.PasteFilesFromClipboard(), kDropEffectCopy);
    clipboard->setText(QStringLiteral("no files"));
    EXPECT_EQ(target.PasteFilesFromClipboard(), kDropEffectNone);
    EXPECT_TRUE(target.Files().isEmpty());
    clipboard->clear();
}

} // namespace
} // namespace wharf
