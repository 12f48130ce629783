#pragma once
// The values of a project file that a compile takes as paths relative to the
// project's folder ([Temporary] WorkDir). The compile's checks read them
// from here, and so does the editor when it re-bases a project saved into
// another folder or appended from one: a file added here keeps being found
// when its project moves, while a relative output folder moves with the
// project.

#include <span>
#include <string_view>

namespace wharf {

// How the compile uses a path.
enum class CompilePathUse {
    // Goes into the support archive with the setup's own files.
    SupportFile,
    // Any other file the compile reads: what it packs, copies, patches
    // against or runs.
    InputFile,
    // The folder the compile writes the setup to.
    OutputFolder,
};

struct CompilePath {
    std::string_view section;
    // The key; empty for a list section, whose every line holds one path
    // (its value, without one pair of enclosing quotes; see ResolveFileList).
    std::string_view key;
    CompilePathUse use;

    bool isList() const { return key.empty(); }
};

// Every path a compile resolves against the project's folder: the list
// sections first, then the [Temporary] keys.
std::span<const CompilePath> compileRelativePaths();

} // namespace wharf
