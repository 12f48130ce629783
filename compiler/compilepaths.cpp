#include "compilepaths.h"

namespace wharf {
namespace {

constexpr CompilePath kPaths[] = {
    {"SourceFiles", {}, CompilePathUse::InputFile},
    {"PatchedFiles", {}, CompilePathUse::InputFile},
    {"AdditionalFiles", {}, CompilePathUse::InputFile},
    {"DllExtensions", {}, CompilePathUse::SupportFile},
    {"BillboardPics", {}, CompilePathUse::SupportFile},
    {"LanguageFiles", {}, CompilePathUse::SupportFile},
    {"DataFiles", {}, CompilePathUse::SupportFile},
    {"Dialogs", {}, CompilePathUse::SupportFile},
    {"UninstallDialogs", {}, CompilePathUse::SupportFile},
    {"ScriptingExtensions", {}, CompilePathUse::SupportFile},
    {"Temporary", "BackImage", CompilePathUse::InputFile},
    {"Temporary", "WzrdImg", CompilePathUse::InputFile},
    {"Temporary", "LicenseFile", CompilePathUse::InputFile},
    {"Temporary", "ReadmeFile", CompilePathUse::InputFile},
    {"Temporary", "AutorunIcon", CompilePathUse::InputFile},
    {"Temporary", "MainIcon", CompilePathUse::InputFile},
    {"Temporary", "RunBatch", CompilePathUse::InputFile},
    {"Temporary", "OutputDir", CompilePathUse::OutputFolder},
};

} // namespace

std::span<const CompilePath> compileRelativePaths()
{
    return kPaths;
}

} // namespace wharf
