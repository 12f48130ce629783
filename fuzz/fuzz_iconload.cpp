// Any bytes as the project's icon file, loaded into a copy of the setup
// stub. A load that succeeds must leave an image whose resources read back
// with the new icon group; one that fails must leave the stub unchanged.
// Validation's look at the icon (IconFileImageCount) must refuse exactly
// the files the load can't use, so that none is found only after the
// earlier setup is deleted.
#include "files.h"
#include "peimage.h"
#include "resedit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static wharf::ScratchFolder scratch;
    static const std::string stub = wharf::readFile(WHARF_PROGRAM_DIR "/setup.bin").value();
    const std::string exe = scratch.file("setup.exe");
    const std::string ico = scratch.file("input.ico");
    if (!wharf::writeFile(exe, stub) ||
        !wharf::writeFile(ico, std::string_view(reinterpret_cast<const char *>(data), size)))
        std::abort();

    auto update = wharf::BeginResourceUpdate(exe, false);
    if (!update)
        std::abort();
    const bool loaded = wharf::LoadIconGroupFromFile(*update, "MAINICON", 0, ico);
    if (!wharf::EndResourceUpdate(std::move(update), !loaded))
        std::abort();

    const std::string bytes(reinterpret_cast<const char *>(data), size);
    if (loaded != (wharf::IconFileImageCount(bytes) > 0))
        std::abort();
    const std::string result = wharf::readFile(exe).value();
    if (!loaded) {
        if (result != stub)
            std::abort();
        return 0;
    }
    const wharf::PeImage image({reinterpret_cast<const uint8_t *>(result.data()), result.size()});
    const auto tree = image.resourceTree();
    if (!tree)
        std::abort();
    const wharf::ResourceNode *group = wharf::PeImage::findResource(*tree, wharf::kResTypeIconGroup, "MAINICON");
    const auto groupData = group ? image.resourceData(*group) : std::nullopt;
    if (!groupData || groupData->size() != 6 + 14u * wharf::readLe16(data + 4))
        std::abort();
    for (std::size_t i = 0; i < wharf::readLe16(data + 4); ++i) {
        const uint16_t id = wharf::readLe16(groupData->data() + 6 + 14 * i + 12);
        const wharf::ResourceNode *icon = wharf::PeImage::findResource(*tree, wharf::kResTypeIcon, id, 0);
        if (!icon || icon->dataSize != wharf::readLe32(data + 6 + 16 * i + 8))
            std::abort();
    }
    return 0;
}
