#include "keylist.h"

#include "codec.h"

#include <unordered_map>

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

// The look-up key of a key in a section: both folded, joined by a byte no
// folded name holds at that place.
std::string indexKey(std::string_view section, std::string_view key)
{
    std::string joined = foldedText(section);
    joined += '\n';
    joined += foldedText(key);
    return joined;
}

bool isKeyLine(const std::string &line)
{
    return !isSkipped(line) && line.find('=') != std::string::npos;
}

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
    };
    std::unordered_map<std::string, Section> sections; // folded name
    std::unordered_map<std::string, size_t> keys;      // indexKey
    size_t last = 0;
};

TKeyListStore::TKeyListStore(TStringList &lines) : TCustomIniStore(std::string()), m_lines(lines) {}

TKeyListStore::~TKeyListStore() = default;

TKeyListStore::Index &TKeyListStore::index() const
{
    if (m_index)
        return *m_index;
    auto ix = std::make_unique<Index>();
    Index::Section *current = nullptr;
    std::string currentName;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const std::string &line = m_lines[i];
        if (isSectionHeader(line)) {
            if (current)
                current->end = i;
            currentName = foldedText(headerName(line));
            const auto [it, added] = ix->sections.try_emplace(currentName, Index::Section{i, i + 1, i + 1});
            current = added ? &it->second : nullptr;
            ix->last = i;
        } else if (current && isKeyLine(line)) {
            std::string k = currentName;
            k += '\n';
            k += foldedText(lineKey(line));
            if (ix->keys.try_emplace(std::move(k), i).second)
                ix->last = i;
        }
    }
    if (current)
        current->end = m_lines.size();
    m_index = std::move(ix);
    return *m_index;
}

long TKeyListStore::findLine(std::string_view section, std::string_view key) const
{
    const Index &ix = index();
    const auto it = ix.keys.find(indexKey(section, key));
    return it == ix.keys.end() ? -1 : static_cast<long>(it->second);
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
    const std::string foldedSection = foldedText(section);
    const std::string newKey = foldedSection + '\n' + foldedText(lineKey(line));
    const auto s = ix.sections.find(foldedSection);
    if (s == ix.sections.end()) {
        const size_t header = m_lines.size();
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        // The section before, if any, ended where the new header stands.
        ix.sections.try_emplace(foldedSection, Index::Section{header, header + 1, header + 2});
        if (isKeyLine(m_lines.back()))
            ix.keys.try_emplace(newKey, header + 1);
        ix.last = header + 1;
        return;
    }
    // Behind the section's last real line, so a closing empty line stays last.
    size_t at = s->second.end;
    while (at > s->second.begin && m_lines[at - 1].empty())
        --at;
    m_lines.insert(m_lines.begin() + static_cast<long>(at), std::move(line));
    if (at > ix.last && isKeyLine(m_lines[at])) {
        // Only lines the index does not refer to moved: the section is the
        // last one and grew by a line.
        ++s->second.end;
        ix.keys.try_emplace(newKey, at);
        ix.last = at;
    } else {
        m_index.reset();
    }
}

void TKeyListStore::ReadSection(std::string_view section, TStringList &list) const
{
    list.clear();
    const Index &ix = index();
    const auto s = ix.sections.find(foldedText(section));
    if (s == ix.sections.end())
        return;
    for (size_t i = s->second.begin; i < s->second.end; ++i)
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
    const Index &ix = index();
    const auto s = ix.sections.find(foldedText(section));
    if (s == ix.sections.end())
        return;
    for (size_t i = s->second.begin; i < s->second.end; ++i)
        if (!isSkipped(m_lines[i]))
            list.push_back(m_lines[i]);
}

void TKeyListStore::EraseSection(std::string_view section)
{
    const Index &ix = index();
    const auto s = ix.sections.find(foldedText(section));
    if (s == ix.sections.end())
        return;
    const Index::Section range = s->second;
    m_index.reset();
    m_lines.erase(m_lines.begin() + static_cast<long>(range.header), m_lines.begin() + static_cast<long>(range.end));
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
    TKeyListStore(keys).WriteString(kKeyListSection, key, value);
}

} // namespace wharf
