#pragma once
// Test-only: rebuilds a file from its older version and a patch, written
// from the patch format alone (see compiler/patch.h), so the tests check the
// writer against an independent reading of the format.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wharf::testing {

// What one chunk record held.
struct PatchRecord {
    uint32_t oldLength = 0;
    uint8_t mode = 0;
    uint32_t newLength = 0;
    uint32_t literalCount = 0;       // mode 1
    uint32_t commandCount = 0;       // mode 1, without the end command
    uint32_t longestCommand = 0;     // mode 1
    uint32_t uncoveredTail = 0;      // mode 1: new bytes behind the last command
    std::vector<uint32_t> oldPositions; // mode 1: old position of each command
};

// Rebuilds the new file from the old file's bytes and the patch. Throws
// std::runtime_error for a malformed patch, a CRC that does not match,
// a command outside its chunk or bytes after the end record. When records
// is given, it receives one item per record, the end record included.
std::string ApplyPatch(std::string_view oldData, std::string_view patch, std::vector<PatchRecord> *records = nullptr);

} // namespace wharf::testing
