// Any bytes as an executable: headers, sections, imports, the resource
// tree and every leaf's data.
#include "peimage.h"

#include <cstddef>
#include <cstdint>

namespace {

unsigned touch(const wharf::PeImage &image, const wharf::ResourceNode &node)
{
    unsigned sum = static_cast<unsigned>(node.id.text().size());
    if (node.isLeaf) {
        if (const auto data = image.resourceData(node))
            for (uint8_t b : *data)
                sum += b;
        return sum;
    }
    for (const wharf::ResourceNode &c : node.children)
        sum += touch(image, c);
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const wharf::PeImage image({data, size});
    if (!image.valid())
        return 0;
    volatile unsigned sink = 0;
    for (std::size_t i = 0; i < image.dataDirectoryCount(); ++i) {
        const auto dir = image.dataDirectory(i);
        if (const auto bytes = image.bytesAt(dir.virtualAddress, dir.size))
            sink = sink + static_cast<unsigned>(bytes->size());
    }
    for (const std::string &name : image.importedModules())
        sink = sink + static_cast<unsigned>(name.size());
    if (const auto tree = image.resourceTree()) {
        sink = sink + touch(image, *tree);
        wharf::PeImage::findResource(*tree, wharf::kResTypeIconGroup, "MAINICON");
        wharf::PeImage::findResource(*tree, wharf::kResTypeVersion, 1, 0);
    }
    return 0;
}
