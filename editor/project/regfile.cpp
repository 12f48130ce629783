#include "regfile.h"

#include "codec.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace wharf {
namespace {

constexpr size_t kMaxData = 255;

std::string decodeText(std::string_view bytes)
{
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE)
        return fromUtf16Le(bytes.substr(2));
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
        std::string swapped(bytes.substr(2, (bytes.size() - 2) & ~size_t{1}));
        for (size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        return fromUtf16Le(swapped);
    }
    bool wide = false;
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        bytes.remove_prefix(3);
        wide = true;
    }
    const bool anyWide = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if ((wide || anyWide) && isValidUtf8(bytes))
        return std::string(bytes);
    return fromWindows1252(bytes);
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && asciiLower(text.substr(0, prefix.size())) == prefix;
}

// Reads a quoted text at the start of text (which begins with the opening
// quote), undoing the escapes in one pass: a backslash takes the character
// after it as it is. Returns the text and leaves rest after the closing
// quote; nullopt when the closing quote is missing.
std::optional<std::string> readQuoted(std::string_view text, std::string_view &rest)
{
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (c == '"') {
            rest = text.substr(i + 1);
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

enum class LineKind { Value, Unsupported, Skipped };

struct ParsedLine {
    LineKind kind = LineKind::Skipped;
    RegFileValue value;
    bool cut = false;        // the data was longer than a project can hold
    bool isDefault = false;  // "@", the key's own value
};

std::string cutData(std::string_view text, bool &cut)
{
    std::string data = cutText(text, kMaxData);
    cut = data.size() < text.size();
    return data;
}

// One value line, with its continuation lines already joined. The type is
// decided from the raw data before any escape is undone, so a string whose
// text begins with "hex" or "dword:" stays a string.
ParsedLine parseValueLine(std::string_view line)
{
    ParsedLine result;
    std::string name;
    std::string_view rest;
    if (line.starts_with('@')) {
        name = std::string(kEmpty);
        rest = line.substr(1);
        result.isDefault = true;
    } else if (line.starts_with('"')) {
        const std::optional<std::string> quoted = readQuoted(line, rest);
        if (!quoted)
            return result;
        result.isDefault = quoted->empty();
        name = quoted->empty() ? std::string(kEmpty) : *quoted;
    } else {
        return result;
    }
    rest = trim(rest);
    if (!rest.starts_with('='))
        return result;
    const std::string_view data = trim(rest.substr(1));

    result.value.Name = std::move(name);
    if (data.starts_with('"')) {
        std::string_view after;
        const std::optional<std::string> text = readQuoted(data, after);
        if (!text || !trim(after).empty())
            return result;
        result.value.Type = "String";
        result.value.Data = text->empty() ? std::string(kEmpty) : cutData(*text, result.cut);
        result.kind = LineKind::Value;
    } else if (startsWithIgnoreCase(data, "dword:")) {
        const std::string_view digits = trim(data.substr(6));
        if (digits.empty() || digits.size() > 8)
            return result;
        for (const char c : digits)
            if (!isHexDigit(c))
                return result;
        result.value.Type = "DWORD";
        result.value.Data = "$" + std::string(8 - digits.size(), '0') + asciiUpper(digits);
        result.kind = LineKind::Value;
    } else if (startsWithIgnoreCase(data, "hex")) {
        result.kind = LineKind::Unsupported;
    } else if (data == "-") {
        // A deletion: the setup cannot remove values, so it is left out.
    } else {
        // Unquoted text, which the registry editor never writes: taken as
        // it stands.
        result.value.Type = "String";
        result.value.Data = data.empty() ? std::string(kEmpty) : cutData(data, result.cut);
        result.kind = LineKind::Value;
    }
    return result;
}

// The section for the text between "[" and "]"; deletion tells whether it
// deletes a key below one of the six roots.
RegFileSection parseSection(std::string_view name, bool &deletion)
{
    RegFileSection section;
    const bool deletes = name.starts_with('-');
    const std::string_view target = deletes ? name.substr(1) : name;
    const size_t slash = target.find('\\');
    const RegistryTree roots;
    const RegistryRoot *known = roots.findRoot(target.substr(0, slash));
    deletion = deletes && known;
    if (!known || deletes) {
        section.Skipped = true;
        return section;
    }
    section.Root = known->Name;
    if (slash != std::string_view::npos)
        section.KeyPath = std::string(target.substr(slash + 1));
    return section;
}

// A line left out, named for the author by its number and its text.
std::string lineName(size_t index, std::string_view text)
{
    constexpr size_t kShown = 80;
    std::string shown = cutText(text, kShown);
    if (shown.size() < text.size())
        shown += "...";
    return "line " + std::to_string(index + 1) + ": " + shown;
}

std::string sectionName(const RegFileSection &section)
{
    return section.KeyPath.empty() ? section.Root : section.Root + "\\" + section.KeyPath;
}

} // namespace

RegFile parseRegFile(std::string_view bytes)
{
    const std::string text = decodeText(bytes);
    const std::vector<std::string_view> lines = splitLines(text);
    RegFile file;
    RegFileSection *section = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (line.empty() || line.starts_with(';'))
            continue;
        if (line.starts_with('[')) {
            // A header with anything after its "]" can't be read: it and its
            // values are left out rather than given to the key before it.
            bool deletion = false;
            if (line.ends_with(']') && line.size() >= 2)
                file.Sections.push_back(parseSection(line.substr(1, line.size() - 2), deletion));
            else
                file.Sections.push_back(RegFileSection{true, {}, {}, {}});
            section = &file.Sections.back();
            if (deletion)
                ++file.KeyDeletions;
            if (section->Skipped) {
                ++file.SkippedEntries;
                file.SkippedLines.push_back(lineName(i, line));
            } else if (!fitsWindows1252(section->KeyPath)) {
                file.Unsavable.push_back(sectionName(*section));
                section->Skipped = true;
            }
            continue;
        }
        // Long data goes on over the following lines, each line but the last
        // ending with "\"; the value is judged only when it is whole.
        const size_t first = i;
        std::string joined(line);
        while (joined.ends_with('\\') && i + 1 < lines.size()) {
            joined.pop_back();
            joined += trim(lines[++i]);
        }
        if (!section || section->Skipped)
            continue;  // the header, or the values of a section left out
        ParsedLine parsed = parseValueLine(joined);
        switch (parsed.kind) {
        case LineKind::Value: {
            const std::string name =
                sectionName(*section) + "\\" + (parsed.isDefault ? std::string("@") : parsed.value.Name);
            if (!fitsWindows1252(parsed.value.Name) || !fitsWindows1252(parsed.value.Data)) {
                file.Unsavable.push_back(name);
                break;
            }
            if (parsed.cut)
                file.Cut.push_back(name);
            section->Values.push_back(std::move(parsed.value));
            break;
        }
        case LineKind::Unsupported:
            file.Unsupported = true;
            break;
        case LineKind::Skipped:
            ++file.SkippedEntries;
            file.SkippedLines.push_back(lineName(first, joined));
            break;
        }
    }
    return file;
}

