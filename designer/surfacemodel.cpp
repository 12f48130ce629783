#include "surfacemodel.h"

#include "inistore.h"
#include "keylist.h"

#include <algorithm>

namespace wharf {
namespace {

int renderSize(int32_t stored)
{
    return std::clamp<int32_t>(stored, kMinRenderSize, kMaxRenderSize);
}

TRect framed(const TRect &r)
{
    return {r.left - 1, r.top - 1, r.width + 2, r.height + 2};
}

} // namespace

TSurfaceModel::TSurfaceModel(TDialogDocument &document, std::string defaultCtlPath, Clock clock, TRect surface)
    : m_doc(document), m_defaultCtl(std::move(defaultCtlPath)), m_clock(std::move(clock)), m_surface(surface)
{
    resetFromDocument();
}

void TSurfaceModel::setGridPrefs(TGridPrefs prefs)
{
    prefs.xGrid = std::clamp(prefs.xGrid, 2, 20);
    prefs.yGrid = std::clamp(prefs.yGrid, 2, 20);
    m_prefs = prefs;
}

TSurfaceModel::Shown &TSurfaceModel::shown(size_t index)
{
    const TDialogControl &control = m_doc.control(index);
    const auto [it, added] = m_shown.try_emplace(control.id);
    if (added)
        it->second.bounds = storedBounds(control.keys);
    return it->second;
}

TRect TSurfaceModel::storedBounds(const TStringList &keys)
{
    return {keyListInteger(keys, "Left", 0), keyListInteger(keys, "Top", 0),
            renderSize(keyListInteger(keys, "Width", 0)), renderSize(keyListInteger(keys, "Height", 0))};
}

TRect TSurfaceModel::controlBounds(size_t index) const
{
    const TDialogControl &control = m_doc.control(index);
    const auto it = m_shown.find(control.id);
    // A control added to the document behind the model's back shows where
    // its keys put it.
    return it == m_shown.end() ? storedBounds(control.keys) : it->second.bounds;
}

uint64_t TSurfaceModel::controlRevision(size_t index) const
{
    const auto it = m_shown.find(m_doc.control(index).id);
    return it == m_shown.end() ? 0 : it->second.revision;
}

void TSurfaceModel::resetFromDocument()
{
    m_shown.clear();
    m_selected = -1;
    m_frameShape.reset();
    m_resizeShape.reset();
    m_mode = Mode::Idle;
    m_edges = 0;
    m_edgeCursor = TCursorKind::Default;
    m_dblClickPending = false;
    for (size_t i = 0; i < m_doc.controlCount(); ++i)
        BuildControl(m_doc.control(i).keys, i);
}

size_t TSurfaceModel::BuildControl(TStringList keys, std::optional<size_t> existing)
{
    size_t index;
    if (existing) {
        index = *existing;
        m_doc.setControlKeys(index, std::move(keys));
    } else {
        index = m_doc.addControl(std::move(keys));
    }
    Shown &s = shown(index);
    s.bounds = storedBounds(m_doc.control(index).keys);
    s.revision = ++m_revision;
    CtlClick(static_cast<long>(index));
    return index;
}

void TSurfaceModel::CtlClick(long index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_doc.controlCount()) {
        m_selected = -1;
        m_frameShape.reset();
        m_edges = 0;
        m_edgeCursor = TCursorKind::Default;
        return;
    }
    // Edges found on one control must not resize another.
    if (index != m_selected) {
        m_edges = 0;
        m_edgeCursor = TCursorKind::Default;
    }
    TRect &b = shown(static_cast<size_t>(index)).bounds;
    if (b.right() > m_surface.right())
        b.left = m_surface.right() - b.width;
    if (b.bottom() > m_surface.bottom())
        b.top = m_surface.bottom() - b.height;
    m_frameShape = framed(b);
    m_selected = index;
}

void TSurfaceModel::deleteSelected()
{
    if (m_selected < 0)
        return;
    const auto index = static_cast<size_t>(m_selected);
    m_shown.erase(m_doc.control(index).id);
    m_doc.removeControl(index);
    m_selected = -1;
    m_frameShape.reset();
    m_resizeShape.reset();
    m_mode = Mode::Idle;
    m_edges = 0;
    m_edgeCursor = TCursorKind::Default;
    setModified();
}

void TSurfaceModel::bringSelectedToFront()
{
    if (m_selected < 0)
        return;
    const size_t index = m_doc.bringToFront(static_cast<size_t>(m_selected));
    m_selected = static_cast<long>(index);
    setModified();
    CtlClick(m_selected);
}

void TSurfaceModel::paletteClick(int type)
{
    if (type < 0 || type >= kControlTypeCount)
        return;
    m_paletteDown = m_paletteDown == type ? -1 : type;
    if (m_paletteDown < 0) {
        endPlacing();
        return;
    }
    m_placing = true;
    m_confined = true;
}

