#include "versioninfo.h"

#include "codec.h"
#include "mapping.h"
#include "peimage.h"

#include <array>
#include <cstdio>
#include <optional>

namespace wharf {
namespace {

// A version resource is a tree of blocks addressed by their 16-bit length
// field, so none can be longer than this.
constexpr std::size_t kMaxVersionResource = 65535;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint16_t kVersionInfoId = 1;

std::size_t align4(std::size_t v) { return (v + 3) & ~static_cast<std::size_t>(3); }

// One block of the version resource: length, value length, type, key,
// value and children, each child a block of its own.
struct Block {
    std::size_t end = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0; // 1: text value, 0: binary value
    std::u16string key;
    std::size_t valueStart = 0;
    std::size_t childrenStart = 0;
};

std::optional<Block> parseBlock(std::string_view data, std::size_t offset, std::size_t limit)
{
    const auto *p = reinterpret_cast<const uint8_t *>(data.data());
    if (limit > data.size() || offset > limit || limit - offset < 6)
        return std::nullopt;
    const uint16_t length = readLe16(p + offset);
    if (length < 6 || length > limit - offset)
        return std::nullopt;
    Block b;
    b.end = offset + length;
    b.valueLength = readLe16(p + offset + 2);
    b.type = readLe16(p + offset + 4);
    std::size_t at = offset + 6;
    for (;;) {
        if (b.end - at < 2)
            return std::nullopt; // key without its terminating NUL
        const char16_t c = static_cast<char16_t>(readLe16(p + at));
        at += 2;
        if (c == 0)
            break;
        b.key += c;
    }
    b.valueStart = std::min(align4(at), b.end);
    const std::size_t valueBytes = b.type == 1 ? 2u * b.valueLength : b.valueLength;
    b.childrenStart = std::min(align4(b.valueStart + valueBytes), b.end);
    return b;
}

bool sameKey(const std::u16string &key, std::string_view name)
{
    if (key.size() != name.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char16_t a = key[i];
        const char b = name[i];
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
        if (lower(a) != lower(static_cast<char16_t>(static_cast<unsigned char>(b))))
            return false;
    }
    return true;
}

std::optional<Block> findChild(std::string_view data, const Block &parent, std::string_view key)
{
    std::size_t at = parent.childrenStart;
    while (at < parent.end) {
        const auto child = parseBlock(data, at, parent.end);
        if (!child)
            return std::nullopt;
        if (sameKey(child->key, key))
            return child;
        at = align4(child->end);
    }
    return std::nullopt;
}

// The block at a path of keys below the root, or nullopt.
std::optional<Block> query(std::string_view data, std::initializer_list<std::string_view> path)
{
    auto block = parseBlock(data, 0, data.size());
    for (std::string_view key : path) {
        if (!block)
            break;
        block = findChild(data, *block, key);
    }
    return block;
}

// The version resource of a mapped file, at most kMaxVersionResource bytes.
std::string readVersionResource(std::span<const uint8_t> file)
{
    const PeImage image(file);
    if (!image.valid())
        return {};
    const auto tree = image.resourceTree();
    if (!tree)
        return {};
    const ResourceNode *leaf = PeImage::findResource(*tree, kResTypeVersion, kVersionInfoId);
    if (leaf == nullptr)
        return {};
    const auto data = image.resourceData(*leaf);
    if (!data)
        return {};
    const std::size_t size = std::min(data->size(), kMaxVersionResource);
    return std::string(reinterpret_cast<const char *>(data->data()), size);
}

} // namespace

TVersionInfo::TVersionInfo(std::string_view fileName) : m_fileName(fileName)
{
    FileMapping mapping;
    if (!mapping.open(fileName, FileMapping::Mode::ReadOnly))
        return;
    m_data = readVersionResource(mapping.bytes());
    const auto root = parseBlock(m_data, 0, m_data.size());
    m_valid = root && sameKey(root->key, "VS_VERSION_INFO");
    if (!m_valid)
        m_data.clear();
}

std::string TVersionInfo::TranslationText() const
{
    if (!m_valid)
        return {};
    const auto translation = query(m_data, {"VarFileInfo", "Translation"});
    if (!translation || translation->end - translation->valueStart < 4)
        return {};
    const auto *p = reinterpret_cast<const uint8_t *>(m_data.data()) + translation->valueStart;
    std::array<char, 9> text{};
    std::snprintf(text.data(), text.size(), "%04X%04X", readLe16(p), readLe16(p + 2));
    return text.data();
}

std::string TVersionInfo::Value(std::string_view name) const
{
    const std::string translation = TranslationText();
    if (translation.empty())
        return {};
    const auto block = query(m_data, {"StringFileInfo", translation, name});
    if (!block)
        return {};
    // The value runs to its NUL or to the end of the block, whatever the
    // value length says: writers disagree on whether it counts bytes.
    std::string utf16;
    for (std::size_t at = block->valueStart; at + 2 <= block->end; at += 2) {
        if (m_data[at] == 0 && m_data[at + 1] == 0)
            break;
        utf16 += m_data.substr(at, 2);
    }
    return fromUtf16Le(utf16);
}

std::string TVersionInfo::FileDescriptionValue() const
{
    return Value("FileDescription");
}

std::string TVersionInfo::FileVersionValue() const
{
    std::string text = Value("FileVersion");
    if (!text.empty() || !m_valid)
        return text;
    const auto root = parseBlock(m_data, 0, m_data.size());
    if (!root || root->valueLength < 52 || root->end - root->valueStart < 52)
        return {};
    const auto *p = reinterpret_cast<const uint8_t *>(m_data.data()) + root->valueStart;
    if (readLe32(p) != kFixedSignature)
        return {};
    const uint32_t ms = readLe32(p + 8);
    const uint32_t ls = readLe32(p + 12);
    std::array<char, 32> out{};
    std::snprintf(out.data(), out.size(), "%d.%d.%d.%d", static_cast<int>(ms >> 16),
                  static_cast<int>(ms & 0xFFFF), static_cast<int>(ls >> 16),
                  static_cast<int>(ls & 0xFFFF));
    return out.data();
}

} // namespace wharf
