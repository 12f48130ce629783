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
// A folder of path followed by ".." goes with it; each "..\" (or "../")
// left at the start removes the last folder of base; the rest is joined to
// base with base's separator.
std::string ExpandRelativePath(std::string_view path, std::string_view base);

// True when the folders a and b are one: drive and UNC folders compared
// without regard to case, native ones exactly; "\" and "/" alike, one
// trailing separator not counted.
bool SameFolder(std::string_view a, std::string_view b);

// path, relative to the folder from (or absolute), written relative to the
// folder to, so that it keeps naming its file (it stays absolute where it
// can't be relative, as MakeRelativePath says). A relative path keeps its
// separator style: one written only with "\" (or only with "/") comes back
// so, and a bare name is written with bareSeparator, the one its project
// uses. Between one folder and itself a relative path stays as it is.
std::string RebasePath(std::string_view path, std::string_view from, std::string_view to,
                       char bareSeparator = '\\');

// The separator style of path: "\" or "/" when it is written with only that
// one, 0 when it has none or both.
char separatorStyle(std::string_view path);

} // namespace wharf::editor
