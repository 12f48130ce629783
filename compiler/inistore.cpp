#include "inistore.h"

#include "codec.h"
#include "files.h"
#include "profile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wharf {
namespace {

bool parseDecimal(std::string_view text, int32_t &value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && text.front() == '$') {
        hex = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, hex ? 16 : 10);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    if (hex) {
        // Hexadecimal covers the whole 32-bit pattern: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull)
            return false;
        const auto bits = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
        value = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
        return true;
    }
    if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull)
        return false;
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
    return true;
}

// Day counts from 1899-12-30, the zero of the stored date values.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr int64_t kEpochOffset = 25569; // 1970-01-01 as a stored date

void civilFromDays(int64_t z, int &y, unsigned &m, unsigned &d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

std::string formatDate(double value)
{
    int y;
    unsigned m, d;
    civilFromDays(static_cast<int64_t>(std::floor(value)) - kEpochOffset, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
    return buf;
}

std::string formatTime(double value)
{
    const double frac = value - std::floor(value);
    const auto secs = static_cast<long>(std::lround(frac * 86400.0)) % 86400;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", secs / 3600, (secs / 60) % 60, secs % 60);
    return buf;
}

bool parseDate(std::string_view text, double &value)
{
    int y = 0;
    unsigned m = 0, d = 0;
    int used = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d-%u-%u%n", &y, &m, &d, &used) != 3 || m < 1 || m > 12 || d < 1 || d > 31)
        return false;
    value = static_cast<double>(daysFromCivil(y, m, d) + kEpochOffset);
    return static_cast<size_t>(used) == s.size();
}

bool parseTime(std::string_view text, double &value)
{
    unsigned h = 0, mi = 0, se = 0;
    int used = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%u:%u:%u%n", &h, &mi, &se, &used) != 3 || h > 23 || mi > 59 || se > 59 ||
        static_cast<size_t>(used) != s.size())
        return false;
    value = (h * 3600.0 + mi * 60.0 + se) / 86400.0;
    return true;
}

bool parseFloat(std::string_view text, double &value)
{
    const std::string s(text);
    char *end = nullptr;
    value = std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size();
}

// The key of a raw line: its text before the first "=".
bool lineKey(std::string_view line, std::string_view &key)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = line.substr(0, eq);
    return true;
}

std::string stripQuotes(std::string value)
{
    if (!value.empty() && value.front() == '"' && value.back() == '"')
        return value.size() == 1 ? std::string() : value.substr(1, value.size() - 2);
    return value;
}

} // namespace

bool parseIniInteger(std::string_view text, int32_t &value)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string dollar = "$" + std::string(text.substr(2));
        return parseDecimal(dollar, value);
    }
    return parseDecimal(text, value);
}

int32_t TCustomIniStore::ReadInteger(std::string_view section, std::string_view key, int32_t def) const
{
    int32_t value = 0;
    return parseIniInteger(ReadString(section, key, ""), value) ? value : def;
}

void TCustomIniStore::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

bool TCustomIniStore::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TCustomIniStore::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

double TCustomIniStore::ReadDate(std::string_view section, std::string_view key, double def) const
{
    double v = 0;
    return parseDate(ReadString(section, key, ""), v) ? v : def;
}

double TCustomIniStore::ReadDateTime(std::string_view section, std::string_view key, double def) const
{
    const std::string text = ReadString(section, key, "");
    const size_t blank = text.find(' ');
    double date = 0, time = 0;
    if (blank == std::string::npos)
        return parseDate(text, date) ? date : def;
    if (!parseDate(std::string_view(text).substr(0, blank), date) ||
        !parseTime(std::string_view(text).substr(blank + 1), time))
        return def;
    return date + time;
}

double TCustomIniStore::ReadFloat(std::string_view section, std::string_view key, double def) const
{
    double v = 0;
    return parseFloat(ReadString(section, key, ""), v) ? v : def;
}

