#include "navbar.h"

#include "navbar_events.h"
#include "navbardemo.h"
#include "navbarheader.h"
#include "navbutton.h"
#include "qtprinters.h"
#include "taborderlist.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPointer>

#include <memory>
#include <vector>

namespace wharf {
namespace {

using namespace navtest;

struct Change {
    int oldIndex;
    int newIndex;
    bool operator==(const Change &) const = default;
};
using Changes = std::vector<Change>;

// The editor's bar, 500 pixels high, in a window that is shown off screen,
// with its change and change-question events recorded.
class NavBarTest : public ::testing::Test {
protected:
    NavBarTest()
    {
        m_window.setAttribute(Qt::WA_DontShowOnScreen);
        m_window.resize(400, 500);
        bar->setGeometry(0, 0, 185, 500);
        m_window.show();
        bar->OnChange = [this](TNavBar *, int oldIndex, int newIndex) { changes.push_back({oldIndex, newIndex}); };
        bar->OnCanChange = [this](TNavBar *, TNavBarHeader *header, bool &canChange) {
            asked.push_back(header);
            canChange = allowChange;
        };
    }

    TNavBarHeader *header(int i) const { return m_nav.headers[static_cast<size_t>(i)]; }

    QWidget m_window;
    testing::EditorNavBar m_nav{&m_window};
    TNavBar *bar = m_nav.bar;
    std::vector<Change> changes;
    std::vector<TNavBarHeader *> asked;
    bool allowChange = true;
};

TEST_F(NavBarTest, FirstHeaderOpenSpansToNineCaptionsAboveTheInnerBottom)
{
    // Lowered bevel 1 and border 1: inner rectangle 2 pixels in.
    EXPECT_EQ(bar->InnerRect(), QRect(2, 2, 181, 496));
    ASSERT_EQ(bar->ActiveHeader(), header(0));
    EXPECT_EQ(bar->HeaderRect(0), QRect(2, 2, 181, 498 - 225 - 2));
    for (int i = 1; i < 10; ++i) {
        const int bottom = 498 - (9 - i) * 25;
        EXPECT_EQ(bar->HeaderRect(i), QRect(2, bottom - 25, 181, 25)) << i;
        EXPECT_EQ(header(i)->geometry(), bar->HeaderRect(i)) << i;
    }
    EXPECT_EQ(bar->HeaderRect(10), QRect());
    EXPECT_EQ(bar->HeaderRect(-1), QRect());

    // The three 108 x 60 buttons of the open header, centred and stacked
    // below the caption bar and FirstButtonTop.
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(m_nav.buttons[static_cast<size_t>(b)]->geometry(), QRect(36, 30 + b * 62, 108, 60)) << b;
}

TEST_F(NavBarTest, HeadersAboveTheOpenOneStackFromTheTopAndHiddenOnesTakeNoRoom)
{
    bar->SetActiveHeader(header(5));
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(bar->HeaderRect(i).top(), 2 + i * 25) << i;
    EXPECT_EQ(bar->HeaderRect(5).bottom() + 1, 498 - 4 * 25);
    EXPECT_EQ(bar->HeaderRect(9).bottom() + 1, 498);

    std::vector<QString> seen;
    header(2)->OnHide = [&](TNavBarHeader *h) { seen.push_back(QStringLiteral("hide ") + h->Caption()); };
    header(2)->OnShow = [&](TNavBarHeader *h) { seen.push_back(QStringLiteral("show ") + h->Caption()); };
    header(2)->hide();
    header(8)->hide();
    EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("hide Dialogs/Scripting")});
    EXPECT_EQ(bar->HiddenBefore(5), 1);
    EXPECT_EQ(bar->HiddenAfter(5), 1);
    EXPECT_EQ(header(3)->geometry().top(), 2 + 2 * 25);
    EXPECT_EQ(header(5)->geometry(), QRect(2, 2 + 4 * 25, 181, 498 - 3 * 25 - (2 + 4 * 25)));
    EXPECT_EQ(header(7)->geometry().bottom() + 1, 498 - 25);
    EXPECT_EQ(header(9)->geometry().bottom() + 1, 498);
    header(2)->show();
    EXPECT_EQ(seen.back(), QStringLiteral("show Dialogs/Scripting"));
    EXPECT_EQ(header(3)->geometry().top(), 2 + 3 * 25);
}

