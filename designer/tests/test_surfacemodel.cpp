#include "surfacemodel.h"

#include "codec.h"
#include "encdec.h"
#include "files.h"
#include "keylist.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace wharf;

namespace {

constexpr const char *kDefaultCtl = "[Edit]\r\nType=0\r\nWidth=121\r\nHeight=21\r\n"
                                    "[Button]\r\n Type = 1 \r\nWidth=75\r\nHeight=25\r\nCaption=\"OK\"\r\n"
                                    "[Label]\r\nType=2\r\nWidth=0\r\nHeight=13\r\n";

std::string value(const TStringList &keys, const char *key)
{
    return keyListValue(keys, key).value_or("<missing>");
}

} // namespace

class SurfaceModelTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string ctl = dir.file("default.ctl");
    uint32_t now = 1000;
    TDialogDocument doc;
    std::unique_ptr<TSurfaceModel> model;

    void SetUp() override
    {
        ASSERT_TRUE(writeFile(ctl, kDefaultCtl));
        model = std::make_unique<TSurfaceModel>(doc, ctl, [this] { return now; });
    }

    size_t placeAt(int type, int x, int y)
    {
        model->paletteClick(type);
        model->mousePress(TMouseButton::Left, x, y);
        model->mouseRelease(TMouseButton::Left, x, y);
        return doc.controlCount() - 1;
    }

    size_t add(TStringList keys) { return model->BuildControl(std::move(keys)); }

    // Press, move and release with the left button, the release `millis`
    // after the press.
    void drag(int x0, int y0, int x1, int y1, uint32_t millis)
    {
        model->mousePress(TMouseButton::Left, x0, y0);
        model->mouseMove(true, (x0 + x1) / 2, (y0 + y1) / 2);
        model->mouseMove(true, x1, y1);
        now += millis;
        model->mouseRelease(TMouseButton::Left, x1, y1);
    }
};

TEST_F(SurfaceModelTest, PlacingWithAndWithoutSnap)
{
    struct Case {
        TGridPrefs prefs;
        int left, top;
    } cases[] = {
        {{5, 5, true}, 15, 20},
        {{5, 5, false}, 17, 23},
        {{7, 4, true}, 14, 20},
        {{0, 99, true}, 16, 20}, // grids are kept within 2..20
    };
    for (const Case &c : cases) {
        doc.NewDialog();
        model->resetFromDocument();
        model->setGridPrefs(c.prefs);
        model->paletteClick(ctEdit);
        EXPECT_TRUE(model->placing());
        EXPECT_TRUE(model->cursorConfined());
        EXPECT_EQ(model->cursor(), TCursorKind::Cross);
        model->mousePress(TMouseButton::Left, 17, 23);
        ASSERT_EQ(doc.controlCount(), 1u);
        EXPECT_EQ(doc.control(0).keys,
                  (TStringList{"[Controls]", "Type=0", "Width=121", "Height=21", "Left=" + std::to_string(c.left),
                               "Top=" + std::to_string(c.top), "Name=Edit1"}));
        EXPECT_FALSE(model->placing());
        EXPECT_FALSE(model->cursorConfined());
        EXPECT_FALSE(model->paletteDown(ctEdit));
        EXPECT_EQ(model->cursor(), TCursorKind::Default);
        EXPECT_TRUE(doc.modified());
        EXPECT_EQ(model->selected(), 0);
        EXPECT_EQ(model->frameShape(), (TRect{c.left - 1, c.top - 1, 123, 23}));
    }
}

TEST_F(SurfaceModelTest, OnePlacedEditSavesTheGoldenFile)
{
    placeAt(ctEdit, 17, 23);
    const std::string path = dir.file("one.ddf");
    doc.SaveDialogFile(path);
    std::istringstream in(readFile(path).value());
    std::ostringstream plain;
    ASSERT_EQ(DecryptStream(in, plain, dialogPasswords()), 0);
    EXPECT_EQ(plain.str(), readFile(std::string(WHARF_DESIGNER_TESTDATA) + "/one_edit.txt").value());
}

