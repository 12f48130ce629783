#include "clipboardformat.h"

#include "codec.h"
#include "keylist.h"

#include <algorithm>

namespace wharf {
namespace {

bool isHeaderLine(const std::string &line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

bool isKeyLine(const std::string &line)
{
    const size_t eq = line.find('=');
    return !line.empty() && line.front() != ';' && eq != std::string::npos && eq > 0;
}

bool meets(const TRect &a, const TRect &b)
{
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// The placed rectangle that r meets and that reaches furthest in the
// direction of the scan (by its bottom or right edge); nullptr when r is free.
const TRect *blocker(const TRect &r, const std::vector<TRect> &placed, bool byBottom)
{
    const TRect *found = nullptr;
    for (const TRect &p : placed)
        if (meets(r, p) && (!found || (byBottom ? p.bottom() > found->bottom() : p.right() > found->right())))
            found = &p;
    return found;
}

// The first free top in [from, to] for a control at r.left; nullopt when none.
std::optional<int> freeTopInColumn(TRect r, int from, int to, const std::vector<TRect> &placed)
{
    for (r.top = from; r.top <= to;) {
        const TRect *b = blocker(r, placed, true);
        if (!b)
            return r.top;
        r.top = std::max(r.top + 1, b->bottom());
    }
    return std::nullopt;
}

} // namespace

std::string encodeControlClipboard(const TStringList &keys)
{
    const TStringList lines = withKeyListHeader(keys);
    // What is copied must paste as it is: the refusals of the decoder, line
    // by line.
    bool anyKey = false;
    size_t size = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        size += line.size() + 2;
        if (line.find_first_of("\r\n") != std::string::npos || line.find('\0') != std::string::npos ||
            (i > 0 && isHeaderLine(line)))
            throw EControlClipboardError("The control's key list cannot travel on the clipboard as it is.");
        anyKey = anyKey || (i > 0 && isKeyLine(line));
    }
    if (!anyKey)
        throw EControlClipboardError("The control's key list cannot travel on the clipboard as it is.");
    std::string text;
    text.reserve(size);
    for (const std::string &line : lines) {
        text += line;
        text += "\r\n";
    }
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::string bytes = ascii ? std::move(text) : toWindows1252(text);
    bytes.push_back('\0');
    if (bytes.size() > kMaxControlClipboardBytes)
        throw EControlClipboardError("The control's key list is too large for the clipboard.");
    return bytes;
}

std::optional<TStringList> decodeControlClipboard(std::string_view bytes)
{
    if (bytes.size() > kMaxControlClipboardBytes)
        return std::nullopt;
    bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
    const std::string text = fromWindows1252(bytes);

    TStringList lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = std::min(text.find('\n', begin), text.size());
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        begin = end + 1;
    }
    if (lines.empty() || lines.front() != kKeyListHeader)
        return std::nullopt;
    // Another section header (or a second "[Controls]") would split the
    // control's section when the dialog is saved, so it is refused. Any other
    // line starting with "[" reads back as a plain line of the section.
    bool anyKey = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string &line = lines[i];
        if (isHeaderLine(line))
            return std::nullopt;
        std::replace(line.begin(), line.end(), '\r', ' ');
        anyKey = anyKey || isKeyLine(line);
    }
    if (!anyKey)
        return std::nullopt;
    return lines;
}

TRect pastePlace(TRect wanted, const TRect &surface, const std::vector<TRect> &placed)
{
    const int maxLeft = std::max(surface.left, surface.right() - wanted.width);
    const int maxTop = std::max(surface.top, surface.bottom() - wanted.height);
    wanted.left = std::clamp(wanted.left, surface.left, maxLeft);
    wanted.top = std::clamp(wanted.top, surface.top, maxTop);

    if (const auto top = freeTopInColumn(wanted, wanted.top, maxTop, placed)) {
        wanted.top = *top;
        return wanted;
    }
    if (const auto top = freeTopInColumn(wanted, surface.top, wanted.top - 1, placed)) {
        wanted.top = *top;
        return wanted;
    }
    TRect r = wanted;
    for (r.top = surface.top; r.top <= maxTop; ++r.top) {
        for (r.left = surface.left; r.left <= maxLeft;) {
            const TRect *b = blocker(r, placed, false);
            if (!b)
                return r;
            r.left = std::max(r.left + 1, b->right());
        }
    }
    return wanted;
}

} // namespace wharf