bool isRegistryFile(const RegFile &file)
{
    return file.KeyDeletions > 0 || !file.Unsavable.empty() ||
           std::any_of(file.Sections.begin(), file.Sections.end(),
                       [](const RegFileSection &section) { return !section.Skipped; });
}

void importRegFile(RegistryTree &tree, const RegFile &file, const std::function<void(int)> &progress)
{
    RegistryEntry keyRecord = intermediateKeyRecord();
    keyRecord.TargetSystems = 0;
    RegistryEntry noValue;
    noValue.Data = std::string(kEmpty);
    RegistryInserter inserter(tree);
    for (size_t i = 0; i < file.Sections.size(); ++i) {
        const RegFileSection &section = file.Sections[i];
        if (!section.Skipped) {
            inserter.add(section.Root, section.KeyPath, keyRecord, false, noValue, kEmpty, ExistingKey::Keep);
            for (const RegFileValue &value : section.Values) {
                RegistryEntry record;
                record.IsKey = false;
                record.ValueType = value.Type;
                record.Data = value.Data;
                record.Uninstall = false;
                record.Create = true;
                record.Overwrite = true;
                record.TargetSystems = 0;
                inserter.add(section.Root, section.KeyPath, keyRecord, true, record, value.Name, ExistingKey::Keep);
            }
        }
        if (progress)
            progress(importPercent(i + 1, file.Sections.size()));
    }
}

int importPercent(size_t done, size_t total)
{
    if (total == 0)
        return 0;
    const size_t scaled = done * 100;
    size_t quotient = scaled / total;
    const size_t twiceRemainder = (scaled % total) * 2;
    if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 == 1))
        ++quotient;
    return static_cast<int>(quotient);
}

} // namespace wharf