bool TSurfaceModel::paletteDown(int type) const
{
    return type == m_paletteDown;
}

void TSurfaceModel::endPlacing()
{
    m_placing = false;
    m_confined = false;
    m_paletteDown = -1;
}

void TSurfaceModel::snap(int &x, int &y) const
{
    if (!m_prefs.clickIntoPlace)
        return;
    x = x / m_prefs.xGrid * m_prefs.xGrid;
    y = y / m_prefs.yGrid * m_prefs.yGrid;
}

void TSurfaceModel::place(int x, int y)
{
    TStringList keys{std::string(kKeyListHeader)};
    if (m_paletteDown >= 0) {
        TStringList defaults;
        TProfileIniFile(m_defaultCtl).ReadSectionValues(controlTypeInfo(m_paletteDown).ctlSection, defaults);
        keys.insert(keys.end(), defaults.begin(), defaults.end());
    }
    snap(x, y);
    keys.push_back("Left=" + std::to_string(x));
    keys.push_back("Top=" + std::to_string(y));
    endPlacing();
    BuildControl(std::move(keys));
    setModified();
}

long TSurfaceModel::controlAt(int x, int y) const
{
    for (size_t i = m_doc.controlCount(); i-- > 0;)
        if (controlBounds(i).contains(x, y))
            return static_cast<long>(i);
    return -1;
}

void TSurfaceModel::mousePress(TMouseButton button, int x, int y)
{
    m_mode = Mode::Idle;
    const long hit = controlAt(x, y);
    if (hit < 0) {
        m_dblClickPending = false;
        if (m_placing)
            place(x, y);
        return;
    }
    if (m_placing) {
        place(x, y);
        return;
    }
    const TRect before = shown(static_cast<size_t>(hit)).bounds;
    CtlClick(hit);
    m_mouseDownTime = m_clock();
    m_dragOffsetX = x - before.left;
    m_dragOffsetY = y - before.top;
    if (button != TMouseButton::Left)
        return;
    if (m_edges == 0) {
        m_confined = true;
        m_mode = Mode::Dragging;
        if (!m_dblClickPending)
            m_resizeShape = shown(static_cast<size_t>(hit)).bounds;
    } else {
        m_mode = Mode::Resizing;
    }
}

void TSurfaceModel::updateEdges(int x, int y, const TRect &bounds)
{
    const int w = bounds.width, h = bounds.height;
    m_edges = 0;
    if (x < 5)
        m_edges |= kEdgeLeft;
    if (x > w - 8)
        m_edges |= kEdgeRight;
    if (y > h - 8)
        m_edges |= kEdgeBottom;
    if (y < 5)
        m_edges |= kEdgeTop;
    if (x < 5)
        m_edgeCursor = y < 5 ? TCursorKind::SizeNWSE : y < h - 5 ? TCursorKind::SizeWE : TCursorKind::SizeNESW;
    else if (x > w - 8)
        m_edgeCursor = y < 5 ? TCursorKind::SizeNESW : y < h - 5 ? TCursorKind::SizeWE : TCursorKind::SizeNWSE;
    else
        m_edgeCursor = (y > h - 8 || y < 5) ? TCursorKind::SizeNS : TCursorKind::Default;
}

void TSurfaceModel::mouseMove(bool leftHeld, int x, int y)
{
    if (m_mode == Mode::Dragging) {
        dragOver(x, y);
        return;
    }
    if (m_mode == Mode::Resizing) {
        if (leftHeld && m_selected >= 0) {
            const TRect &b = shown(static_cast<size_t>(m_selected)).bounds;
            previewResize(x - b.left, y - b.top);
            m_confined = false;
            return;
        }
        m_mode = Mode::Idle;
    }
    const long hit = controlAt(x, y);
    if (hit >= 0 && hit == m_selected) {
        if (!leftHeld) {
            const TRect &b = shown(static_cast<size_t>(hit)).bounds;
            updateEdges(x - b.left, y - b.top, b);
        }
    } else {
        // The pointer is off the selected control: its edges are forgotten.
        m_edges = 0;
        m_edgeCursor = TCursorKind::Default;
    }
    if (hit >= 0 && !m_placing)
        m_confined = false;
}

void TSurfaceModel::previewResize(int x, int y)
{
    const TRect &b = shown(static_cast<size_t>(m_selected)).bounds;
    TRect shape = framed(b);
    if (m_edges & kEdgeRight)
        shape.width = x < 3 ? 3 : x + 2;
    if (m_edges & kEdgeBottom)
        shape.height = y < 3 ? 3 : y + 2;
    if (m_edges & kEdgeLeft) {
        shape.left = x + b.left - 1;
        shape.width = b.width + b.left - shape.left + 2;
    }
    if (m_edges & kEdgeTop) {
        shape.top = y + b.top - 1;
        shape.height = b.height + b.top - shape.top + 2;
    }
    m_resizeShape = shape;
    m_frameShape.reset();
}

