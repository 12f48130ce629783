#pragma once
// File and folder routines that the editor calls directly. Paths are UTF-8
// and may be Windows-style or native ("\" and "/" both separate, see
// platform/paths.h). None of them throws.

#include <string>
#include <string_view>

namespace wharf {

// The path with one trailing separator removed, unless the path is a
// single character or a drive root ("C:\", "C:/"). "C:\Work\" gives
// "C:\Work"; "\\server\share\" gives "\\server\share"; "C:\", "\" and "/"
// stay; of two trailing separators only one goes.
std::string StripTrailingBackslash(std::string_view path);

// True when name is an existing folder (links followed); false when it is
// missing or a file.
bool FolderExists(std::string_view name);

// Deletes the files that the mask (a path whose last part may hold "*" and
// "?"; "*.*" matches every name) matches in its folder; a relative mask is
// taken against the current folder. Entries whose name begins with "." and
// folders (also links to folders) are skipped. Stops at the first deletion
// that fails and returns false; false as well when nothing matches; true
// when every attempted deletion succeeded, also when every match was
// skipped. A mask without wildcards deletes that one file.
bool DeleteMatchingFiles(std::string_view mask);

// The folder for temporary files ($TMPDIR, else "/tmp"), with its trailing
// separator.
std::string TempFolderPath();

// True for a path in the style of Windows: a drive letter and ":" in front,
// or a backslash anywhere (UNC paths included).
bool IsWindowsStylePath(std::string_view name);

// False for an empty name. A Windows-style path (also one in double quotes)
// is refused when it holds any of < > " [ ] |; any other name only when it
// holds NUL, the one character the native file system refuses.
bool IsValidFileName(std::string_view name);

// True when any character (code point) of chars occurs in text.
bool ContainsAnyChar(std::string_view text, std::string_view chars);

// The name of the file or folder that name (whose last part may hold
// wildcards) finds, without its folder; empty when nothing is found. File
// names here have no separate short form.
std::string ExpandToLongFileName(std::string_view name);

// The short (8.3) name of what name finds; as there is none here, the long
// name. Empty when nothing is found.
std::string ContractToShortFileName(std::string_view name);

// True when name matches the wildcard pattern ("*" any run, "?" one
// character; "*.*" matches every name). Case is significant.
bool MatchesMask(std::string_view name, std::string_view pattern);

} // namespace wharf
