#include "keylist.h"

#include "codec.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace wharf {
namespace {

bool isSkipped(const std::string &line)
{
    return line.empty() || line.front() == ';';
}

bool isSectionHeader(const std::string &line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string_view headerName(const std::string &line)
{
    return std::string_view(line).substr(1, line.size() - 2);
}

std::string_view lineKey(const std::string &line)
{
    return std::string_view(line).substr(0, std::min(line.find('='), line.size()));
}

// The look-up form of a name: foldedText, with a short way for ASCII, which
// nearly every key is.
std::string folded(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return foldedText(text);
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

// Equal without regard to ASCII case, for two ASCII names; false when
// either holds another character (the index decides those).
bool sameAsciiKey(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80)
            return false;
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c + 0; };
        if (lower(x) != lower(y))
            return false;
    }
    return true;
}

bool isKeyLine(const std::string &line)
{
    return !isSkipped(line) && line.find('=') != std::string::npos;
}

// A hash of a name that is equal for names equal without regard to case:
// FNV-1a over its folded form (ASCII lower-cased on the way, anything else
// folded first).
uint64_t foldedHash(std::string_view text)
{
    uint64_t h = 1469598103934665603ull;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            h = 1469598103934665603ull;
            for (const char f : foldedText(text)) {
                h ^= static_cast<unsigned char>(f);
                h *= 1099511628211ull;
            }
            return h;
        }
        h ^= u >= 'A' && u <= 'Z' ? u + 32u : u;
        h *= 1099511628211ull;
    }
    return h;
}

bool sameKey(std::string_view a, std::string_view b)
{
    return sameAsciiKey(a, b) || sameTextIgnoreCase(a, b);
}

// The first line of each key of a section, in an open-addressing table of
// (hash, line) pairs: no allocation per key, and a look-up of a missing key
// mostly ends at its first slot.
class KeyTable {
public:
    // Adds line as the line of its key unless the key has one; false then.
    bool add(const TStringList &lines, size_t line)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            grow();
        const std::string_view key = lineKey(lines[line]);
        const uint64_t h = foldedHash(key);
        for (size_t i = h & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1)) {
            Slot &slot = m_slots[i];
            if (slot.line == kEmpty) {
                slot = {h, line};
                ++m_used;
                return true;
            }
            if (slot.hash == h && sameKey(lineKey(lines[slot.line]), key))
                return false;
        }
    }

    long find(const TStringList &lines, std::string_view key) const
    {
        if (m_slots.empty())
            return -1;
        const uint64_t h = foldedHash(key);
        for (size_t i = h & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1)) {
            const Slot &slot = m_slots[i];
            if (slot.line == kEmpty)
                return -1;
            if (slot.hash == h && sameKey(lineKey(lines[slot.line]), key))
                return static_cast<long>(slot.line);
        }
    }

private:
    static constexpr size_t kEmpty = static_cast<size_t>(-1);
    struct Slot {
        uint64_t hash = 0;
        size_t line = kEmpty;
    };

    void grow()
    {
        const size_t size = std::max<size_t>(16, 2 * m_slots.size());
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(size, Slot{});
        for (const Slot &slot : old)
            if (slot.line != kEmpty)
                for (size_t i = slot.hash & (size - 1);; i = (i + 1) & (size - 1))
                    if (m_slots[i].line == kEmpty) {
                        m_slots[i] = slot;
                        break;
                    }
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

long findKeyLine(const TStringList &lines, std::string_view section, std::string_view key)
{
    bool inSection = false, seen = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (isSectionHeader(line)) {
            if (inSection)
                return -1;
            inSection = !seen && sameTextIgnoreCase(headerName(line), section);
            seen = seen || inSection;
        } else if (inSection && isKeyLine(line) && sameTextIgnoreCase(lineKey(line), key)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

} // namespace

TStringList withKeyListHeader(TStringList lines)
{
    if (lines.empty() || lines.front() != kKeyListHeader)
        lines.insert(lines.begin(), std::string(kKeyListHeader));
    return lines;
}

// The lines [begin, end) of the first section of each name, and the first
// line of each key in it. `last` is the highest line index the index refers
// to, so a line added behind it moves nothing the index holds.
struct TKeyListStore::Index {
    struct Section {
        size_t header = 0, begin = 0, end = 0;
        KeyTable keys;
        bool repeated = false; // a key occurs more than once
    };
    std::unordered_map<std::string, Section> sections; // folded name
    size_t last = 0;

    const Section *find(std::string_view name) const
    {
        const auto it = sections.find(folded(name));
        return it == sections.end() ? nullptr : &it->second;
    }
    Section *find(std::string_view name)
    {
        const auto it = sections.find(folded(name));
        return it == sections.end() ? nullptr : &it->second;
    }
};

TKeyListStore::TKeyListStore(TStringList &lines) : TCustomIniStore(std::string()), m_lines(lines) {}

TKeyListStore::~TKeyListStore() = default;

TKeyListStore::Index &TKeyListStore::index() const
{
    if (m_index)
        return *m_index;
    auto ix = std::make_unique<Index>();
    Index::Section *current = nullptr;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const std::string &line = m_lines[i];
        if (isSectionHeader(line)) {
            if (current)
                current->end = i;
            const auto [it, added] = ix->sections.try_emplace(folded(headerName(line)));
            current = added ? &it->second : nullptr;
            if (current) {
                current->header = i;
                current->begin = current->end = i + 1;
            }
            ix->last = i;
        } else if (current && isKeyLine(line)) {
            if (current->keys.add(m_lines, i))
                ix->last = i;
            else
                current->repeated = true;
        }
    }
    if (current)
        current->end = m_lines.size();
    m_index = std::move(ix);
    return *m_index;
}

long TKeyListStore::findLine(std::string_view section, std::string_view key) const
{
    const Index::Section *s = index().find(section);
    if (!s)
        return -1;
    // Keys are mostly read in the order they stand (a counted list line by
    // line): the line after the last one found is tried first. Without
    // repeated keys in the section, a line of that key is its first one.
    const size_t next = m_lastFound + 1;
    if (!s->repeated && next >= s->begin && next < s->end && isKeyLine(m_lines[next]) &&
        sameAsciiKey(lineKey(m_lines[next]), key)) {
        m_lastFound = next;
        return static_cast<long>(next);
    }
    const long found = s->keys.find(m_lines, key);
    if (found >= 0)
        m_lastFound = static_cast<size_t>(found);
    return found;
}

std::string TKeyListStore::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const long i = findLine(section, key);
    if (i < 0)
        return std::string(def);
    const std::string &line = m_lines[static_cast<size_t>(i)];
    return line.substr(line.find('=') + 1);
}

