// Any bytes as a registry export file, imported into a project's registry
// tree. Beyond reading anything, the import must give a project that saves:
// everything imported is text a project file can hold, and the saved
// project reads back with the same registry tree.
#include "inistore.h"
#include "projectreader.h"
#include "projectwriter.h"
#include "regfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char *kFolder = "/srv/build/proj/";

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_regimport: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const wharf::RegFile file = wharf::parseRegFile(std::string_view(reinterpret_cast<const char *>(data), size));
    wharf::Project project;
    std::vector<int> steps;
    wharf::importRegFile(project.Registry, file, [&steps](int percent) { steps.push_back(percent); });
    // Every section of the file moves the progress on, up to 100.
    if (steps.size() != file.Sections.size() || (!steps.empty() && steps.back() != 100))
        fail("the progress did not count every section");
    if (file.SkippedLines.size() != static_cast<size_t>(file.SkippedEntries))
        fail("a line left out was not named");

    wharf::TMemIniStore ini("");
    wharf::ProjectWriteContext write;
    write.workDir = kFolder;
    write.projectFolder = kFolder;
    wharf::writeProjectSections(ini, project, write);
    std::string saved;
    try {
        saved = ini.SaveToBytes();
    } catch (const wharf::EFCreateError &) {
        fail("the import let in text no project file can hold");
    }

    wharf::TMemIniStore reread("");
    reread.LoadFromBytes(saved);
    wharf::Project back;
    wharf::ProjectReadContext read;
    read.fileFolder = kFolder;
    read.projectFolder = kFolder;
    wharf::readProjectSections(reread, back, read);
    if (!(back.Registry == project.Registry))
        fail("the saved registry tree read back otherwise");
    return 0;
}
