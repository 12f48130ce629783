#pragma once
// Target systems: the fixed list of 22 systems a setup, a file, a shortcut,
// a registry value, an INI entry or an external program can be limited to,
// and the integer mask that stores such a choice. The mask's value is the
// bit set plus one (bit i = entry i): 4194304 (0x400000) is all entries and
// the default everywhere, 1 is none, and 0 stands for all bits set. No
// window here: the project document uses this without any widget.

#include <array>
#include <cstdint>
#include <string_view>

namespace wharf {

constexpr int kTargetSystemCount = 22;
constexpr int32_t kAllTargetSystems = 4194304;
constexpr int32_t kNoTargetSystems = 1;

// The entries' texts in list order.
extern const std::array<std::string_view, kTargetSystemCount> kTargetSystemNames;

using TargetSystemChecks = std::array<bool, kTargetSystemCount>;

// Entry i is chosen when bit i of (mask - 1) is set; computed without
// overflow for any mask.
bool targetSystemChosen(int32_t mask, int index);
TargetSystemChecks targetSystemChecks(int32_t mask);

// The mask for a choice: the bit set plus one.
int32_t targetSystemMask(const TargetSystemChecks &checks);

// A mask read from a project file written by the given build of the
// editor, in the current layout. Builds 14 and later, and the value
// 4194304, are kept; older all-values (1024 before build 10, 2048 before
// build 13, 4096) become 4194304; any other value of an older build has
// its Windows XP bit (9) also set for the second XP entry (10), its
// Server 2003 bit (10) spread over entries 11 to 14 and its Vista bit (11)
// over entries 15 and 16; higher bits are dropped.
int32_t ConvertTargetSystems(int32_t Value, int32_t BuildNo);

} // namespace wharf
