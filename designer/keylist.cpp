#include "keylist.h"

#include "codec.h"

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

// The lines [begin, end) of the first section of that name; begin is the
// line after its header. Both are 0 when there is no such section.
struct SectionRange {
    size_t header = 0, begin = 0, end = 0;
    bool found = false;
};

SectionRange findSection(const TStringList &lines, std::string_view name)
{
    SectionRange range;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!isSectionHeader(lines[i]))
            continue;
        if (range.found) {
            range.end = i;
            return range;
        }
        if (sameTextIgnoreCase(headerName(lines[i]), name)) {
            range.found = true;
            range.header = i;
            range.begin = i + 1;
        }
    }
    if (range.found)
        range.end = lines.size();
    return range;
}

long findKeyLine(const TStringList &lines, std::string_view section, std::string_view key)
{
    const SectionRange range = findSection(lines, section);
    for (size_t i = range.begin; i < range.end; ++i)
        if (!isSkipped(lines[i]) && lines[i].find('=') != std::string::npos &&
            sameTextIgnoreCase(lineKey(lines[i]), key))
            return static_cast<long>(i);
    return -1;
}

} // namespace

TStringList withKeyListHeader(TStringList lines)
{
    if (lines.empty() || lines.front() != kKeyListHeader)
        lines.insert(lines.begin(), std::string(kKeyListHeader));
    return lines;
}

TKeyListStore::TKeyListStore(TStringList &lines) : TCustomIniStore(std::string()), m_lines(lines) {}

long TKeyListStore::findLine(std::string_view section, std::string_view key) const
{
    return findKeyLine(m_lines, section, key);
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
    const SectionRange range = findSection(m_lines, section);
    if (!range.found) {
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        return;
    }
    // Behind the section's last real line, so a closing empty line stays last.
    size_t at = range.begin;
    for (size_t i = range.begin; i < range.end; ++i)
        if (!m_lines[i].empty())
            at = i + 1;
    m_lines.insert(m_lines.begin() + static_cast<long>(at), std::move(line));
}

void TKeyListStore::ReadSection(std::string_view section, TStringList &list) const
{
    list.clear();
    const SectionRange range = findSection(m_lines, section);
    for (size_t i = range.begin; i < range.end; ++i)
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
    const SectionRange range = findSection(m_lines, section);
    for (size_t i = range.begin; i < range.end; ++i)
        if (!isSkipped(m_lines[i]))
            list.push_back(m_lines[i]);
}

void TKeyListStore::EraseSection(std::string_view section)
{
    const SectionRange range = findSection(m_lines, section);
    if (range.found)
        m_lines.erase(m_lines.begin() + static_cast<long>(range.header), m_lines.begin() + static_cast<long>(range.end));
}

void TKeyListStore::DeleteKey(std::string_view section, std::string_view key)
{
    if (const long i = findLine(section, key); i >= 0)
        m_lines.erase(m_lines.begin() + i);
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
