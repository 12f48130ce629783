#include "profile.h"

#include "codec.h"
#include "files.h"

#include <algorithm>
#include <cerrno>

namespace wharf {
namespace {

enum class Encoding { Ansi, Utf8Bom, Utf16Le };

// The file as UTF-8 lines, with what is needed to write it back the same way.
struct ProfileText {
    Encoding encoding = Encoding::Ansi;
    std::string lineEnd = "\r\n";
    bool endsWithLineEnd = true;
    std::vector<std::string> lines;
};

std::string trim(std::string_view s)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

ProfileText parse(std::string_view raw)
{
    ProfileText text;
    std::string body;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        text.encoding = Encoding::Utf16Le;
        body = fromUtf16Le(raw.substr(2));
    } else if (raw.size() >= 3 && raw.substr(0, 3) == "\xEF\xBB\xBF") {
        text.encoding = Encoding::Utf8Bom;
        body = std::string(raw.substr(3));
    } else {
        body = fromWindows1252(raw);
    }
    const size_t firstLf = body.find('\n');
    if (firstLf != std::string::npos && (firstLf == 0 || body[firstLf - 1] != '\r'))
        text.lineEnd = "\n";
    text.endsWithLineEnd = body.empty() || body.back() == '\n';
    size_t pos = 0;
    while (pos < body.size()) {
        size_t end = body.find('\n', pos);
        if (end == std::string::npos)
            end = body.size();
        std::string line = body.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        text.lines.push_back(std::move(line));
        pos = end + 1;
    }
    return text;
}

std::optional<ProfileText> load(std::string_view file)
{
    auto raw = readFile(file);
    if (!raw)
        return std::nullopt;
    return parse(*raw);
}

bool store(std::string_view file, const ProfileText &text)
{
    std::string body;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        body += text.lines[i];
        if (i + 1 < text.lines.size() || text.endsWithLineEnd)
            body += text.lineEnd;
    }
    std::string raw;
    switch (text.encoding) {
    case Encoding::Ansi:
        if (!fitsWindows1252(body)) {
            errno = EILSEQ;
            return false;
        }
        raw = toWindows1252(body);
        break;
    case Encoding::Utf8Bom:
        raw = "\xEF\xBB\xBF" + body;
        break;
    case Encoding::Utf16Le:
        raw = "\xFF\xFE" + toUtf16Le(body);
        break;
    }
    return replaceFile(file, raw).ok;
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string> headerName(std::string_view line)
{
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(std::string_view(t).substr(1, close - 1));
}

bool isComment(std::string_view line)
{
    const std::string t = trim(line);
    return !t.empty() && t.front() == ';';
}

// Splits a key line into trimmed key and raw value; nullopt when not one.
std::optional<std::pair<std::string, std::string>> keyLine(std::string_view line)
{
    if (isComment(line) || headerName(line))
        return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::make_pair(trim(line.substr(0, eq)), std::string(line.substr(eq + 1)));
}

struct SectionRange {
    size_t header; // index of the header line
    size_t end;    // one past the last line of the section
};

std::optional<SectionRange> findSection(const ProfileText &text, std::string_view section)
{
    const std::string wanted = trim(section);
    for (size_t i = 0; i < text.lines.size(); ++i) {
        const auto name = headerName(text.lines[i]);
        if (!name || !sameTextIgnoreCase(*name, wanted))
            continue;
        size_t end = i + 1;
        while (end < text.lines.size() && !headerName(text.lines[end]))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> findKey(const ProfileText &text, const SectionRange &range, std::string_view key)
{
    const std::string wanted = trim(key);
    for (size_t i = range.header + 1; i < range.end; ++i) {
        const auto kv = keyLine(text.lines[i]);
        if (kv && sameTextIgnoreCase(kv->first, wanted))
            return i;
    }
    return std::nullopt;
}

std::string unquote(std::string value)
{
    value = trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// Cuts UTF-8 text to at most n characters.
std::string cutCharacters(const std::string &s, size_t n)
{
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n)
                return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

void pushUnique(std::vector<std::string> &names, std::string name)
{
    const bool seen = std::any_of(names.begin(), names.end(),
                                  [&](const std::string &n) { return sameTextIgnoreCase(n, name); });
    if (!seen)
        names.push_back(std::move(name));
}

} // namespace

std::optional<std::string> profileReadString(std::string_view file, std::string_view section,
                                             std::string_view key, size_t maxLength)
{
    const auto text = load(file);
    if (!text)
        return std::nullopt;
    const auto range = findSection(*text, section);
    if (!range)
        return std::nullopt;
    const auto index = findKey(*text, *range, key);
    if (!index)
        return std::nullopt;
    return cutCharacters(unquote(keyLine(text->lines[*index])->second), maxLength);
}

std::vector<std::string> profileSections(std::string_view file)
{
    std::vector<std::string> names;
    if (const auto text = load(file))
        for (const std::string &line : text->lines)
            if (auto name = headerName(line))
                pushUnique(names, std::move(*name));
    return names;
}

std::vector<std::string> profileKeys(std::string_view file, std::string_view section)
{
    std::vector<std::string> names;
    const auto text = load(file);
    if (!text)
        return names;
    if (const auto range = findSection(*text, section))
        for (size_t i = range->header + 1; i < range->end; ++i)
            if (auto kv = keyLine(text->lines[i]))
                pushUnique(names, std::move(kv->first));
    return names;
}

bool profileWriteString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value)
{
    ProfileText text = load(file).value_or(ProfileText{});
    const std::string line = trim(key) + "=" + std::string(value);
    if (const auto range = findSection(text, section)) {
        if (const auto index = findKey(text, *range, key)) {
            text.lines[*index] = line;
        } else {
            // After the section's last non-empty line, so blank separators stay.
            size_t at = range->end;
            while (at > range->header + 1 && trim(text.lines[at - 1]).empty())
                --at;
            text.lines.insert(text.lines.begin() + static_cast<ptrdiff_t>(at), line);
        }
    } else {
        if (!text.lines.empty() && !trim(text.lines.back()).empty())
            text.lines.emplace_back();
        text.lines.push_back("[" + trim(section) + "]");
        text.lines.push_back(line);
        text.endsWithLineEnd = true;
    }
    return store(file, text);
}

bool profileDeleteKey(std::string_view file, std::string_view section, std::string_view key)
{
    auto text = load(file);
    if (!text)
        return true;
    const auto range = findSection(*text, section);
    if (!range)
        return true;
    const auto index = findKey(*text, *range, key);
    if (!index)
        return true;
    text->lines.erase(text->lines.begin() + static_cast<ptrdiff_t>(*index));
    return store(file, *text);
}

bool profileEraseSection(std::string_view file, std::string_view section)
{
    auto text = load(file);
    if (!text)
        return true;
    const auto range = findSection(*text, section);
    if (!range)
        return true;
    text->lines.erase(text->lines.begin() + static_cast<ptrdiff_t>(range->header),
                      text->lines.begin() + static_cast<ptrdiff_t>(range->end));
    return store(file, *text);
}

} // namespace wharf
