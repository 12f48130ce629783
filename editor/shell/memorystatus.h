#pragma once
// The system's memory figures for the status bar: how much physical memory
// is in use and how much is available, read from /proc/meminfo.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace wharf {

struct MemoryStatus {
    int memoryLoad = 0;          // percent of physical memory in use, 0 to 100
    uint64_t totalPhysical = 0;  // bytes
    uint64_t availPhysical = 0;  // bytes
};

// The figures in a /proc/meminfo text ("MemTotal:", "MemAvailable:", with
// "MemFree:" standing in for a kernel without "MemAvailable:"); nullopt
// when the total is missing or zero.
std::optional<MemoryStatus> parseMemInfo(std::string_view text);

// The figures of this machine; all zero when they can't be read.
MemoryStatus GlobalMemoryStatus();

// "Available memory: " and the available bytes in kilobytes, with the
// locale's thousands separators and no decimals, then " KB".
QString availableMemoryText(uint64_t availBytes, const QLocale &locale = QLocale::system());

} // namespace wharf