double TCustomIniStore::ReadTime(std::string_view section, std::string_view key, double def) const
{
    double v = 0;
    return parseTime(ReadString(section, key, ""), v) ? v : def;
}

void TCustomIniStore::WriteDate(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, formatDate(value));
}

void TCustomIniStore::WriteDateTime(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, formatDate(value) + " " + formatTime(value));
}

void TCustomIniStore::WriteFloat(std::string_view section, std::string_view key, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    WriteString(section, key, buf);
}

void TCustomIniStore::WriteTime(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, formatTime(value));
}

// ---------------------------------------------------------------------------

TMemIniStore::TMemIniStore(std::string fileName, bool keepQuotes)
    : TCustomIniStore(std::move(fileName)), m_keepQuotes(keepQuotes)
{
    if (!FileName().empty())
        if (const auto bytes = readFile(FileName()))
            LoadFromBytes(*bytes);
}

void TMemIniStore::LoadFromBytes(std::string_view bytes)
{
    m_sections.clear();
    invalidateSections();
    const std::string text = fromWindows1252(bytes);
    Section *current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size())
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            m_sections.push_back(Section{line.substr(1, line.size() - 2), {}, {}, false, false});
            current = &m_sections.back();
            continue;
        }
        if (current)
            current->lines.push_back(std::move(line));
    }
}

std::string TMemIniStore::SaveToBytes() const
{
    std::string text;
    for (const Section &s : m_sections) {
        text += "[" + s.name + "]\r\n";
        for (const std::string &line : s.lines) {
            text += line;
            text += "\r\n";
        }
        text += "\r\n";
    }
    try {
        return toWindows1252(text);
    } catch (const ECodecError &e) {
        throw EFCreateError("Cannot write file \"" + FileName() + "\": " + e.what());
    }
}