TEST_F(NavBarTest, RefusedChangeKeepsTheOpenHeaderAndReportsNothing)
{
    allowChange = false;
    bar->SetActiveHeader(header(3));
    ASSERT_EQ(asked, std::vector<TNavBarHeader *>{header(3)});
    EXPECT_EQ(bar->ActiveHeader(), header(0));
    EXPECT_TRUE(changes.empty());

    allowChange = true;
    int headerChanges = 0;
    for (int i = 0; i < 10; ++i)
        header(i)->OnChange = [&](TNavBarHeader *) { ++headerChanges; };
    bar->SetActiveHeader(header(3));
    EXPECT_EQ(changes, (Changes{{0, 3}}));
    EXPECT_EQ(bar->ActiveHeader(), header(3));
    EXPECT_EQ(headerChanges, 10); // every header hears of it
}

TEST_F(NavBarTest, OpeningAHiddenHeaderLeavesNoneOpen)
{
    header(4)->hide();
    bar->SetActiveHeader(header(4));
    EXPECT_EQ(changes, (Changes{{0, 4}}));
    EXPECT_EQ(bar->ActiveHeader(), nullptr);
    // With none open every visible caption bar stacks from the top.
    EXPECT_EQ(header(9)->geometry().top(), 2 + 8 * 25);
    bar->SetActiveHeader(header(1));
    EXPECT_EQ(changes.back(), (Change{-1, 1}));
}

TEST_F(NavBarTest, PagingStopsAtTheEndsButStillRunsTheChange)
{
    key(header(0), Qt::Key_PageUp);
    EXPECT_EQ(asked, std::vector<TNavBarHeader *>{header(0)});
    EXPECT_EQ(changes, (Changes{{0, 0}}));
    EXPECT_EQ(bar->ActiveHeader(), header(0));

    key(header(0), Qt::Key_PageDown);
    EXPECT_EQ(bar->ActiveHeader(), header(1));
    bar->SetActiveHeader(header(9));
    changes.clear();
    key(header(9), Qt::Key_PageDown);
    EXPECT_EQ(changes, (Changes{{9, 9}}));
    EXPECT_EQ(bar->ActiveHeader(), header(9));
}

TEST_F(NavBarTest, PagingSkipsHiddenHeadersAndNeverOpensOne)
{
    header(1)->hide();
    key(header(0), Qt::Key_PageDown);
    EXPECT_EQ(bar->ActiveHeader(), header(2));
    key(header(2), Qt::Key_PageUp);
    EXPECT_EQ(bar->ActiveHeader(), header(0));

    // Hidden headers at the ends: the open header stays open.
    header(0)->hide();
    bar->SetActiveHeader(header(2));
    key(header(2), Qt::Key_PageUp);
    EXPECT_EQ(bar->ActiveHeader(), header(2));
    header(9)->hide();
    bar->SetActiveHeader(header(8));
    key(header(8), Qt::Key_PageDown);
    EXPECT_EQ(bar->ActiveHeader(), header(8));
    // The bar's own key handling pages the same way.
    key(bar, Qt::Key_PageUp);
    EXPECT_EQ(bar->ActiveHeader(), header(7));
}

TEST_F(NavBarTest, HeaderIndexIsAnOrderedListAndOutOfRangeGoesLast)
{
    header(5)->setHeaderIndex(0);
    EXPECT_EQ(header(5)->HeaderIndex(), 0);
    EXPECT_EQ(header(0)->HeaderIndex(), 1);
    EXPECT_EQ(header(4)->HeaderIndex(), 5);
    EXPECT_EQ(header(6)->HeaderIndex(), 6);
    EXPECT_EQ(bar->HeaderByIndex(0), header(5));
    // The bar lays the headers out in the new order at once.
    EXPECT_EQ(header(5)->geometry().top(), 2);
    EXPECT_EQ(header(0)->geometry().top(), 2 + 25);

    header(5)->setHeaderIndex(42);
    EXPECT_EQ(header(5)->GetHeaderIndex(), 9);
    EXPECT_EQ(header(9)->HeaderIndex(), 8);
    header(0)->setHeaderIndex(-1);
    EXPECT_EQ(header(0)->HeaderIndex(), 9);
    EXPECT_EQ(header(1)->HeaderIndex(), 0);
}

