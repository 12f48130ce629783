#include "peimage.h"

#include "codec.h"

#include <algorithm>
#include <unordered_set>

namespace wharf {
namespace {

constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kMagic32 = 0x10B;
constexpr uint32_t kMagic64 = 0x20B;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kMaxImports = 4096;
constexpr std::size_t kMaxModuleName = 256;
// No real image comes near this; it stops trees that share or overlap
// directories from growing without bound.
constexpr std::size_t kMaxResourceNodes = 200000;
constexpr int kLanguageLevel = 2;

// Reads the resource tree of one image, checking every offset against the
// resource area (the file-backed rest of the section from the root on).
class ResourceTreeReader {
public:
    ResourceTreeReader(const PeImage &image, std::span<const uint8_t> area)
        : m_image(image), m_area(area)
    {
    }

    bool readDirectory(uint32_t offset, int level, ResourceNode &node)
    {
        if (level > kLanguageLevel || !inArea(offset, 16) || !m_visited.insert(offset).second)
            return false;
        const uint8_t *p = m_area.data() + offset;
        node.isLeaf = false;
        node.characteristics = readLe32(p);
        node.timeDateStamp = readLe32(p + 4);
        node.majorVersion = readLe16(p + 8);
        node.minorVersion = readLe16(p + 10);
        const uint32_t count = static_cast<uint32_t>(readLe16(p + 12)) + readLe16(p + 14);
        if (!inArea(offset + 16ull, 8ull * count))
            return false;
        m_nodes += count;
        if (m_nodes > kMaxResourceNodes)
            return false;
        node.children.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t *e = p + 16 + 8 * i;
            ResourceNode &child = node.children[i];
            if (!readEntryId(readLe32(e), child.id))
                return false;
            const uint32_t target = readLe32(e + 4);
            const bool isDirectory = (target & kHighBit) != 0;
            // Types and names lead to directories, languages to data.
            if (isDirectory != (level < kLanguageLevel))
                return false;
            if (isDirectory ? !readDirectory(target & ~kHighBit, level + 1, child)
                            : !readLeaf(target, child))
                return false;
        }
        return true;
    }

private:
    bool inArea(uint64_t offset, uint64_t length) const
    {
        return offset <= m_area.size() && length <= m_area.size() - offset;
    }

    bool readEntryId(uint32_t field, ResourceId &id)
    {
        if ((field & kHighBit) == 0) {
            id = ResourceId(static_cast<uint16_t>(field));
            return true;
        }
        const uint32_t offset = field & ~kHighBit;
        if (!inArea(offset, 2))
            return false;
        const uint16_t length = readLe16(m_area.data() + offset);
        if (!inArea(offset + 2ull, 2ull * length))
            return false;
        std::u16string name(length, u'\0');
        for (uint16_t i = 0; i < length; ++i)
            name[i] = static_cast<char16_t>(readLe16(m_area.data() + offset + 2 + 2 * i));
        id = ResourceId(std::move(name));
        return true;
    }

    bool readLeaf(uint32_t offset, ResourceNode &leaf)
    {
        if (!inArea(offset, 16))
            return false;
        const uint8_t *p = m_area.data() + offset;
        leaf.isLeaf = true;
        leaf.dataRva = readLe32(p);
        leaf.dataSize = readLe32(p + 4);
        leaf.codePage = readLe32(p + 8);
        leaf.reserved = readLe32(p + 12);
        return m_image.rvaToOffset(leaf.dataRva, leaf.dataSize).has_value();
    }

    const PeImage &m_image;
    std::span<const uint8_t> m_area;
    std::unordered_set<uint32_t> m_visited;
    std::size_t m_nodes = 0;
};

} // namespace

ResourceId::ResourceId(std::string_view utf8Name) : m_isName(true)
{
    const std::string bytes = toUtf16Le(utf8Name);
    m_name.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < m_name.size(); ++i)
        m_name[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
}

std::string ResourceId::text() const
{
    if (!m_isName)
        return std::to_string(m_id);
    std::string bytes;
    bytes.reserve(m_name.size() * 2);
    for (char16_t c : m_name) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return fromUtf16Le(bytes);
}

const ResourceNode *ResourceNode::child(const ResourceId &childId) const
{
    for (const ResourceNode &c : children)
        if (c.id == childId)
            return &c;
    return nullptr;
}