void TSurfaceModel::mouseRelease(TMouseButton button, int x, int y)
{
    if (m_mode == Mode::Dragging) {
        if (button != TMouseButton::Left)
            return;
        m_mode = Mode::Idle;
        if (m_surface.contains(x, y))
            drop(x, y);
        m_resizeShape.reset();
        m_confined = false;
        m_dblClickPending = false;
        return;
    }
    if (m_mode == Mode::Resizing) {
        m_mode = Mode::Idle;
        if (m_selected < 0) {
            m_resizeShape.reset();
            return;
        }
        if (static_cast<uint32_t>(m_clock() - m_mouseDownTime) > kClickMillis && m_edges != 0 &&
            button == TMouseButton::Left) {
            const TRect &b = shown(static_cast<size_t>(m_selected)).bounds;
            commitResize(x - b.left, y - b.top);
        } else {
            // No resize after all: the selection frame comes back.
            CtlClick(m_selected);
        }
        m_resizeShape.reset();
        return;
    }
    m_resizeShape.reset();
    m_dblClickPending = false;
}

void TSurfaceModel::commitResize(int x, int y)
{
    const auto index = static_cast<size_t>(m_selected);
    const TRect old = shown(index).bounds;
    TRect now = old;
    if (m_edges & kEdgeRight) {
        x = std::max(x, 3);
        now.width = x;
    }
    if (m_edges & kEdgeBottom) {
        y = std::max(y, 3);
        now.height = y;
    }
    if (m_edges & kEdgeLeft) {
        now.left = old.left + x;
        now.width = old.left + old.width - now.left;
    }
    if (m_edges & kEdgeTop) {
        now.top = old.top + y;
        now.height = old.height + old.top - now.top;
    }
    if (now.width <= 0)
        now.width = old.width;
    if (now.height <= 0)
        now.height = old.height;
    TStringList keys = m_doc.control(index).keys;
    setKeyListValue(keys, "Width", std::to_string(now.width));
    setKeyListValue(keys, "Height", std::to_string(now.height));
    setKeyListValue(keys, "Left", std::to_string(now.left));
    setKeyListValue(keys, "Top", std::to_string(now.top));
    BuildControl(std::move(keys), index);
    CtlClick(static_cast<long>(index));
    setModified();
}

void TSurfaceModel::dragOver(int x, int y)
{
    if (m_dblClickPending) {
        m_mode = Mode::Idle;
        m_resizeShape.reset();
        m_confined = false;
        m_dblClickPending = false;
        return;
    }
    if (!m_surface.contains(x, y) || !m_resizeShape)
        return;
    x -= m_dragOffsetX;
    y -= m_dragOffsetY;
    snap(x, y);
    m_resizeShape->left = x + m_surface.left;
    m_resizeShape->top = y + m_surface.top;
}

void TSurfaceModel::drop(int x, int y)
{
    if (static_cast<uint32_t>(m_clock() - m_mouseDownTime) <= kClickMillis || m_dblClickPending || m_selected < 0)
        return;
    x -= m_dragOffsetX;
    y -= m_dragOffsetY;
    snap(x, y);
    const auto index = static_cast<size_t>(m_selected);
    TStringList keys = m_doc.control(index).keys;
    setKeyListValue(keys, "Left", std::to_string(x + m_surface.left));
    setKeyListValue(keys, "Top", std::to_string(y + m_surface.top));
    BuildControl(std::move(keys), index);
    m_confined = false;
    setModified();
    CtlClick(static_cast<long>(index));
}

void TSurfaceModel::mouseDoubleClick(int x, int y)
{
    const long hit = controlAt(x, y);
    if (hit < 0 || m_placing) {
        mousePress(TMouseButton::Left, x, y);
        return;
    }
    // The second click of a double-click neither drags nor drops.
    m_mode = Mode::Idle;
    m_dblClickPending = true;
    CtlClick(hit);
    if (onPropertiesRequested)
        onPropertiesRequested(static_cast<size_t>(hit));
}

void TSurfaceModel::mouseLeave()
{
    if (m_mode != Mode::Idle)
        return;
    m_edges = 0;
    m_edgeCursor = TCursorKind::Default;
}

TCursorKind TSurfaceModel::cursor() const
{
    if (m_placing)
        return TCursorKind::Cross;
    if (m_mode == Mode::Dragging)
        return TCursorKind::Default;
    return m_edgeCursor;
}

void TSurfaceModel::setModified()
{
    m_doc.setModified(true);
}

} // namespace wharf
