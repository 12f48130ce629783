#pragma once
// A stand-in for the operating system's profile (INI) functions: every call
// reads the file from disk and every write rewrites it as a new file (a link
// of that name is replaced, never written through), keeping all other lines
// as they were. Names are compared without regard to case, names and
// values are trimmed, one pair of enclosing quotes (" or ') is removed from
// a value, and of duplicate sections and keys the first one wins.
// Files are Windows-1252 text unless they start with a UTF-16 LE or UTF-8
// byte order mark; text in and out of these functions is UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// The value of key in section, cut to maxLength characters of the file's
// text; nullopt when the file, the section or the key is missing.
std::optional<std::string> profileReadString(std::string_view file, std::string_view section,
                                             std::string_view key, size_t maxLength = 2047);

// Section names in file order, each once (the first spelling wins).
std::vector<std::string> profileSections(std::string_view file);

// Key names of the first section of that name, in file order, each once.
std::vector<std::string> profileKeys(std::string_view file, std::string_view section);

// Sets key in section, creating the section and the file as needed. False
// with errno set when the file can't be written or the text can't be stored
// in it (EILSEQ).
bool profileWriteString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes the key (the first of that name). False when the file can't be
// written; a missing key is no failure.
bool profileDeleteKey(std::string_view file, std::string_view section, std::string_view key);

// Removes the section (the first of that name) with its lines. False when
// the file can't be written; a missing section is no failure.
bool profileEraseSection(std::string_view file, std::string_view section);

} // namespace wharf
