// Any bytes as a runtime stub that gets its "LOADER_SIZE": the update is
// refused, or it writes an image whose resources read back with the value.
#include "files.h"
#include "peimage.h"
#include "resedit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static wharf::ScratchFolder scratch;
    const std::string exe = scratch.file("setup.exe");
    const std::string input(reinterpret_cast<const char *>(data), size);
    if (!wharf::writeFile(exe, input))
        std::abort();

    auto update = wharf::BeginResourceUpdate(exe, false);
    if (!update) {
        if (wharf::readFile(exe).value() != input)
            std::abort(); // a refused update leaves the file as it was
        return 0;
    }
    const uint8_t value[4] = {1, 2, 3, 4};
    if (!wharf::UpdateResourceEntry(*update, wharf::kResTypeRcData, "LOADER_SIZE", 0, value, 4))
        std::abort();
    if (!wharf::EndResourceUpdate(std::move(update), false))
        return 0;

    const std::string result = wharf::readFile(exe).value();
    const wharf::PeImage image({reinterpret_cast<const uint8_t *>(result.data()), result.size()});
    const auto tree = image.resourceTree();
    if (!tree)
        std::abort();
    const wharf::ResourceNode *leaf = wharf::PeImage::findResource(*tree, wharf::kResTypeRcData, "LOADER_SIZE");
    const auto bytes = leaf ? image.resourceData(*leaf) : std::nullopt;
    if (!bytes || bytes->size() != 4 || std::memcmp(bytes->data(), value, 4) != 0)
        std::abort();
    return 0;
}
