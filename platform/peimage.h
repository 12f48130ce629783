#pragma once
// Reads a portable-executable image (32-bit and 64-bit): its headers, the
// section table, the data directories, the names of the modules it imports
// and its resource tree. Works over bytes the caller holds (usually a
// FileMapping) and checks every offset and size against them, so a damaged
// or hostile file gives "not an image" or "no resources", never a read out
// of bounds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

// Little-endian access to bytes whose range the caller has checked.
inline uint16_t readLe16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t readLe32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void writeLe16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void writeLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Data directory slots.
enum PeDirectory : unsigned {
    kDirExport = 0,
    kDirImport = 1,
    kDirResource = 2,
    kDirException = 3,
    kDirSecurity = 4, // its address is a file offset, not an RVA
    kDirBaseReloc = 5,
    kDirDebug = 6,
};

// Resource types the system works with.
constexpr uint16_t kResTypeIcon = 3;
constexpr uint16_t kResTypeRcData = 10;
constexpr uint16_t kResTypeIconGroup = 14;
constexpr uint16_t kResTypeVersion = 16;

// Size of one debug directory entry.
constexpr uint32_t kDebugEntrySize = 28;

struct PeSection {
    std::string name; // up to 8 bytes, without trailing NULs
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawPointer = 0;
    uint32_t relocationPointer = 0;
    uint32_t lineNumberPointer = 0;
    uint32_t characteristics = 0;
    uint32_t headerOffset = 0; // file offset of this 40-byte section header
};

struct PeDataDirectory {
    uint32_t virtualAddress = 0;
    uint32_t size = 0;
};

// A resource type or name: an integer id below 65536 or a UTF-16 name.
class ResourceId {
public:
    ResourceId() = default;
    ResourceId(uint16_t id) : m_id(id) {}
    explicit ResourceId(std::u16string name) : m_isName(true), m_name(std::move(name)) {}
    // A name given as UTF-8 text.
    explicit ResourceId(std::string_view utf8Name);
    template <std::size_t N>
    ResourceId(const char (&utf8Name)[N]) : ResourceId(std::string_view(utf8Name, N - 1))
    {
    }

    bool isName() const { return m_isName; }
    uint16_t id() const { return m_id; }
    const std::u16string &name() const { return m_name; }
    // The name as UTF-8, or the id in decimal.
    std::string text() const;

    bool operator==(const ResourceId &other) const = default;

private:
    bool m_isName = false;
    uint16_t m_id = 0;
    std::u16string m_name;
};

// One node of a resource tree as stored in the image: a directory (type,
// name or language level) or a leaf, which is a data entry.
struct ResourceNode {
    ResourceId id; // the directory entry's id or name that leads here
    bool isLeaf = false;

    // Directory header.
    uint32_t characteristics = 0;
    uint32_t timeDateStamp = 0;
    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    std::vector<ResourceNode> children; // named entries first, in file order

    // Data entry of a leaf.
    uint32_t dataRva = 0;
    uint32_t dataSize = 0;
    uint32_t codePage = 0;
    uint32_t reserved = 0;

    // The child reached by this id or name, or nullptr.
    const ResourceNode *child(const ResourceId &childId) const;
};

class PeImage {
public:
    // Parses the headers of the bytes given; they are not copied and must
    // outlive the reader. valid() tells whether they form an image.
    explicit PeImage(std::span<const uint8_t> file);

    bool valid() const { return m_valid; }
    bool is64() const { return m_is64; }
    uint16_t machine() const { return m_machine; }
    std::span<const uint8_t> file() const { return m_file; }

    // File offsets of the headers ("PE\0\0", file header, optional header).
    uint32_t peHeaderOffset() const { return m_peOffset; }
    uint32_t fileHeaderOffset() const { return m_peOffset + 4; }
    uint32_t optionalHeaderOffset() const { return m_peOffset + 24; }
    uint16_t optionalHeaderSize() const { return m_optionalSize; }

    uint32_t sectionAlignment() const { return m_sectionAlignment; }
    uint32_t fileAlignment() const { return m_fileAlignment; }
    uint32_t sizeOfImage() const { return m_sizeOfImage; }
    uint32_t sizeOfHeaders() const { return m_sizeOfHeaders; }
    uint32_t symbolTablePointer() const { return m_symbolTable; }

    // File offsets of fields the resource updater rewrites.
    static constexpr uint32_t kOffInitializedDataSize = 8;  // in the optional header
    static constexpr uint32_t kOffSizeOfImage = 56;         // in the optional header
    static constexpr uint32_t kOffSymbolTablePointer = 8;   // in the file header

    const std::vector<PeSection> &sections() const { return m_sections; }
    // The first section whose virtual range holds rva, or nullptr.
    const PeSection *sectionAt(uint32_t rva) const;

    std::size_t dataDirectoryCount() const { return m_directoryCount; }
    // The directory in slot index; zeros when the image has no such slot.
    PeDataDirectory dataDirectory(std::size_t index) const;
    // File offset of the 8-byte slot, or nullopt when there is none.
    std::optional<uint32_t> dataDirectoryOffset(std::size_t index) const;

    // File offset of length bytes at rva when they lie in one section's raw
    // data inside the file; nullopt otherwise.
    std::optional<uint32_t> rvaToOffset(uint32_t rva, uint32_t length) const;
    // Those bytes themselves.
    std::optional<std::span<const uint8_t>> bytesAt(uint32_t rva, uint32_t length) const;

    // Names of the modules in the import table, in table order (at most
    // 4096; a damaged table ends the list where it breaks).
    std::vector<std::string> importedModules() const;

    // The resource tree: the root directory with its type, name and
    // language levels. nullopt when there is none or when it is
    // inconsistent: an offset outside the section, a level below the
    // language level, a directory reached twice, a leaf above it, a data
    // entry whose data lies outside the image's file data.
    std::optional<ResourceNode> resourceTree() const;

    // A leaf's data (bounded by the tree check).
    std::optional<std::span<const uint8_t>> resourceData(const ResourceNode &leaf) const;

    // The leaf for type, name and language; without a language, the first
    // language present. nullptr when there is none.
    static const ResourceNode *findResource(const ResourceNode &root, const ResourceId &type,
                                            const ResourceId &name,
                                            std::optional<uint16_t> language = std::nullopt);

private:
    bool inFile(uint64_t offset, uint64_t length) const
    {
        return offset <= m_file.size() && length <= m_file.size() - offset;
    }

    std::span<const uint8_t> m_file;
    bool m_valid = false;
    bool m_is64 = false;
    uint16_t m_machine = 0;
    uint32_t m_peOffset = 0;
    uint16_t m_optionalSize = 0;
    uint32_t m_sectionAlignment = 0;
    uint32_t m_fileAlignment = 0;
    uint32_t m_sizeOfImage = 0;
    uint32_t m_sizeOfHeaders = 0;
    uint32_t m_symbolTable = 0;
    uint32_t m_directoryOffset = 0;
    std::size_t m_directoryCount = 0;
    std::vector<PeSection> m_sections;
};

} // namespace wharf
