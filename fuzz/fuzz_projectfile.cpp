// Any bytes as a project file: the INI store reads them, the project reader
// makes a document of them, the writer saves it and the reader reads the
// saved text again. What the first save wrote must come back unchanged: the
// second read gives the document the save left, and saving that gives the
// same bytes.
#include "inistore.h"
#include "projectreader.h"
#include "projectwriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char *kFolder = "/srv/build/proj/";

wharf::ProjectReadResult read(std::string_view bytes, wharf::Project &project)
{
    wharf::TMemIniStore ini("");
    ini.LoadFromBytes(bytes);
    wharf::ProjectReadContext context;
    context.fileName = "/srv/build/proj/fuzz.wfp";
    context.programFolder = "/opt/wharf/";
    context.fileFolder = kFolder;
    context.projectFolder = kFolder;
    return wharf::readProjectSections(ini, project, context);
}

std::string write(wharf::Project &project)
{
    wharf::TMemIniStore ini("");
    wharf::ProjectWriteContext context;
    context.workDir = kFolder;
    context.projectFolder = kFolder;
    // Pages of the program folder read from a file of another edition are
    // written as stock pages again.
    context.stockPagesFolder = "/opt/wharf/Dialogs";
    wharf::writeProjectSections(ini, project, context);
    return ini.SaveToBytes();
}

// Says which property failed; with WHARF_FUZZ_DUMP set, the two saves are
// written to that folder for a look.
[[noreturn]] void fail(const char *what, const std::string &saved, const std::string &again)
{
    std::fprintf(stderr, "fuzz_projectfile: %s\n", what);
    if (const char *dump = std::getenv("WHARF_FUZZ_DUMP")) {
        for (const auto &[name, bytes] : {std::pair{"/first.wfp", &saved}, std::pair{"/second.wfp", &again}})
            if (FILE *out = std::fopen((std::string(dump) + name).c_str(), "wb")) {
                std::fwrite(bytes->data(), 1, bytes->size(), out);
                std::fclose(out);
            }
    }
    std::abort();
}

// The first part of the document in which a and b differ.
const char *firstDifference(const wharf::Project &a, const wharf::Project &b)
{
#define WHARF_PART(name)        \
    if (!(a.name == b.name))    \
        return #name;
    WHARF_PART(General)
    WHARF_PART(Dialogs)
    WHARF_PART(UninstallDialogs)
    WHARF_PART(LanguageFiles)
    WHARF_PART(AdditionalFiles)
    WHARF_PART(DataFiles)
    WHARF_PART(UninstExpressions)
    WHARF_PART(BillboardPics)
    WHARF_PART(InitScript)
    WHARF_PART(FinalScript)
    WHARF_PART(InstallScript)
    WHARF_PART(Groups)
    WHARF_PART(InstallTypes)
    WHARF_PART(Shortcuts)
    WHARF_PART(Registry)
    WHARF_PART(IniEntries)
    WHARF_PART(ExternalPrograms)
    WHARF_PART(DllCalls)
#undef WHARF_PART
    return "Selection";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    wharf::Project first;
    if (read(bytes, first).declined)
        std::abort();  // without prompts every question is answered yes
    const std::string saved = write(first);

    wharf::Project second;
    const wharf::ProjectReadResult again = read(saved, second);
    wharf::Project copy = second;
    const std::string resaved = write(copy);
    if (!again.warnings.empty())
        fail(("the saved file needed putting right: " + again.warnings.front()).c_str(), saved, resaved);
    if (!(second == first))
        fail((std::string("the second read gave another document, in ") + firstDifference(first, second)).c_str(),
             saved, resaved);
    if (resaved != saved)
        fail("the second save gave other bytes", saved, resaved);
    return 0;
}