TEST_F(NavBarTest, CaptionClickOpensOnlyWhenReleasedOnTheCaptionOfAClosedHeader)
{
    TNavBarHeader *target = header(4);
    enter(target, {20, 10});
    click(target, {20, 10});
    EXPECT_EQ(changes, (Changes{{0, 4}}));
    EXPECT_EQ(bar->ActiveHeader(), target);
    EXPECT_FALSE(target->CaptionPressed());

    // Already open: only the pressed look goes.
    press(target, {20, 10});
    EXPECT_TRUE(target->CaptionPressed());
    release(target, {20, 10});
    EXPECT_FALSE(target->CaptionPressed());
    // Released below the caption bar of a closed header.
    press(header(6), {20, 10});
    move(header(6), {20, 40}, true);
    release(header(6), {20, 40});
    EXPECT_EQ(bar->ActiveHeader(), target);
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(NavBarTest, PointerOverACaptionMakesTheHotHeaderUntilItLeavesTheBar)
{
    enter(header(3), {10, 5});
    EXPECT_EQ(bar->HotHeader(), header(3));
    move(header(3), {10, 30});
    EXPECT_EQ(bar->HotHeader(), nullptr);
    move(header(3), {10, 3});
    EXPECT_EQ(bar->HotHeader(), header(3));
    press(header(3), {10, 3});
    leave(bar);
    EXPECT_EQ(bar->HotHeader(), nullptr);
    EXPECT_FALSE(header(3)->CaptionPressed());

    // A change of the open header clears it too; a disabled bar has none.
    move(header(3), {10, 3});
    bar->SetActiveHeader(header(2));
    EXPECT_EQ(bar->HotHeader(), nullptr);
    bar->setEnabled(false);
    enter(header(5), {10, 5});
    move(header(5), {10, 6});
    EXPECT_EQ(bar->HotHeader(), nullptr);
}

TEST_F(NavBarTest, ButtonDraggedOverAHeaderOpensItAndMovesThere)
{
    TNavButton *button = m_nav.buttons[0];
    ASSERT_EQ(button->parentWidget(), header(0));
    EXPECT_TRUE(header(7)->DragOver(button));
    EXPECT_EQ(bar->ActiveHeader(), header(7));
    EXPECT_EQ(button->parentWidget(), header(7));
    EXPECT_EQ(button->ButtonIndex(), 2); // joined last
    EXPECT_EQ(header(0)->ButtonCount(), 2);
    EXPECT_EQ(m_nav.buttons[1]->ButtonIndex(), 0);
    EXPECT_FALSE(header(7)->DragOver(bar));
    EXPECT_FALSE(header(7)->DragOver(nullptr));
}

TEST_F(NavBarTest, AlignInfoMatchesOnlyTheSixExactNames)
{
    EXPECT_EQ(bar->AlignInfo(), QStringLiteral("alLeft"));
    bar->ReadAlignInfo(QStringLiteral("alClient"));
    EXPECT_EQ(bar->Align(), navbar::alClient);
    for (const char *other : {"alright", "ALTOP", "alLeft ", "", "left"}) {
        bar->ReadAlignInfo(QString::fromLatin1(other));
        EXPECT_EQ(bar->AlignInfo(), QStringLiteral("alClient")) << other;
    }
    bar->ReadAlignInfo(QStringLiteral("alNone"));
    EXPECT_EQ(bar->Align(), navbar::alNone);
    EXPECT_EQ(bar->Version(), QStringLiteral("1.43"));
    EXPECT_EQ(bar->Caption(), QStringLiteral("NavBar"));
}

TEST_F(NavBarTest, HeadersAddedOpenAndRemovedOnesOpenTheFirst)
{
    TNavBarHeader *added = bar->addHeader(QStringLiteral("Extra"));
    EXPECT_EQ(added->HeaderIndex(), 10);
    EXPECT_EQ(bar->ActiveHeader(), added);
    EXPECT_EQ(changes, (Changes{{0, 10}}));
    EXPECT_EQ(added->geometry().bottom() + 1, 498);

    // Removing the open header: the pointer never dangles, header 0 opens.
    changes.clear();
    std::vector<TNavBarHeader *> seenOpen;
    bar->OnChange = [&](TNavBar *sender, int oldIndex, int newIndex) {
        changes.push_back({oldIndex, newIndex});
        seenOpen.push_back(sender->ActiveHeader());
    };
    delete added;
    EXPECT_EQ(changes, (Changes{{-1, 0}}));
    EXPECT_EQ(seenOpen, std::vector<TNavBarHeader *>{nullptr});
    EXPECT_EQ(bar->ActiveHeader(), header(0));
    EXPECT_EQ(bar->HeaderCount(), 10);

    // The hot header goes with it too.
    enter(header(9), {10, 5});
    ASSERT_EQ(bar->HotHeader(), header(9));
    delete header(9);
    EXPECT_EQ(bar->HotHeader(), nullptr);
    EXPECT_EQ(bar->HeaderCount(), 9);

    // Removing a header that is not open opens the one with index 0; the
    // last one leaves none open.
    delete header(0);
    EXPECT_EQ(bar->ActiveHeader(), header(1));
    EXPECT_EQ(header(1)->HeaderIndex(), 0);
    for (int i = 1; i < 9; ++i)
        delete header(i);
    EXPECT_EQ(bar->HeaderCount(), 0);
    EXPECT_EQ(bar->ActiveHeader(), nullptr);
    EXPECT_EQ(changes.back().newIndex, -1);
}

// A window whose own part is gone (its destructor has run) while Qt still
// destroys its children, as every form is torn down.
class OwnerWindow : public QWidget {
public:
    ~OwnerWindow() override { *alive = false; }
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

TEST(TNavBarTeardownTest, ATornDownOwnerHearsNothing)
{
    auto owner = std::make_unique<OwnerWindow>();
    testing::EditorNavBar nav(owner.get());
    int lateCalls = 0;
    const std::shared_ptr<bool> alive = owner->alive;
    nav.bar->OnChange = [&, alive](TNavBar *, int, int) { lateCalls += *alive ? 0 : 1; };
    nav.bar->OnCanChange = [&, alive](TNavBar *, TNavBarHeader *, bool &) { lateCalls += *alive ? 0 : 1; };
    for (TNavBarHeader *header : nav.headers)
        header->OnChange = [&, alive](TNavBarHeader *) { lateCalls += *alive ? 0 : 1; };
    navtest::enter(nav.headers[3], {10, 5});
    ASSERT_EQ(nav.bar->HotHeader(), nav.headers[3]);
    owner.reset();
    EXPECT_FALSE(*alive);
    EXPECT_EQ(lateCalls, 0);
}

TEST(TNavBarTeardownTest, DestroyingTheBarAsksAndReportsNothing)
{
    QWidget window;
    testing::EditorNavBar nav(&window);
    int calls = 0;
    nav.bar->OnChange = [&](TNavBar *, int, int) { ++calls; };
    nav.bar->OnCanChange = [&](TNavBar *, TNavBarHeader *, bool &) { ++calls; };
    delete nav.bar;
    EXPECT_EQ(calls, 0);
}

TEST(TNavBarDemoTest, TheDemoWindowShowsThePageOfTheOpenHeader)
{
    testing::NavBarDemoWindow window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    TNavBar *bar = window.navBar.bar;
    EXPECT_EQ(bar->width(), 185);
    EXPECT_EQ(bar->HeaderCount(), 10);
    EXPECT_EQ(window.navBar.buttons.size(), 20u);
    EXPECT_EQ(bar->ActiveHeader(), window.navBar.headers[0]);
    TNavBarHeader *compile = window.navBar.headers[9];
    navtest::enter(compile, {30, 10});
    navtest::click(compile, {30, 10});
    EXPECT_EQ(bar->ActiveHeader(), compile);
    EXPECT_EQ(window.page->text(), QStringLiteral("Page 9"));
    // Its two buttons sit in the open header, below its caption bar.
    EXPECT_EQ(window.navBar.buttons[18]->parentWidget(), compile);
    EXPECT_EQ(window.navBar.buttons[19]->geometry(), QRect(36, 92, 108, 60));
    EXPECT_FALSE(window.grab().isNull());
}

TEST_F(NavBarTest, PaintsFramesCaptionBarsAndTheOpenButtonArea)
{
    const QImage image = bar->grab().toImage();
    const QPalette &pal = bar->palette();
    const QColor shadow = painted(clBtnShadow, pal);
    const QColor highlight = painted(clBtnHighlight, pal);
    const QColor face = painted(clBtnFace, pal);
    // Lowered outer bevel, then the one-pixel ring in the bar's colour.
    EXPECT_EQ(pixel(image, 0, 0), shadow);
    EXPECT_EQ(pixel(image, 0, 250), shadow);
    EXPECT_EQ(pixel(image, 184, 250), highlight);
    EXPECT_EQ(pixel(image, 90, 499), highlight);
    EXPECT_EQ(pixel(image, 1, 250), face);
    // Header 0's caption bar: raised bevel, then the header colour.
    EXPECT_EQ(pixel(image, 2, 2), highlight);
    EXPECT_EQ(pixel(image, 182, 20), shadow);
    EXPECT_EQ(pixel(image, 175, 5), face);
    // Its button area is clGray, also between and under the transparent
    // buttons (away from their pictures and captions).
    EXPECT_EQ(pixel(image, 10, 100), QColor(128, 128, 128));
    EXPECT_EQ(pixel(image, 2 + 40, 2 + 30 + 1), QColor(128, 128, 128));
    // A collapsed header further down: its caption bar.
    EXPECT_EQ(pixel(image, 2, bar->HeaderRect(5).top()), highlight);
    EXPECT_EQ(pixel(image, 175, bar->HeaderRect(5).top() + 4), face);
}

TEST(TabOrderListTest, MovesDropsAndDrivesTheFocusChain)
{
    QWidget parent;
    auto *a = new QWidget(&parent);
    auto *b = new QWidget(&parent);
    auto *c = new QWidget(&parent);
    for (QWidget *w : {a, b, c})
        w->setFocusPolicy(Qt::TabFocus);
    TabOrderList list;
    list.append(a);
    list.append(b);
    list.append(c);
    list.append(b); // already listed
    EXPECT_EQ(list.widgets(), (QList<QWidget *>{a, b, c}));
    list.move(c, 0);
    EXPECT_EQ(list.widgets(), (QList<QWidget *>{c, a, b}));
    list.move(c, 3); // out of range: last
    EXPECT_EQ(list.widgets(), (QList<QWidget *>{a, b, c}));
    list.move(b, -1);
    EXPECT_EQ(list.widgets(), (QList<QWidget *>{a, c, b}));
    list.applyToFocusChain();
    EXPECT_EQ(a->nextInFocusChain(), c);
    EXPECT_EQ(c->nextInFocusChain(), b);

    delete c; // a destroyed entry drops out
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.indexOf(b), 1);
    list.remove(a);
    EXPECT_EQ(list.indexOf(b), 0);
    EXPECT_EQ(list.indexOf(a), -1);
}

TEST(TNavBarPlainTest, ABarWithoutHeadersIsAPlainAreaWithItsFrames)
{
    TNavBar bar;
    bar.resize(60, 40);
    bar.setColor(clTeal);
    bar.setBevelInner(navbar::bvRaised);
    bar.setBorderWidth(2);
    EXPECT_EQ(bar.HeaderCount(), 0);
    EXPECT_EQ(bar.ActiveHeader(), nullptr);
    EXPECT_EQ(bar.InnerRect(), QRect(4, 4, 52, 32));
    const QImage image = bar.grab().toImage();
    const QColor teal(0, 128, 128);
    EXPECT_EQ(pixel(image, 0, 0), painted(clBtnShadow));   // outer lowered
    EXPECT_EQ(pixel(image, 59, 39), painted(clBtnHighlight));
    EXPECT_EQ(pixel(image, 1, 20), teal);                    // ring of 2
    EXPECT_EQ(pixel(image, 2, 20), teal);
    EXPECT_EQ(pixel(image, 3, 20), painted(clBtnHighlight)); // inner raised
    EXPECT_EQ(pixel(image, 56, 20), painted(clBtnShadow));
    EXPECT_EQ(pixel(image, 30, 20), teal);

    // A single border outside the frames, with or without the 3-D edge.
    bar.setBorderStyle(navbar::bsSingle);
    EXPECT_EQ(bar.ClientRect(), QRect(2, 2, 56, 36));
    bar.setCtl3D(false);
    EXPECT_EQ(bar.ClientRect(), QRect(1, 1, 58, 38));
    EXPECT_EQ(bar.InnerRect(), QRect(5, 5, 50, 30));
}

} // namespace
} // namespace wharf
