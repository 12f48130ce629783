#pragma once
// The editor's two path routines for source paths of a project. They live in
// wharf::editor because the compiler keeps an ExpandRelativePath of its own
// (compiler/filetools.h) and both may be linked into one program.
//
// "\" and "/" are both separators; a path with a drive ("C:"), a UNC prefix
// or a leading "/" is absolute.

#include <string>
#include <string_view>

namespace wharf::editor {

// Path written relative to the folder base (a trailing separator is
// assumed). A path on another drive, a path that is not absolute, or any path
// when base is empty or not absolute, is returned unchanged. Leading folders
// that match (without regard to case) are dropped; each folder of base left
// over becomes one "..\" step (with the separator the rest of path uses, or
// base's when it has none). Example: C:\Work\Src\a.exe against C:\Work\Proj
// gives ..\Src\a.exe.
std::string MakeRelativePath(std::string_view path, std::string_view base);

// Path made absolute against the folder base. Empty, absolute and "{"-led
// paths are returned unchanged, and so is every path when base is empty.
// Each "..\" (or "../") anywhere in path removes the last folder of base;
// the rest is joined to base with base's separator.
std::string ExpandRelativePath(std::string_view path, std::string_view base);

} // namespace wharf::editor