PeImage::PeImage(std::span<const uint8_t> file) : m_file(file)
{
    if (!inFile(0, 0x40) || file[0] != 'M' || file[1] != 'Z')
        return;
    m_peOffset = readLe32(file.data() + 0x3C);
    if (!inFile(m_peOffset, 24))
        return;
    const uint8_t *pe = file.data() + m_peOffset;
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0)
        return;
    m_machine = readLe16(pe + 4);
    const uint16_t sectionCount = readLe16(pe + 6);
    m_symbolTable = readLe32(pe + 12);
    m_optionalSize = readLe16(pe + 20);
    const uint64_t optional = m_peOffset + 24ull;
    if (!inFile(optional, m_optionalSize) || m_optionalSize < 2)
        return;
    const uint8_t *opt = file.data() + optional;
    const uint16_t magic = readLe16(opt);
    uint32_t directoryBase = 0;
    if (magic == kMagic32)
        directoryBase = 96;
    else if (magic == kMagic64)
        directoryBase = 112;
    else
        return;
    if (m_optionalSize < directoryBase)
        return;
    m_is64 = magic == kMagic64;
    m_sectionAlignment = readLe32(opt + 32);
    m_fileAlignment = readLe32(opt + 36);
    m_sizeOfImage = readLe32(opt + kOffSizeOfImage);
    m_sizeOfHeaders = readLe32(opt + 60);
    const uint32_t declared = readLe32(opt + directoryBase - 4);
    m_directoryCount = std::min<std::size_t>({declared, (m_optionalSize - directoryBase) / 8u, 16u});
    m_directoryOffset = static_cast<uint32_t>(optional + directoryBase);

    const uint64_t table = optional + m_optionalSize;
    if (!inFile(table, static_cast<uint64_t>(sectionCount) * kSectionHeaderSize))
        return;
    m_sections.reserve(sectionCount);
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint8_t *s = file.data() + table + static_cast<uint64_t>(i) * kSectionHeaderSize;
        PeSection section;
        const auto nameEnd = std::find(s, s + 8, uint8_t{0});
        section.name.assign(reinterpret_cast<const char *>(s), static_cast<std::size_t>(nameEnd - s));
        section.virtualSize = readLe32(s + 8);
        section.virtualAddress = readLe32(s + 12);
        section.rawSize = readLe32(s + 16);
        section.rawPointer = readLe32(s + 20);
        section.relocationPointer = readLe32(s + 24);
        section.lineNumberPointer = readLe32(s + 28);
        section.characteristics = readLe32(s + 36);
        section.headerOffset = static_cast<uint32_t>(s - file.data());
        m_sections.push_back(std::move(section));
    }
    m_valid = true;
}

const PeSection *PeImage::sectionAt(uint32_t rva) const
{
    for (const PeSection &s : m_sections) {
        const uint64_t extent = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent)
            return &s;
    }
    return nullptr;
}

PeDataDirectory PeImage::dataDirectory(std::size_t index) const
{
    const auto offset = dataDirectoryOffset(index);
    if (!offset)
        return {};
    return {readLe32(m_file.data() + *offset), readLe32(m_file.data() + *offset + 4)};
}

std::optional<uint32_t> PeImage::dataDirectoryOffset(std::size_t index) const
{
    if (!m_valid || index >= m_directoryCount)
        return std::nullopt;
    return m_directoryOffset + static_cast<uint32_t>(8 * index);
}

std::optional<uint32_t> PeImage::rvaToOffset(uint32_t rva, uint32_t length) const
{
    const PeSection *s = sectionAt(rva);
    if (s == nullptr || s->rawPointer >= m_file.size())
        return std::nullopt;
    const uint64_t available = std::min<uint64_t>(s->rawSize, m_file.size() - s->rawPointer);
    const uint64_t within = rva - s->virtualAddress;
    if (within > available || length > available - within)
        return std::nullopt;
    return static_cast<uint32_t>(s->rawPointer + within);
}

std::optional<std::span<const uint8_t>> PeImage::bytesAt(uint32_t rva, uint32_t length) const
{
    const auto offset = rvaToOffset(rva, length);
    if (!offset)
        return std::nullopt;
    return m_file.subspan(*offset, length);
}

std::vector<std::string> PeImage::importedModules() const
{
    std::vector<std::string> names;
    const PeDataDirectory imports = dataDirectory(kDirImport);
    if (imports.virtualAddress == 0)
        return names;
    for (std::size_t i = 0; i < kMaxImports; ++i) {
        const auto descriptor = bytesAt(static_cast<uint32_t>(imports.virtualAddress + 20 * i), 20);
        if (!descriptor)
            break;
        if (std::all_of(descriptor->begin(), descriptor->end(), [](uint8_t b) { return b == 0; }))
            break;
        const uint32_t nameRva = readLe32(descriptor->data() + 12) & ~kHighBit;
        const auto first = rvaToOffset(nameRva, 1);
        if (!first)
            break;
        const std::size_t limit = std::min<std::size_t>(kMaxModuleName, m_file.size() - *first);
        const uint8_t *start = m_file.data() + *first;
        const uint8_t *end = std::find(start, start + limit, uint8_t{0});
        if (end == start + limit)
            break;
        names.emplace_back(reinterpret_cast<const char *>(start), static_cast<std::size_t>(end - start));
    }
    return names;
}

std::optional<ResourceNode> PeImage::resourceTree() const
{
    const PeDataDirectory dir = dataDirectory(kDirResource);
    if (dir.virtualAddress == 0)
        return std::nullopt;
    const PeSection *s = sectionAt(dir.virtualAddress);
    const auto rootOffset = rvaToOffset(dir.virtualAddress, 16);
    if (s == nullptr || !rootOffset)
        return std::nullopt;
    const uint64_t available = std::min<uint64_t>(s->rawSize, m_file.size() - s->rawPointer);
    const uint64_t areaSize = available - (dir.virtualAddress - s->virtualAddress);
    ResourceTreeReader reader(*this, m_file.subspan(*rootOffset, areaSize));
    ResourceNode root;
    if (!reader.readDirectory(0, 0, root))
        return std::nullopt;
    return root;
}

std::optional<std::span<const uint8_t>> PeImage::resourceData(const ResourceNode &leaf) const
{
    if (!leaf.isLeaf)
        return std::nullopt;
    return bytesAt(leaf.dataRva, leaf.dataSize);
}

const ResourceNode *PeImage::findResource(const ResourceNode &root, const ResourceId &type,
                                          const ResourceId &name, std::optional<uint16_t> language)
{
    const ResourceNode *typeNode = root.child(type);
    const ResourceNode *nameNode = typeNode ? typeNode->child(name) : nullptr;
    if (nameNode == nullptr || nameNode->children.empty())
        return nullptr;
    if (!language)
        return &nameNode->children.front();
    return nameNode->child(ResourceId(*language));
}

} // namespace wharf
