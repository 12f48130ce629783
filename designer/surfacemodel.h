#pragma once
// The design surface without widgets: where each placed control is shown,
// which one is selected, the two outline frames, the palette and placing
// mode, and one press-move-release state machine for placing, moving and
// resizing. The window feeds it mouse events in surface coordinates and
// draws what it reports; the clock is injected, so the 200 ms rule can be
// tested without waiting.

#include "dialogdocument.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

namespace wharf {

struct TRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    bool operator==(const TRect &) const = default;
};

// Edges of the selected control under the pointer.
inline constexpr uint8_t kEdgeTop = 1, kEdgeBottom = 2, kEdgeLeft = 4, kEdgeRight = 8;

enum class TCursorKind { Default, Cross, SizeNWSE, SizeWE, SizeNESW, SizeNS };
enum class TMouseButton { Left, Right, Middle };

// The live preferences that placing and moving read.
struct TGridPrefs {
    int xGrid = 5, yGrid = 5;  // 2..20
    bool clickIntoPlace = true;
};

// The surface of the designer's notebook page: 324 x 313 at its origin.
inline constexpr TRect kSurfaceRect{0, 0, 324, 313};
// A stored size is shown as at least 3 and at most this many pixels a side.
inline constexpr int kMinRenderSize = 3;
inline constexpr int kMaxRenderSize = 2048;
// A press and release closer together than this are a click, not a move.
inline constexpr uint32_t kClickMillis = 200;

class TSurfaceModel {
public:
    using Clock = std::function<uint32_t()>; // milliseconds, may wrap

    // defaultCtlPath: the "default.ctl" whose sections give new controls
    // their keys. The document must outlive the model.
    TSurfaceModel(TDialogDocument &document, std::string defaultCtlPath, Clock clock,
                  TRect surface = kSurfaceRect);

    TDialogDocument &document() { return m_doc; }
    const TRect &surface() const { return m_surface; }

    void setGridPrefs(TGridPrefs prefs); // grids are kept within 2..20
    const TGridPrefs &gridPrefs() const { return m_prefs; }

    // Shows the document's controls afresh (after New and Load): each is
    // built as when it is added, so the last one ends selected; with no
    // controls nothing is selected and both frames are hidden.
    void resetFromDocument();

    // Renders a control from its key list: with no index a new control is
    // added on top (named by the document); otherwise the control at index
    // takes the list. Either way it is placed at the list's Left and Top,
    // sized from Width and Height (within 3..2048) and selected. Returns its
    // index.
    size_t BuildControl(TStringList keys, std::optional<size_t> existing = std::nullopt);

    // Selects a control (-1: none). A control beyond the surface's right or
    // bottom edge is pulled back inside (its key list keeps its values).
    void CtlClick(long index);
    long selected() const { return m_selected; }

    // Deletes or raises the selected control; nothing without one.
    void deleteSelected();
    void bringSelectedToFront();

    // The palette: types 0..10, at most one button down. A click puts the
    // button down (or up again) and enters placing mode while a button is
    // down; a click that leaves every button up ends it.
    void paletteClick(int type);
    bool paletteDown(int type) const;
    bool placing() const { return m_placing; }

    // Mouse events, in surface coordinates. The topmost control under the
    // point receives them, the surface otherwise.
    void mousePress(TMouseButton button, int x, int y);
    void mouseMove(bool leftHeld, int x, int y);
    void mouseRelease(TMouseButton button, int x, int y);
    void mouseDoubleClick(int x, int y);
    void mouseLeave();

    // Called by a double-click on a control, after it was selected.
    std::function<void(size_t index)> onPropertiesRequested;

    // What the window shows.
    TRect controlBounds(size_t index) const;
    // Goes up each time the control is rendered anew.
    uint64_t controlRevision(size_t index) const;
    std::optional<TRect> frameShape() const { return m_frameShape; }
    std::optional<TRect> resizeShape() const { return m_resizeShape; }
    TCursorKind cursor() const;
    bool cursorConfined() const { return m_confined; }
    uint8_t resizeEdges() const { return m_edges; }
    // The topmost control at the point, or -1.
    long controlAt(int x, int y) const;

private:
    enum class Mode { Idle, Dragging, Resizing };

    struct Shown {
        TRect bounds;
        uint64_t revision = 0;
    };

    Shown &shown(size_t index);
    static TRect storedBounds(const TStringList &keys);
    void place(int x, int y);
    void endPlacing();
    void snap(int &x, int &y) const;
    void updateEdges(int x, int y, const TRect &bounds);
    void previewResize(int x, int y);
    void commitResize(int x, int y);
    void dragOver(int x, int y);
    void drop(int x, int y);
    void setModified();

    TDialogDocument &m_doc;
    std::string m_defaultCtl;
    Clock m_clock;
    TRect m_surface;
    TGridPrefs m_prefs;
    std::unordered_map<uint64_t, Shown> m_shown;
    uint64_t m_revision = 0;

    long m_selected = -1;
    std::optional<TRect> m_frameShape, m_resizeShape;
    int m_paletteDown = -1;
    bool m_placing = false;
    bool m_confined = false;
    Mode m_mode = Mode::Idle;
    uint8_t m_edges = 0;
    TCursorKind m_edgeCursor = TCursorKind::Default;
    uint32_t m_mouseDownTime = 0;
    int m_dragOffsetX = 0, m_dragOffsetY = 0;
    bool m_dblClickPending = false;
};

} // namespace wharf
