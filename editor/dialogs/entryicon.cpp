#include "entryicon.h"

#include "mapping.h"
#include "paths.h"
#include "peimage.h"

#include <QByteArray>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include <optional>
#include <vector>

namespace wharf {
namespace {

constexpr size_t kDirHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;  // icon file: 12 bytes of image facts and the data offset
constexpr size_t kGroupEntrySize = 14; // icon group: the same 12 bytes and the icon's id
constexpr size_t kImageFactsSize = 12; // width, height, colours, reserved, planes, bits, size

// One image of an icon file or group: its directory facts and its data.
struct IconImage {
    std::span<const uint8_t> facts; // kImageFactsSize bytes
    std::span<const uint8_t> data;
};

int imageWidth(const IconImage &image) { return image.facts[0] == 0 ? 256 : image.facts[0]; }

int imageColourDepth(const IconImage &image)
{
    const int bits = readLe16(image.facts.data() + 6);
    if (bits != 0)
        return bits;
    // Older files leave the bit count 0 and give the colour count instead.
    const int colours = image.facts[2];
    return colours == 0 ? 8 : colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
}

// The nearer to 32 pixels wins, then the deeper colour.
bool suitsBetter(const IconImage &candidate, const IconImage &best)
{
    const int distance = std::abs(imageWidth(candidate) - 32);
    const int bestDistance = std::abs(imageWidth(best) - 32);
    if (distance != bestDistance)
        return distance < bestDistance;
    return imageColourDepth(candidate) > imageColourDepth(best);
}

// A header that announces count images of the given type (1 icons).
std::optional<uint16_t> directoryCount(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kDirHeaderSize || readLe16(bytes.data()) != 0 || readLe16(bytes.data() + 2) != 1)
        return std::nullopt;
    const uint16_t count = readLe16(bytes.data() + 4);
    if (count == 0)
        return std::nullopt;
    return count;
}

QImage decode(const IconImage &image)
{
    static constexpr uint8_t kPngMagic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const QByteArray data(reinterpret_cast<const char *>(image.data.data()), static_cast<qsizetype>(image.data.size()));
    if (image.data.size() >= sizeof kPngMagic && std::equal(std::begin(kPngMagic), std::end(kPngMagic), image.data.begin()))
        return QImage::fromData(data, "PNG");
    // A one-image icon file around the bitmap, for the icon reader.
    QByteArray file;
    file.reserve(static_cast<qsizetype>(kDirHeaderSize + kFileEntrySize + image.data.size()));
    const auto put16 = [&](uint16_t v) {
        uint8_t b[2];
        writeLe16(b, v);
        file.append(reinterpret_cast<const char *>(b), 2);
    };
    const auto put32 = [&](uint32_t v) {
        uint8_t b[4];
        writeLe32(b, v);
        file.append(reinterpret_cast<const char *>(b), 4);
    };
    put16(0);
    put16(1);
    put16(1);
    file.append(reinterpret_cast<const char *>(image.facts.data()), 8);
    put32(static_cast<uint32_t>(image.data.size()));
    put32(static_cast<uint32_t>(kDirHeaderSize + kFileEntrySize));
    file.append(data);
    return QImage::fromData(file, "ICO");
}

QImage decodeBest(const std::vector<IconImage> &images)
{
    if (images.empty())
        return {};
    const IconImage *best = &images.front();
    for (const IconImage &image : images)
        if (suitsBetter(image, *best))
            best = &image;
    QImage picture = decode(*best);
    if (picture.isNull())
        for (const IconImage &image : images)
            if (&image != best && !(picture = decode(image)).isNull())
                break;
    return picture;
}

bool isIconFile(std::span<const uint8_t> bytes) { return directoryCount(bytes).has_value(); }

} // namespace

const QImage &defaultEntryIcon()
{
    static const QImage picture = [] {
        // A plain window: a blue title bar over a white client area.
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setPen(QColor(0, 0, 0));
        painter.setBrush(QColor(255, 255, 255));
        painter.drawRect(2, 4, 27, 23);
        painter.fillRect(3, 5, 26, 5, QColor(0, 0, 128));
        painter.fillRect(25, 6, 3, 3, QColor(192, 192, 192));
        painter.fillRect(6, 14, 20, 2, QColor(128, 128, 128));
        painter.fillRect(6, 19, 14, 2, QColor(128, 128, 128));
        return image;
    }();
    return picture;
}

QImage iconFromIconFile(std::span<const uint8_t> bytes)
{
    const std::optional<uint16_t> count = directoryCount(bytes);
    if (!count)
        return {};
    std::vector<IconImage> images;
    for (size_t i = 0; i < *count; ++i) {
        const size_t entry = kDirHeaderSize + i * kFileEntrySize;
        if (entry + kFileEntrySize > bytes.size())
            break;
        const uint32_t size = readLe32(bytes.data() + entry + 8);
        const uint32_t offset = readLe32(bytes.data() + entry + 12);
        if (size == 0 || offset > bytes.size() || size > bytes.size() - offset)
            continue;
        images.push_back({bytes.subspan(entry, kImageFactsSize), bytes.subspan(offset, size)});
    }
    return decodeBest(images);
}

QImage iconFromImage(std::span<const uint8_t> bytes, uint16_t index)
{
    const PeImage image(bytes);
    if (!image.valid())
        return {};
    const std::optional<ResourceNode> root = image.resourceTree();
    if (!root)
        return {};
    const ResourceNode *groups = root->child(ResourceId(kResTypeIconGroup));
    if (!groups || groups->isLeaf || index >= groups->children.size())
        return {};
    const ResourceNode &name = groups->children[index];
    if (name.isLeaf || name.children.empty() || !name.children.front().isLeaf)
        return {};
    const std::optional<std::span<const uint8_t>> group = image.resourceData(name.children.front());
    if (!group)
        return {};
    const std::optional<uint16_t> count = directoryCount(*group);
    if (!count)
        return {};
    std::vector<IconImage> images;
    for (size_t i = 0; i < *count; ++i) {
        const size_t entry = kDirHeaderSize + i * kGroupEntrySize;
        if (entry + kGroupEntrySize > group->size())
            break;
        const uint16_t id = readLe16(group->data() + entry + 12);
        const ResourceNode *icon = PeImage::findResource(*root, ResourceId(kResTypeIcon), ResourceId(id));
        if (!icon)
            continue;
        if (const std::optional<std::span<const uint8_t>> data = image.resourceData(*icon); data && !data->empty())
            images.push_back({group->subspan(entry, kImageFactsSize), *data});
    }
    return decodeBest(images);
}

QImage associatedIcon(const std::string &path, uint16_t index)
{
    if (path.empty())
        return defaultEntryIcon();
    FileMapping file;
    if (!file.open(toNativePath(path), FileMapping::Mode::ReadOnly))
        return defaultEntryIcon();
    QImage picture;
    if (isIconFile(file.bytes()))
        picture = index == 0 ? iconFromIconFile(file.bytes()) : QImage();
    else
        picture = iconFromImage(file.bytes(), index);
    return picture.isNull() ? defaultEntryIcon() : picture;
}

QImage GetEntryIcon(const Project &project, std::string_view projectFolder, std::string_view iconLocation,
                    uint16_t index)
{
    const std::optional<std::string> source = entryIconSource(project, projectFolder, iconLocation);
    if (!source)
        return {};
    return associatedIcon(*source, index);
}

} // namespace wharf