TEST_F(SurfaceModelTest, PlacingDetails)
{
    // Values from default.ctl come trimmed and without enclosing quotes.
    placeAt(ctButton, 40, 40);
    EXPECT_EQ(value(doc.control(0).keys, "Type"), "1");
    EXPECT_EQ(value(doc.control(0).keys, "Caption"), "OK");
    // A press on a placed control in placing mode places at that point.
    const size_t inside = placeAt(ctButton, 52, 48);
    EXPECT_EQ(value(doc.control(inside).keys, "Left"), "50");
    EXPECT_EQ(value(doc.control(inside).keys, "Top"), "45");
    EXPECT_EQ(doc.controlName(placeAt(ctButton, 200, 200)), "Button3");
    // A type default.ctl does not know gives only Left and Top: an edit box.
    const size_t image = placeAt(ctImage, 100, 100);
    EXPECT_EQ(doc.control(image).keys, (TStringList{"[Controls]", "Left=100", "Top=100", "Name=Edit1"}));
    // A stored width of 0 shows 3 pixels wide; the list keeps 0.
    const size_t label = placeAt(ctLabel, 10, 200);
    EXPECT_EQ(model->controlBounds(label).width, 3);
    EXPECT_EQ(value(doc.control(label).keys, "Width"), "0");
    // Whatever its stored size, a control is shown at most 2048 pixels a side.
    const size_t huge = add({"[Controls]", "Width=99999", "Height=-5"});
    EXPECT_EQ(model->controlBounds(huge).width, 2048);
    EXPECT_EQ(model->controlBounds(huge).height, 3);
}

TEST_F(SurfaceModelTest, PaletteClicks)
{
    model->mousePress(TMouseButton::Left, 10, 10); // not placing: nothing
    EXPECT_EQ(doc.controlCount(), 0u);
    model->paletteClick(ctEdit);
    model->paletteClick(ctButton);
    EXPECT_TRUE(model->paletteDown(ctButton));
    EXPECT_FALSE(model->paletteDown(ctEdit));
    // Clicking the button that is down puts it up and ends placing mode.
    model->paletteClick(ctButton);
    EXPECT_FALSE(model->placing());
    EXPECT_FALSE(model->cursorConfined());
    model->mousePress(TMouseButton::Left, 10, 10);
    EXPECT_EQ(doc.controlCount(), 0u);
}

TEST_F(SurfaceModelTest, SelectionPullsBackOnlyOverRightAndBottom)
{
    const size_t right = add({"[Controls]", "Left=300", "Top=-7", "Width=121", "Height=21"});
    EXPECT_EQ(model->controlBounds(right), (TRect{203, -7, 121, 21}));
    const size_t bottom = add({"[Controls]", "Left=-4", "Top=310", "Width=10", "Height=20"});
    EXPECT_EQ(model->controlBounds(bottom), (TRect{-4, 293, 10, 20}));
    EXPECT_EQ(model->frameShape(), (TRect{-5, 292, 12, 22}));
    EXPECT_EQ(value(doc.control(right).keys, "Left"), "300");
}

TEST_F(SurfaceModelTest, MovingFollowsTheClickRule)
{
    struct Case {
        uint32_t millis;
        bool moved;
    } cases[] = {{150, false}, {200, false}, {201, true}, {5000, true}};
    for (const Case &c : cases) {
        doc.NewDialog();
        model->resetFromDocument();
        doc.setModified(false);
        const size_t i = add({"[Controls]", "Type=0", "Width=50", "Height=20", "Left=10", "Top=10"});
        // Pressed 7,6 inside the control; released at 77,86: the control's
        // corner goes to 70,80, snapped down to the 5 x 5 grid.
        model->mousePress(TMouseButton::Left, 17, 16);
        EXPECT_EQ(model->resizeShape(), (TRect{10, 10, 50, 20}));
        EXPECT_TRUE(model->cursorConfined());
        model->mouseMove(true, 79, 88);
        EXPECT_EQ(model->resizeShape(), (TRect{70, 80, 50, 20}));
        now += c.millis;
        model->mouseRelease(TMouseButton::Left, 79, 88);
        EXPECT_FALSE(model->resizeShape());
        EXPECT_FALSE(model->cursorConfined());
        EXPECT_EQ(value(doc.control(i).keys, "Left"), c.moved ? "70" : "10") << c.millis;
        EXPECT_EQ(value(doc.control(i).keys, "Top"), c.moved ? "80" : "10") << c.millis;
        EXPECT_EQ(doc.modified(), c.moved) << c.millis;
        EXPECT_EQ(model->frameShape(), c.moved ? TRect({69, 79, 52, 22}) : TRect({9, 9, 52, 22}));
    }
}

TEST_F(SurfaceModelTest, MovingOverAnotherControlAndOutside)
{
    model->setGridPrefs({5, 5, false});
    const size_t a = add({"[Controls]", "Width=20", "Height=20", "Top=0", "Name=A"}); // no Left key
    add({"[Controls]", "Left=100", "Top=100", "Width=50", "Height=50", "Name=B"});
    // Dropped over B: the same point rule as over the surface; Left is added.
    drag(5, 5, 145, 145, 300);
    EXPECT_EQ(value(doc.control(a).keys, "Left"), "140");
    EXPECT_EQ(value(doc.control(a).keys, "Top"), "140");
    EXPECT_EQ(model->selected(), static_cast<long>(a));
    // Released outside the surface: no move.
    drag(155, 155, 400, 155, 300);
    EXPECT_EQ(value(doc.control(a).keys, "Left"), "140");
    // A drag wraps the millisecond clock without mistaking a move for a click.
    now = 0xFFFFFF00u;
    drag(155, 155, 35, 45, 0x200);
    EXPECT_EQ(value(doc.control(a).keys, "Left"), "20");
    EXPECT_EQ(value(doc.control(a).keys, "Top"), "30");
}

