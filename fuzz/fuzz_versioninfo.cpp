// Any bytes as a file whose version is asked for, the way the compiler asks
// for the version of every payload file. Input that does not begin with
// "MZ" is taken as the version resource itself and written over the one of
// a real executable, so that mutations reach the version blocks directly.
#include "files.h"
#include "peimage.h"
#include "versioninfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Template {
    std::string file;
    std::size_t versionOffset = 0;
    std::size_t versionSize = 0;
};

Template loadTemplate()
{
    Template t;
    t.file = wharf::readFile(WHARF_FIXTURE_DIR "/ver-beta.exe").value();
    const wharf::PeImage image({reinterpret_cast<const uint8_t *>(t.file.data()), t.file.size()});
    const auto tree = image.resourceTree();
    const wharf::ResourceNode *leaf = tree ? wharf::PeImage::findResource(*tree, wharf::kResTypeVersion, 1) : nullptr;
    if (leaf == nullptr)
        std::abort();
    t.versionOffset = image.rvaToOffset(leaf->dataRva, leaf->dataSize).value();
    t.versionSize = leaf->dataSize;
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static wharf::ScratchFolder scratch;
    static const Template base = loadTemplate();
    std::string contents(reinterpret_cast<const char *>(data), size);
    if (size < 2 || data[0] != 'M' || data[1] != 'Z') {
        std::string file = base.file;
        std::memcpy(file.data() + base.versionOffset, data, std::min(size, base.versionSize));
        contents = std::move(file);
    }
    const std::string path = scratch.file("input.exe");
    if (!wharf::writeFile(path, contents))
        std::abort();
    const wharf::TVersionInfo info(path);
    const std::string description = info.FileDescriptionValue();
    const std::string version = info.FileVersionValue();
    if (!info.Valid() && (!description.empty() || !version.empty()))
        std::abort(); // an invalid reader answers nothing
    return 0;
}