const TMemIniStore::Section *TMemIniStore::findSection(std::string_view name) const
{
    if (!m_sectionIndexValid) {
        m_sectionIndex.clear();
        for (size_t i = 0; i < m_sections.size(); ++i)
            m_sectionIndex.try_emplace(foldedText(m_sections[i].name), i);
        m_sectionIndexValid = true;
    }
    const auto it = m_sectionIndex.find(foldedText(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

TMemIniStore::Section *TMemIniStore::findSection(std::string_view name)
{
    return const_cast<Section *>(static_cast<const TMemIniStore *>(this)->findSection(name));
}

long TMemIniStore::findLine(const Section &section, std::string_view key) const
{
    if (!section.indexValid) {
        section.keyIndex.clear();
        for (size_t i = 0; i < section.lines.size(); ++i) {
            std::string_view k;
            if (lineKey(section.lines[i], k))
                section.keyIndex.try_emplace(foldedText(k), i);
        }
        section.indexValid = true;
    }
    const auto it = section.keyIndex.find(foldedText(key));
    return it == section.keyIndex.end() ? -1 : static_cast<long>(it->second);
}

bool TMemIniStore::SectionExists(std::string_view section) const
{
    return findSection(section) != nullptr;
}

std::string TMemIniStore::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const Section *s = findSection(section);
    if (!s)
        return std::string(def);
    const long line = findLine(*s, key);
    if (line < 0)
        return std::string(def);
    const std::string &text = s->lines[static_cast<size_t>(line)];
    std::string value = text.substr(text.find('=') + 1);
    return m_keepQuotes ? value : stripQuotes(std::move(value));
}

void TMemIniStore::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Section *s = findSection(section);
    if (!s) {
        // findSection has just made the section index valid, so the new
        // section joins it instead of making it stale.
        m_sections.push_back(Section{std::string(section), {}, {}, true, false});
        m_sectionIndex.try_emplace(foldedText(section), m_sections.size() - 1);
        s = &m_sections.back();
    }
    s->appendOnly = false;
    std::string line = std::string(key) + "=" + std::string(value);
    const long index = findLine(*s, key);
    if (index >= 0) {
        s->lines[static_cast<size_t>(index)] = std::move(line);
    } else {
        // findLine has just made the key index valid; an added line is the
        // last one, so the earlier lines keep their places in it.
        s->lines.push_back(std::move(line));
        s->keyIndex.try_emplace(foldedText(key), s->lines.size() - 1);
    }
}

void TMemIniStore::AppendNewKey(std::string_view section, std::string_view key, std::string_view value)
{
    Section *s = findSection(section);
    if (!s) {
        m_sections.push_back(Section{std::string(section), {}, {}, false, true});
        m_sectionIndex.try_emplace(foldedText(section), m_sections.size() - 1);
        s = &m_sections.back();
    }
    if (!s->appendOnly) {
        WriteString(section, key, value);
        return;
    }
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append(1, '=').append(value);
    s->lines.push_back(std::move(line));
}

void TMemIniStore::ReadSection(std::string_view section, TStringList &list) const
{
    list.clear();
    if (const Section *s = findSection(section))
        for (const std::string &line : s->lines) {
            // A line without "=" has no key: its name is empty.
            std::string_view key;
            list.push_back(lineKey(line, key) ? std::string(key) : std::string());
        }
}

void TMemIniStore::ReadSections(TStringList &list) const
{
    list.clear();
    for (const Section &s : m_sections)
        list.push_back(s.name);
}

void TMemIniStore::ReadSectionValues(std::string_view section, TStringList &list) const
{
    list.clear();
    if (const Section *s = findSection(section))
        list = s->lines;
}

void TMemIniStore::EraseSection(std::string_view section)
{
    if (const Section *s = findSection(section)) {
        m_sections.erase(m_sections.begin() + (s - m_sections.data()));
        invalidateSections();
    }
}

void TMemIniStore::DeleteKey(std::string_view section, std::string_view key)
{
    Section *s = findSection(section);
    if (!s)
        return;
    const long index = findLine(*s, key);
    if (index < 0)
        return;
    s->lines.erase(s->lines.begin() + index);
    s->indexValid = false;
    s->appendOnly = false;
}

void TMemIniStore::UpdateFile()
{
    const std::string bytes = SaveToBytes();
    if (const ReplaceResult saved = replaceFile(FileName(), bytes); !saved)
        throw EFCreateError("Cannot create file \"" + FileName() + "\": " + saved.reason);
}

// ---------------------------------------------------------------------------

std::string TProfileIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    return profileReadString(FileName(), section, key, 2047).value_or(std::string(def));
}

void TProfileIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    errno = 0;
    if (!profileWriteString(FileName(), section, key, value)) {
        const int error = errno;
        throw EIniFileException("Unable to write to " + FileName() +
                                (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
    }
}

void TProfileIniFile::ReadSection(std::string_view section, TStringList &list) const
{
    list.clear();
    for (std::string &name : profileKeys(FileName(), section))
        list.push_back(std::move(name));
}

void TProfileIniFile::ReadSections(TStringList &list) const
{
    list.clear();
    for (std::string &name : profileSections(FileName()))
        list.push_back(std::move(name));
}

void TProfileIniFile::ReadSectionValues(std::string_view section, TStringList &list) const
{
    TStringList keys;
    ReadSection(section, keys);
    for (const std::string &key : keys) {
        const std::string value = ReadString(section, key, "");
        auto it = std::find_if(list.begin(), list.end(), [&](const std::string &line) {
            std::string_view k;
            return lineKey(line, k) && sameTextIgnoreCase(k, key);
        });
        if (value.empty()) {
            if (it != list.end())
                list.erase(it);
        } else if (it != list.end()) {
            *it = key + "=" + value;
        } else {
            list.push_back(key + "=" + value);
        }
    }
}

void TProfileIniFile::EraseSection(std::string_view section)
{
    if (!profileEraseSection(FileName(), section))
        throw EIniFileException("Unable to write to " + FileName());
}

void TProfileIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    profileDeleteKey(FileName(), section, key);
}

} // namespace wharf