TEST_F(SurfaceModelTest, ResizeEdgesAndCursors)
{
    add({"[Controls]", "Left=100", "Top=100", "Width=60", "Height=40"});
    struct Case {
        int x, y;  // inside the control
        uint8_t edges;
        TCursorKind cursor;
    } cases[] = {
        {2, 2, kEdgeLeft | kEdgeTop, TCursorKind::SizeNWSE},
        {2, 20, kEdgeLeft, TCursorKind::SizeWE},
        {2, 38, kEdgeLeft | kEdgeBottom, TCursorKind::SizeNESW},
        {55, 2, kEdgeRight | kEdgeTop, TCursorKind::SizeNESW},
        {55, 20, kEdgeRight, TCursorKind::SizeWE},
        {55, 36, kEdgeRight | kEdgeBottom, TCursorKind::SizeNWSE},
        {30, 2, kEdgeTop, TCursorKind::SizeNS},
        {30, 35, kEdgeBottom, TCursorKind::SizeNS},
        {30, 20, 0, TCursorKind::Default},
    };
    for (const Case &c : cases) {
        model->mouseMove(false, 100 + c.x, 100 + c.y);
        EXPECT_EQ(model->resizeEdges(), c.edges) << c.x << "," << c.y;
        EXPECT_EQ(model->cursor(), c.cursor) << c.x << "," << c.y;
    }
}

