#include "memorystatus.h"

#include "files.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace wharf {
namespace {

// The value in kB of the line that starts with key, or nullopt.
std::optional<uint64_t> meminfoValue(std::string_view text, std::string_view key)
{
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        if (line.substr(0, key.size()) == key) {
            std::string_view rest = line.substr(key.size());
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
            uint64_t value = 0;
            const auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
            if (ec == std::errc() && ptr != rest.data())
                return value;
            return std::nullopt;
        }
        at = end + 1;
    }
    return std::nullopt;
}

} // namespace

std::optional<MemoryStatus> parseMemInfo(std::string_view text)
{
    const std::optional<uint64_t> total = meminfoValue(text, "MemTotal:");
    if (!total || *total == 0)
        return std::nullopt;
    std::optional<uint64_t> avail = meminfoValue(text, "MemAvailable:");
    if (!avail)
        avail = meminfoValue(text, "MemFree:");
    const uint64_t available = std::min(avail.value_or(0), *total);
    MemoryStatus status;
    status.totalPhysical = *total * 1024;
    status.availPhysical = available * 1024;
    status.memoryLoad = static_cast<int>(((*total - available) * 100 + *total / 2) / *total);
    return status;
}

MemoryStatus GlobalMemoryStatus()
{
    const std::optional<std::string> text = readFile("/proc/meminfo");
    if (!text)
        return {};
    return parseMemInfo(*text).value_or(MemoryStatus{});
}

QString availableMemoryText(uint64_t availBytes, const QLocale &locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return QStringLiteral("Available memory: ") + grouped.toString(static_cast<qulonglong>(availBytes / 1024)) +
           QStringLiteral(" KB");
}

} // namespace wharf
