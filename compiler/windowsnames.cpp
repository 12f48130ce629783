#include "windowsnames.h"

#include "codec.h"

#include <array>
#include <cstdio>

namespace wharf {
namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";

// The device names Windows reserves in every folder; the numbered ones
// take a digit or one of the superscripts 1 to 3.
bool isReservedDevice(std::string_view base)
{
    const std::string upper = asciiUpper(base);
    for (const char *name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (upper == name)
            return true;
    if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0))
        return false;
    const std::string_view number = std::string_view(upper).substr(3);
    static constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    if (number.size() == 1 && number[0] >= '0' && number[0] <= '9')
        return true;
    for (const std::string_view superscript : kSuperscripts)
        if (number == superscript)
            return true;
    return false;
}

std::string shown(char c)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned char>(c));
    return text;
}

} // namespace

std::optional<std::string> WindowsNameProblem(std::string_view name)
{
    if (name.empty())
        return std::string("is no file name");
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32)
            return "holds the control character " + shown(c) + ", which Windows does not allow in a file name";
        if (kForbidden.find(c) != std::string_view::npos)
            return std::string("holds the character ") + c + ", which Windows does not allow in a file name";
    }
    if (name.back() == '.' || name.back() == ' ')
        return std::string("ends in a dot or a space, which Windows drops from a file name");
    // "nul.txt" and "nul .txt" are the device as much as "nul" is.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    if (isReservedDevice(base))
        return std::string("is the name of a device that Windows reserves, also with an extension");
    return std::nullopt;
}

std::string WindowsNameKey(std::string_view name)
{
    std::string key = foldedText(name);
    while (!key.empty() && (key.back() == '.' || key.back() == ' '))
        key.pop_back();
    return key;
}

} // namespace wharf