TEST_F(SurfaceModelTest, ResizingByEachEdge)
{
    struct Case {
        const char *what;
        int hoverX, hoverY;  // surface point that finds the edges
        int toX, toY;        // release point
        const char *width, *height, *left, *top;
    } cases[] = {
        {"right", 157, 120, 180, 120, "80", "40", "100", "100"},
        {"right below 3", 157, 120, 101, 120, "3", "40", "100", "100"},
        {"bottom", 130, 137, 130, 150, "60", "50", "100", "100"},
        {"left", 101, 120, 90, 120, "70", "40", "90", "100"},
        {"top", 130, 101, 130, 120, "60", "20", "100", "120"},
        {"bottom right corner", 157, 137, 170, 160, "70", "60", "100", "100"},
        {"left past the right edge keeps the width", 101, 120, 170, 120, "60", "40", "170", "100"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc.NewDialog();
        model->resetFromDocument();
        const size_t i = add({"[Controls]", "Left=100", "Top=100", "Width=60", "Height=40", "Other=x"});
        model->mouseMove(false, c.hoverX, c.hoverY);
        model->mousePress(TMouseButton::Left, c.hoverX, c.hoverY);
        EXPECT_FALSE(model->cursorConfined());
        model->mouseMove(true, c.toX, c.toY);
        EXPECT_TRUE(model->resizeShape());
        EXPECT_FALSE(model->frameShape());
        now += 250;
        model->mouseRelease(TMouseButton::Left, c.toX, c.toY);
        EXPECT_FALSE(model->resizeShape());
        const TStringList &k = doc.control(i).keys;
        EXPECT_EQ(value(k, "Width"), c.width);
        EXPECT_EQ(value(k, "Height"), c.height);
        EXPECT_EQ(value(k, "Left"), c.left);
        EXPECT_EQ(value(k, "Top"), c.top);
        EXPECT_EQ(k[1], "Left=" + std::string(c.left)); // replaced in place
        EXPECT_TRUE(doc.modified());
    }
}

TEST_F(SurfaceModelTest, ResizePreviewShape)
{
    add({"[Controls]", "Left=100", "Top=100", "Width=60", "Height=40"});
    model->mouseMove(false, 157, 137); // bottom right
    model->mousePress(TMouseButton::Left, 157, 137);
    model->mouseMove(true, 180, 150);
    EXPECT_EQ(model->resizeShape(), (TRect{99, 99, 82, 52}));
    model->mouseMove(true, 101, 101);
    EXPECT_EQ(model->resizeShape(), (TRect{99, 99, 3, 3}));
}

TEST_F(SurfaceModelTest, QuickResizeAndMissingKeys)
{
    const size_t i = add({"[Controls]", "Type=2"});
    // Within 200 ms nothing changes.
    model->mouseMove(false, 1, 1);
    doc.setModified(false);
    drag(1, 1, 40, 30, 200);
    EXPECT_EQ(doc.control(i).keys, (TStringList{"[Controls]", "Type=2", "Name=Label1"}));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(model->frameShape(), (TRect{-1, -1, 5, 5})); // the frame is back
    // Later the missing size and position keys are added.
    model->mouseMove(false, 1, 1);
    drag(1, 1, 40, 30, 201);
    EXPECT_EQ(doc.control(i).keys, (TStringList{"[Controls]", "Type=2", "Name=Label1", "Width=3", "Height=3",
                                                "Left=40", "Top=30"}));
}

TEST_F(SurfaceModelTest, EdgesAreForgottenOffTheControl)
{
    const size_t a = add({"[Controls]", "Left=0", "Top=0", "Width=60", "Height=40", "Name=A"});
    add({"[Controls]", "Left=100", "Top=100", "Width=60", "Height=40", "Name=B"});
    model->CtlClick(static_cast<long>(a));
    model->mouseMove(false, 57, 20);
    EXPECT_EQ(model->resizeEdges(), kEdgeRight);
    model->mouseMove(false, 200, 200); // onto the bare surface
    EXPECT_EQ(model->resizeEdges(), 0);
    model->mouseMove(false, 57, 20);
    model->mouseLeave();
    EXPECT_EQ(model->resizeEdges(), 0);
    // Selecting another control forgets them too: a press on B then drags.
    model->mouseMove(false, 57, 20);
    model->CtlClick(1);
    EXPECT_EQ(model->resizeEdges(), 0);
    model->mousePress(TMouseButton::Left, 130, 120);
    EXPECT_TRUE(model->cursorConfined());
    EXPECT_EQ(model->resizeShape(), (TRect{100, 100, 60, 40}));
}

TEST_F(SurfaceModelTest, DoubleClickOpensPropertiesWithoutMoving)
{
    std::vector<size_t> requested;
    model->onPropertiesRequested = [&](size_t index) { requested.push_back(index); };
    add({"[Controls]", "Left=10", "Top=10", "Width=40", "Height=20", "Name=A"});
    add({"[Controls]", "Left=100", "Top=100", "Width=40", "Height=20", "Name=B"});
    model->mousePress(TMouseButton::Left, 20, 20);
    model->mouseRelease(TMouseButton::Left, 20, 20);
    model->mouseDoubleClick(20, 20);
    EXPECT_EQ(requested, (std::vector<size_t>{0}));
    EXPECT_EQ(model->selected(), 0);
    now += 1000;
    model->mouseMove(true, 60, 60);
    model->mouseRelease(TMouseButton::Left, 60, 60);
    EXPECT_EQ(value(doc.control(0).keys, "Left"), "10");
    // The next drag works as usual.
    drag(20, 20, 60, 60, 300);
    EXPECT_EQ(value(doc.control(0).keys, "Left"), "50");
}

TEST_F(SurfaceModelTest, DeleteAndBringToFront)
{
    model->deleteSelected();  // nothing selected: nothing happens
    model->CtlClick(-1);
    model->bringSelectedToFront();
    EXPECT_FALSE(doc.modified());
    for (int i = 1; i <= 4; ++i)
        add({"[Controls]", "Left=" + std::to_string(i * 10), "Top=0", "Width=30", "Height=30",
             "Name=C" + std::to_string(i)});
    model->CtlClick(1);
    model->bringSelectedToFront();
    EXPECT_EQ(model->selected(), 3);
    std::vector<std::string> order;
    for (size_t i = 0; i < doc.controlCount(); ++i)
        order.push_back(doc.controlName(i));
    EXPECT_EQ(order, (std::vector<std::string>{"C1", "C3", "C4", "C2"}));
    // The raised control is now the one under the shared point.
    EXPECT_EQ(model->controlAt(35, 5), 3);
    EXPECT_TRUE(doc.modified());

    model->deleteSelected();
    EXPECT_EQ(doc.controlCount(), 3u);
    EXPECT_EQ(model->selected(), -1);
    EXPECT_FALSE(model->frameShape());
    EXPECT_EQ(doc.indexOfName("C2"), -1);
}

TEST_F(SurfaceModelTest, ResetSelectsTheLastLoadedControl)
{
    doc.addControl({"[Controls]", "Left=1", "Top=2", "Width=3", "Height=4"});
    doc.addControl({"[Controls]", "Left=10", "Top=20", "Width=30", "Height=40"});
    model->resetFromDocument();
    EXPECT_EQ(model->selected(), 1);
    EXPECT_EQ(model->controlBounds(0), (TRect{1, 2, 3, 4}));
    doc.NewDialog();
    model->resetFromDocument();
    EXPECT_EQ(model->selected(), -1);
    EXPECT_FALSE(model->frameShape());
}
