#include "systemmodules.h"

#include "codec.h"
#include "files.h"

namespace wharf {
namespace {

// "*" matches any run of characters, every other character itself.
bool matchesPattern(std::string_view name, std::string_view pattern)
{
    const size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return name == pattern;
    const std::string_view head = pattern.substr(0, star);
    if (name.substr(0, head.size()) != head)
        return false;
    const std::string_view rest = pattern.substr(star + 1);
    for (size_t from = head.size(); from <= name.size(); ++from)
        if (matchesPattern(name.substr(from), rest))
            return true;
    return false;
}

std::string_view trimmed(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

} // namespace

SystemModules SystemModules::fromText(std::string_view text)
{
    SystemModules modules;
    modules.m_loaded = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        std::string name = asciiLower(line);
        if (name.find('*') != std::string::npos)
            modules.m_patterns.push_back(std::move(name));
        else
            modules.m_names.insert(std::move(name));
    }
    return modules;
}

SystemModules SystemModules::load(std::string_view path)
{
    const std::optional<std::string> text = readFile(path);
    if (!text)
        return {};
    return fromText(*text);
}

bool SystemModules::contains(std::string_view moduleName) const
{
    const std::string name = asciiLower(moduleName);
    if (m_names.count(name) != 0)
        return true;
    for (const std::string &pattern : m_patterns)
        if (matchesPattern(name, pattern))
            return true;
    return false;
}

} // namespace wharf