void TKeyListStore::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    if (const long i = findLine(section, key); i >= 0) {
        m_lines[static_cast<size_t>(i)] = std::move(line);
        return;
    }
    Index &ix = index();
    Index::Section *s = ix.find(section);
    if (!s) {
        const size_t header = m_lines.size();
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        // The section before, if any, ended where the new header stands.
        Index::Section &added = ix.sections[folded(section)];
        added.header = header;
        added.begin = header + 1;
        added.end = header + 2;
        if (isKeyLine(m_lines.back()) && !added.keys.add(m_lines, header + 1))
            added.repeated = true;
        ix.last = header + 1;
        return;
    }
    // Behind the section's last real line, so a closing empty line stays last.
    size_t at = s->end;
    while (at > s->begin && m_lines[at - 1].empty())
        --at;
    m_lines.insert(m_lines.begin() + static_cast<long>(at), std::move(line));
    if (at > ix.last && isKeyLine(m_lines[at])) {
        // Only lines the index does not refer to moved: the section is the
        // last one and grew by a line.
        ++s->end;
        // A key holding "=" lands on the key before its "=", which may be there.
        if (!s->keys.add(m_lines, at))
            s->repeated = true;
        ix.last = at;
    } else {
        m_index.reset();
    }
}

void TKeyListStore::ReadSection(std::string_view section, TStringList &list) const
{
    list.clear();
    const Index::Section *s = index().find(section);
    if (!s)
        return;
    for (size_t i = s->begin; i < s->end; ++i)
        if (!isSkipped(m_lines[i]))
            list.emplace_back(lineKey(m_lines[i]));
}

void TKeyListStore::ReadSections(TStringList &list) const
{
    list.clear();
    for (const std::string &line : m_lines)
        if (isSectionHeader(line))
            list.emplace_back(headerName(line));
}

void TKeyListStore::ReadSectionValues(std::string_view section, TStringList &list) const
{
    list.clear();
    const Index::Section *s = index().find(section);
    if (!s)
        return;
    for (size_t i = s->begin; i < s->end; ++i)
        if (!isSkipped(m_lines[i]))
            list.push_back(m_lines[i]);
}

void TKeyListStore::EraseSection(std::string_view section)
{
    const Index::Section *s = index().find(section);
    if (!s)
        return;
    const size_t header = s->header, end = s->end;
    m_index.reset();
    m_lines.erase(m_lines.begin() + static_cast<long>(header), m_lines.begin() + static_cast<long>(end));
}

void TKeyListStore::DeleteKey(std::string_view section, std::string_view key)
{
    if (const long i = findLine(section, key); i >= 0) {
        m_index.reset();
        m_lines.erase(m_lines.begin() + i);
    }
}

std::optional<std::string> keyListValue(const TStringList &keys, std::string_view key)
{
    const long i = findKeyLine(keys, kKeyListSection, key);
    if (i < 0)
        return std::nullopt;
    const std::string &line = keys[static_cast<size_t>(i)];
    return line.substr(line.find('=') + 1);
}

int32_t keyListInteger(const TStringList &keys, std::string_view key, int32_t def)
{
    int32_t value = 0;
    const auto text = keyListValue(keys, key);
    return text && parseIniInteger(*text, value) ? value : def;
}

void setKeyListValue(TStringList &keys, std::string_view key, std::string_view value)
{
    // One write needs no index: a single pass finds the key or the place
    // behind the section's last real line, as TKeyListStore::WriteString does.
    std::string line = std::string(key) + "=" + std::string(value);
    bool inSection = false, seen = false;
    size_t at = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string &l = keys[i];
        if (isSectionHeader(l)) {
            if (inSection)
                break;
            inSection = !seen && sameTextIgnoreCase(headerName(l), kKeyListSection);
            if (inSection)
                at = i + 1;
            seen = seen || inSection;
        } else if (inSection) {
            if (isKeyLine(l) && sameTextIgnoreCase(lineKey(l), key)) {
                keys[i] = std::move(line);
                return;
            }
            if (!l.empty())
                at = i + 1;
        }
    }
    if (!seen) {
        keys.push_back("[" + std::string(kKeyListSection) + "]");
        keys.push_back(std::move(line));
        return;
    }
    keys.insert(keys.begin() + static_cast<long>(at), std::move(line));
}

} // namespace wharf
