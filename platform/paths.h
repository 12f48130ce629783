#pragma once
// Path text routines shared by every subsystem. Projects may come from
// Windows, so "\" and "/" are both separators everywhere; a path that begins
// with "/" is absolute just like one with a drive ("C:") or a UNC prefix.
// Joins keep the separator the base already uses, "/" when it has none.

#include <string>
#include <string_view>

namespace wharf {

constexpr bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

// True for "X:" followed by anything (a letter and a colon).
bool hasDriveLetter(std::string_view path);

// True when the path names a place on its own: a drive ("C:..."), a UNC
// prefix (two separators) or a leading "/".
bool isAbsolutePath(std::string_view path);

// True for the roots that must never be removed or stripped: "/", "\",
// "X:", "X:\" and "X:/".
bool isRootPath(std::string_view path);

// The separator to join onto base with: the last one base uses, else "\" for
// a drive path ("C:"), else "/".
char separatorOf(std::string_view base);

// base + separator + name; no separator is added when base is empty or
// already ends with one.
std::string joinPath(std::string_view base, std::string_view name);

// The path as the file system takes it: every "\" turned into "/".
std::string toNativePath(std::string_view path);

// The path with every "." folder and every folder followed by ".." taken
// out of its text; the separators left stand as they are, repeated ones
// count as one. A ".." with no folder
// before it stays at the start of a relative path and is dropped at the root
// of an absolute one; the root itself (a drive, "/", a UNC server and share)
// is never taken out. Empty when nothing is left of a relative path.
// Examples: /w/x/../proj/./p.wfp gives /w/proj/p.wfp; a\..\..\b gives ..\b.
std::string normalizePath(std::string_view path);

// Removes one trailing separator unless the path is a root.
std::string excludeTrailingSeparator(std::string_view path);

// Adds the base's separator when the path does not end with one.
std::string includeTrailingSeparator(std::string_view path);

// The part after the last separator (or after a drive's colon).
std::string extractFileName(std::string_view path);

// The part up to and including the last separator (or the drive's colon);
// empty when the path has neither.
std::string extractFilePath(std::string_view path);

// The extension with its dot ("" when the name has none).
std::string extractFileExt(std::string_view path);

// The path with its extension replaced by ext (which carries its dot).
std::string changeFileExt(std::string_view path, std::string_view ext);

} // namespace wharf
