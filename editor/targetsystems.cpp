#include "targetsystems.h"

namespace wharf {

const std::array<std::string_view, kTargetSystemCount> kTargetSystemNames = {
    "Other",
    "Windows 95 A",
    "Windows 95 B/C",
    "Windows 98",
    "Windows 98 SE",
    "Windows ME",
    "Windows NT 3.5 (NOT tested!!!)",
    "Windows NT 4",
    "Windows 2000",
    "Windows XP 32-bit",
    "Windows XP 64-bit",
    "Windows Server 2003 32-Bit",
    "Windows Server 2003 64-Bit",
    "Windows Server 2003 R2 32-Bit",
    "Windows Server 2003 R2 64-Bit",
    "Windows Vista 32-bit",
    "Windows Vista 64-bit",
    "Windows Server 2008 32-bit",
    "Windows Server 2008 64-bit",
    "Windows Server 2008 R2 64-bit",
    "Windows 7 32-bit",
    "Windows 7 64-bit",
};

namespace {

// mask - 1 in unsigned arithmetic, so that 0 gives all bits and the
// smallest integer does not overflow.
uint32_t bitsOf(int32_t mask) { return static_cast<uint32_t>(mask) - 1u; }

int32_t maskOf(uint32_t bits) { return static_cast<int32_t>(bits + 1u); }

} // namespace

bool targetSystemChosen(int32_t mask, int index)
{
    return index >= 0 && index < 32 && ((bitsOf(mask) >> index) & 1u) != 0;
}

TargetSystemChecks targetSystemChecks(int32_t mask)
{
    TargetSystemChecks checks{};
    for (int i = 0; i < kTargetSystemCount; ++i)
        checks[static_cast<size_t>(i)] = targetSystemChosen(mask, i);
    return checks;
}

int32_t targetSystemMask(const TargetSystemChecks &checks)
{
    uint32_t bits = 0;
    for (int i = kTargetSystemCount - 1; i >= 0; --i)
        bits = bits * 2 + (checks[static_cast<size_t>(i)] ? 1u : 0u);
    return maskOf(bits);
}

int32_t ConvertTargetSystems(int32_t Value, int32_t BuildNo)
{
    if (Value == kAllTargetSystems || BuildNo >= 14)
        return Value;
    if (BuildNo < 10 && Value == 1024)
        return kAllTargetSystems;
    if (BuildNo < 13 && Value == 2048)
        return kAllTargetSystems;
    if (Value == 4096)
        return kAllTargetSystems;

    const uint32_t v = bitsOf(Value);
    const uint32_t xp = (v >> 9) & 1u;
    const uint32_t server2003 = (v >> 10) & 1u;
    const uint32_t vista = (v >> 11) & 1u;
    uint32_t result = v & 0x3FFu;
    result |= xp << 10;
    result |= server2003 * (0xFu << 11);
    result |= vista * (0x3u << 15);
    return maskOf(result);
}

} // namespace wharf
