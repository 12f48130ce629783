#pragma once
// Lines of the compiler that its callers act on, not only show: one text,
// made and recognised here, so that the two can't drift apart.

#include <string>
#include <string_view>

namespace wharf {

// The text of the error line that ends a compile on a stop answer.
inline constexpr std::string_view kStopText = "Compilation terminated by user!";

// True when line is that error line as the callback gets it.
inline bool IsStopLine(std::string_view line)
{
    return line.starts_with("ERROR: ") && line.substr(7) == kStopText;
}

inline constexpr std::string_view kOutputInUseHead = "The output folder ";
inline constexpr std::string_view kOutputInUseTail =
    " is in use by another compile; compile again when that one has ended!";

// The text of the error line (after "ERROR: ") that refuses a compile
// because another compile holds its output folder: a refusal that a
// build machine may retry.
inline std::string OutputInUseText(std::string_view folder)
{
    return std::string(kOutputInUseHead) + std::string(folder) + std::string(kOutputInUseTail);
}

// True when line is that error line as the callback gets it ("ERROR: "
// in front).
inline bool IsOutputInUseLine(std::string_view line)
{
    constexpr std::string_view kError = "ERROR: ";
    if (!line.starts_with(kError))
        return false;
    line.remove_prefix(kError.size());
    return line.size() > kOutputInUseHead.size() + kOutputInUseTail.size() && line.starts_with(kOutputInUseHead) &&
           line.ends_with(kOutputInUseTail);
}

} // namespace wharf
