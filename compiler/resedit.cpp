#include "resedit.h"

#include "files.h"
#include "mapping.h"
#include "paths.h"
#include "runcontext.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>
#include <vector>

namespace wharf {
namespace {

constexpr uint32_t kHighBit = 0x80000000u;
// New data up to this size stays in memory; larger data waits in a scratch
// file until the section is rebuilt.
constexpr uint32_t kMemoryDataLimit = 32768;
constexpr uint16_t kFirstIconId = 50;
constexpr uint64_t kMaxImageSize = 0xFFFFFFFFull;

uint64_t alignUp(uint64_t value, uint64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

bool isPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

char16_t foldCase(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 32);
    return c;
}

// Case-insensitive order of resource names, the order named entries keep.
int compareNames(const std::u16string &a, const std::u16string &b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = foldCase(a[i]);
        const char16_t y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// True when an entry with id a belongs before one with id b.
bool entryBefore(const ResourceId &a, const ResourceId &b)
{
    if (a.isName() != b.isName())
        return a.isName();
    if (a.isName())
        return compareNames(a.name(), b.name()) < 0;
    return a.id() < b.id();
}

int windowsError(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kErrorAccessDenied;
    case EWOULDBLOCK:
        return kErrorSharingViolation;
    case ENOMEM:
        return kErrorNotEnoughMemory;
    default:
        return kErrorGenFailure;
    }
}

bool readExactly(const std::string &path, uint8_t *target, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, target + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return done == size;
}

} // namespace

struct ResourceUpdate::Impl {
    // A directory or a leaf of the resource tree.
    struct Node {
        ResourceId id; // a leaf's id is its directory id (its language entry)
        bool isLeaf = false;
        uint32_t characteristics = 0;
        uint32_t timeDateStamp = 0;
        uint16_t majorVersion = 0;
        uint16_t minorVersion = 0;
        std::vector<Node> children; // named first by name, then ids ascending

        enum class Source { Mapped, Memory, Scratch };
        uint32_t codePage = 0; // the language value leaves are found by
        uint32_t reserved = 0;
        Source source = Source::Memory;
        uint32_t size = 0;
        uint32_t fileOffset = 0; // Mapped: where the data lies in the file
        std::string memory;      // Memory
        std::string scratchPath; // Scratch
    };

    std::string fileName;
    FileMapping file;
    Node root;
    std::unique_ptr<ScratchFolder> scratch;
    unsigned scratchCount = 0;

    // Header facts taken when the update began; the headers lie before the
    // resource data, so their offsets stay valid through the move.
    std::size_t resourceSection = 0;
    uint32_t resourceRva = 0;
    uint32_t resourceDirectorySize = 0;
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;

    ~Impl() { releaseTree(root); }

    void releaseTree(Node &node)
    {
        if (node.source == Node::Source::Scratch && !node.scratchPath.empty())
            deleteFile(node.scratchPath);
        for (Node &c : node.children)
            releaseTree(c);
        node.children.clear();
    }

    static Node fromImage(const PeImage &image, const ResourceNode &in)
    {
        Node out;
        out.id = in.id;
        out.isLeaf = in.isLeaf;
        out.characteristics = in.characteristics;
        out.timeDateStamp = in.timeDateStamp;
        out.majorVersion = in.majorVersion;
        out.minorVersion = in.minorVersion;
        if (in.isLeaf) {
            out.codePage = in.codePage;
            out.reserved = in.reserved;
            out.source = Node::Source::Mapped;
            out.size = in.dataSize;
            // The tree reader has checked that the data lies in the file.
            out.fileOffset = image.rvaToOffset(in.dataRva, in.dataSize).value_or(0);
        }
        out.children.reserve(in.children.size());
        for (const ResourceNode &c : in.children)
            out.children.push_back(fromImage(image, c));
        return out;
    }

    template <class N>
    static N *findDirectory(N &parent, const ResourceId &id)
    {
        for (N &c : parent.children)
            if (!c.isLeaf && c.id == id)
                return &c;
        return nullptr;
    }

    // The leaf whose language value is language; failing that, the leaf
    // whose directory id is language, so that an update in a language the
    // file already has never adds a second entry with the same id.
    template <class N>
    static N *findLeaf(N &parent, uint16_t language)
    {
        for (N &c : parent.children)
            if (c.isLeaf && c.codePage == language)
                return &c;
        for (N &c : parent.children)
            if (c.isLeaf && !c.id.isName() && c.id.id() == language)
                return &c;
        return nullptr;
    }

    static Node &insertChild(Node &parent, Node child)
    {
        auto at = std::find_if(parent.children.begin(), parent.children.end(),
                               [&](const Node &c) { return entryBefore(child.id, c.id); });
        return *parent.children.insert(at, std::move(child));
    }

    Node &directory(Node &parent, const ResourceId &id)
    {
        if (Node *d = findDirectory(parent, id))
            return *d;
        Node d;
        d.id = id;
        return insertChild(parent, std::move(d));
    }

    void removeChild(Node &parent, const Node *child)
    {
        auto it = std::find_if(parent.children.begin(), parent.children.end(),
                               [&](const Node &c) { return &c == child; });
        if (it == parent.children.end())
            return;
        releaseTree(*it);
        parent.children.erase(it);
    }

    void setData(Node &leaf, const void *data, uint32_t size)
    {
        if (leaf.source == Node::Source::Scratch && !leaf.scratchPath.empty())
            deleteFile(leaf.scratchPath);
        leaf.scratchPath.clear();
        leaf.memory.clear();
        leaf.size = size;
        if (size <= kMemoryDataLimit) {
            leaf.source = Node::Source::Memory;
            leaf.memory.assign(static_cast<const char *>(data), size);
            return;
        }
        if (!scratch)
            scratch = std::make_unique<ScratchFolder>(RunScratchFolder(), "resources");
        char name[32];
        std::snprintf(name, sizeof name, "res%08X-%04X.tmp", static_cast<unsigned>(::getpid()),
                      ++scratchCount);
        const std::string path = scratch->file(name);
        if (!writeFile(path, std::string_view(static_cast<const char *>(data), size)))
            throw std::runtime_error("Could not write the scratch file " + path);
        leaf.source = Node::Source::Scratch;
        leaf.scratchPath = path;
    }

    std::optional<std::string> leafData(const Node &leaf) const
    {
        switch (leaf.source) {
        case Node::Source::Mapped:
            return std::string(reinterpret_cast<const char *>(file.data()) + leaf.fileOffset, leaf.size);
        case Node::Source::Memory:
            return leaf.memory;
        case Node::Source::Scratch:
            return readFile(leaf.scratchPath);
        }
        return std::nullopt;
    }

    bool write();
    // True when the image in bytes is valid and its resource tree, as the
    // image reader finds it, equals root, data included.
    bool readsBack(const std::vector<uint8_t> &bytes) const;
    bool sameTree(const PeImage &image, const ResourceNode &read, const Node &node) const;
};

namespace {

using Node = ResourceUpdate::Impl::Node;

struct Measure {
    uint64_t directoryBytes = 0;
    uint64_t nameBytes = 0;
    uint64_t dataBytes = 0;
    bool fits = true; // every count fits its 16-bit field
};

void measure(const Node &node, Measure &m)
{
    if (node.isLeaf) {
        m.directoryBytes += 16;
        m.dataBytes += alignUp(node.size, 4);
        return;
    }
    const auto named = std::count_if(node.children.begin(), node.children.end(),
                                     [](const Node &c) { return c.id.isName(); });
    if (named > 0xFFFF || node.children.size() - static_cast<std::size_t>(named) > 0xFFFF)
        m.fits = false;
    m.directoryBytes += 16 + 8 * node.children.size();
    for (const Node &c : node.children) {
        if (c.id.isName()) {
            if (c.id.name().size() > 0xFFFF)
                m.fits = false;
            m.nameBytes += 2 + 2 * c.id.name().size();
        }
        measure(c, m);
    }
}

// Lays the tree out in the new section image: directories and data entries
// depth first from the start, the names after them, then the data, each
// piece of data on a 4-byte boundary.
class SectionWriter {
public:
    SectionWriter(const ResourceUpdate::Impl &update, uint8_t *image, uint32_t sectionRva,
                  const Measure &m)
        : m_update(update), m_image(image), m_rva(sectionRva),
          m_nameCursor(static_cast<uint32_t>(m.directoryBytes)),
          m_dataCursor(static_cast<uint32_t>(alignUp(m.directoryBytes + m.nameBytes, 4)))
    {
    }

    bool writeRoot(const Node &root)
    {
        m_directoryCursor = 16 + 8 * static_cast<uint32_t>(root.children.size());
        return writeDirectory(root, 0);
    }

private:
    bool writeDirectory(const Node &node, uint32_t at)
    {
        uint8_t *p = m_image + at;
        writeLe32(p, node.characteristics);
        writeLe32(p + 4, node.timeDateStamp);
        writeLe16(p + 8, node.majorVersion);
        writeLe16(p + 10, node.minorVersion);
        const auto named = std::count_if(node.children.begin(), node.children.end(),
                                         [](const Node &c) { return c.id.isName(); });
        writeLe16(p + 12, static_cast<uint16_t>(named));
        writeLe16(p + 14, static_cast<uint16_t>(node.children.size() - static_cast<std::size_t>(named)));
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            const Node &c = node.children[i];
            uint8_t *entry = p + 16 + 8 * i;
            writeLe32(entry, c.id.isName() ? (writeName(c.id.name()) | kHighBit) : c.id.id());
            const uint32_t childAt = m_directoryCursor;
            if (c.isLeaf) {
                m_directoryCursor += 16;
                writeLe32(entry + 4, childAt);
                if (!writeLeaf(c, childAt))
                    return false;
            } else {
                m_directoryCursor += 16 + 8 * static_cast<uint32_t>(c.children.size());
                writeLe32(entry + 4, childAt | kHighBit);
                if (!writeDirectory(c, childAt))
                    return false;
            }
        }
        return true;
    }

    uint32_t writeName(const std::u16string &name)
    {
        const uint32_t at = m_nameCursor;
        writeLe16(m_image + at, static_cast<uint16_t>(name.size()));
        for (std::size_t i = 0; i < name.size(); ++i)
            writeLe16(m_image + at + 2 + 2 * i, name[i]);
        m_nameCursor += 2 + 2 * static_cast<uint32_t>(name.size());
        return at;
    }

    bool writeLeaf(const Node &leaf, uint32_t at)
    {
        uint8_t *entry = m_image + at;
        writeLe32(entry, m_rva + m_dataCursor);
        writeLe32(entry + 4, leaf.size);
        writeLe32(entry + 8, leaf.codePage);
        writeLe32(entry + 12, leaf.reserved);
        uint8_t *target = m_image + m_dataCursor;
        switch (leaf.source) {
        case Node::Source::Mapped:
            std::memcpy(target, m_update.file.data() + leaf.fileOffset, leaf.size);
            break;
        case Node::Source::Memory:
            std::memcpy(target, leaf.memory.data(), leaf.size);
            break;
        case Node::Source::Scratch:
            if (!readExactly(leaf.scratchPath, target, leaf.size))
                return false;
            break;
        }
        m_dataCursor += static_cast<uint32_t>(alignUp(leaf.size, 4));
        return true;
    }

    const ResourceUpdate::Impl &m_update;
    uint8_t *m_image;
    uint32_t m_rva;
    uint32_t m_directoryCursor = 0;
    uint32_t m_nameCursor;
    uint32_t m_dataCursor;
};

void addToField(uint8_t *p, int64_t delta)
{
    writeLe32(p, static_cast<uint32_t>(static_cast<int64_t>(readLe32(p)) + delta));
}

} // namespace

bool ResourceUpdate::Impl::write()
{
    // Everything that can fail is checked before the file is touched.
    const PeImage image(file.bytes());
    if (!image.valid() || resourceSection >= image.sections().size())
        return false;
    const PeSection &rsrc = image.sections()[resourceSection];
    Measure m;
    measure(root, m);
    const uint64_t headerBytes = alignUp(m.directoryBytes + m.nameBytes, 4);
    const uint64_t newSize = headerBytes + m.dataBytes; // S
    const uint64_t newRaw = alignUp(newSize, fileAlignment);
    const int64_t rawDelta = static_cast<int64_t>(newRaw) - rsrc.rawSize;                 // D
    const int64_t virtualDelta = static_cast<int64_t>(alignUp(newSize, sectionAlignment)) -
                                 static_cast<int64_t>(alignUp(resourceDirectorySize, sectionAlignment)); // V
    const uint64_t oldEnd = static_cast<uint64_t>(rsrc.rawPointer) + rsrc.rawSize;
    const uint64_t oldFileSize = file.size();
    const uint64_t newFileSize = oldFileSize + rawDelta;
    // Offsets inside the section carry a flag in their high bit, and every
    // address must stay a 32-bit value.
    if (!m.fits || newSize >= kHighBit || resourceRva + newSize > kMaxImageSize ||
        newRaw > kMaxImageSize || newFileSize > kMaxImageSize ||
        static_cast<int64_t>(image.sizeOfImage()) + virtualDelta > static_cast<int64_t>(kMaxImageSize) ||
        static_cast<int64_t>(image.sizeOfImage()) + virtualDelta < 0)
        return false;

    // The debug directory's entries, found before anything moves.
    const PeDataDirectory debug = image.dataDirectory(kDirDebug);
    std::optional<uint32_t> debugOffset;
    if (debug.virtualAddress != 0 && debug.size >= kDebugEntrySize)
        debugOffset = image.rvaToOffset(debug.virtualAddress, debug.size - debug.size % kDebugEntrySize);

    // Build the new section in a scratch mapping.
    if (!scratch)
        scratch = std::make_unique<ScratchFolder>(RunScratchFolder(), "resources");
    char name[32];
    std::snprintf(name, sizeof name, "sec%08X.tmp", static_cast<unsigned>(::getpid()));
    FileMapping section;
    if (!section.create(scratch->file(name), static_cast<std::size_t>(newSize)))
        return false;
    SectionWriter writer(*this, section.data(), resourceRva, m);
    if (!writer.writeRoot(root))
        return false;

    // The new file is assembled in memory: the bytes before the section,
    // the new section padded with zeros, and the rest of the file behind it.
    std::vector<uint8_t> out(static_cast<std::size_t>(newFileSize));
    const uint8_t *old = file.data();
    std::memcpy(out.data(), old, rsrc.rawPointer);
    std::memcpy(out.data() + rsrc.rawPointer, section.data(), static_cast<std::size_t>(newSize));
    std::memcpy(out.data() + rsrc.rawPointer + newRaw, old + oldEnd, static_cast<std::size_t>(oldFileSize - oldEnd));
    section.close();

    // Fix the headers.
    uint8_t *base = out.data();
    const uint32_t optional = image.optionalHeaderOffset();
    addToField(base + optional + PeImage::kOffInitializedDataSize, rawDelta);
    addToField(base + optional + PeImage::kOffSizeOfImage, virtualDelta);
    const auto movedFileOffset = [&](uint32_t offset) { return offset >= oldEnd; };
    if (movedFileOffset(image.symbolTablePointer()) && image.symbolTablePointer() != 0)
        addToField(base + image.fileHeaderOffset() + PeImage::kOffSymbolTablePointer, rawDelta);
    for (std::size_t i = 0; i < image.sections().size(); ++i) {
        const PeSection &s = image.sections()[i];
        uint8_t *h = base + s.headerOffset;
        if (i == resourceSection) {
            writeLe32(h + 8, static_cast<uint32_t>(newSize));
            writeLe32(h + 16, static_cast<uint32_t>(newRaw));
            continue;
        }
        if (s.virtualAddress > resourceRva) {
            addToField(h + 12, virtualDelta);
            if (s.rawPointer != 0)
                addToField(h + 20, rawDelta);
        }
        if (s.relocationPointer > rsrc.rawPointer)
            addToField(h + 24, rawDelta);
        if (s.lineNumberPointer > rsrc.rawPointer)
            addToField(h + 28, rawDelta);
    }
    for (std::size_t i = 0; i < image.dataDirectoryCount(); ++i) {
        uint8_t *d = base + *image.dataDirectoryOffset(i);
        if (i == kDirResource)
            writeLe32(d + 4, static_cast<uint32_t>(newSize));
        else if (i == kDirSecurity) {
            // Certificates are found by file offset, not by address.
            if (movedFileOffset(readLe32(d)))
                addToField(d, rawDelta);
        } else if (readLe32(d) > resourceRva)
            addToField(d, virtualDelta);
    }
    if (debugOffset) {
        const uint64_t at = *debugOffset + (movedFileOffset(*debugOffset) ? rawDelta : 0);
        const uint64_t count = debug.size / kDebugEntrySize;
        if (at + count * kDebugEntrySize > out.size())
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t *e = base + at + static_cast<uint64_t>(i) * kDebugEntrySize;
            if (readLe32(e + 20) > resourceRva)
                addToField(e + 20, virtualDelta);
            if (movedFileOffset(readLe32(e + 24)))
                addToField(e + 24, rawDelta);
        }
    }

    // An image whose resources its own reader can't find again would be a
    // broken setup: such an update is refused and the file stays as it was.
    if (!readsBack(out))
        return false;

    if (!file.resize(out.size()))
        return false;
    std::memcpy(file.data(), out.data(), out.size());
    return true;
}

bool ResourceUpdate::Impl::sameTree(const PeImage &image, const ResourceNode &read, const Node &node) const
{
    if (read.isLeaf != node.isLeaf || !(read.id == node.id))
        return false;
    if (node.isLeaf) {
        if (read.codePage != node.codePage || read.dataSize != node.size)
            return false;
        const auto stored = image.resourceData(read);
        const auto expected = leafData(node);
        return stored && expected && stored->size() == expected->size() &&
               std::memcmp(stored->data(), expected->data(), expected->size()) == 0;
    }
    if (read.children.size() != node.children.size())
        return false;
    for (std::size_t i = 0; i < node.children.size(); ++i)
        if (!sameTree(image, read.children[i], node.children[i]))
            return false;
    return true;
}

bool ResourceUpdate::Impl::readsBack(const std::vector<uint8_t> &bytes) const
{
    const PeImage image(std::span<const uint8_t>(bytes.data(), bytes.size()));
    if (!image.valid())
        return false;
    const auto tree = image.resourceTree();
    return tree && sameTree(image, *tree, root);
}

ResourceUpdate::ResourceUpdate(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ResourceUpdate::~ResourceUpdate() = default;

namespace {

// Checks that the resource section can be rebuilt and moved without
// breaking the image: alignments, the section inside the file, and every
// section with data behind it also behind it in the address space.
bool canRebuild(const PeImage &image, std::size_t index, uint32_t directorySize)
{
    const uint32_t sa = image.sectionAlignment();
    const uint32_t fa = image.fileAlignment();
    if (!isPowerOfTwo(sa) || !isPowerOfTwo(fa))
        return false;
    const PeSection &rsrc = image.sections()[index];
    const uint64_t rawEnd = static_cast<uint64_t>(rsrc.rawPointer) + rsrc.rawSize;
    if (rsrc.rawPointer == 0 || rawEnd > image.file().size() || rsrc.rawPointer % fa != 0)
        return false;
    const uint64_t extent = rsrc.virtualSize != 0 ? rsrc.virtualSize : rsrc.rawSize;
    if (alignUp(directorySize, sa) > alignUp(extent, sa))
        return false;
    const uint64_t tableEnd = image.optionalHeaderOffset() + static_cast<uint64_t>(image.optionalHeaderSize()) +
                              40ull * image.sections().size();
    if (tableEnd > rsrc.rawPointer)
        return false;
    for (std::size_t i = 0; i < image.sections().size(); ++i) {
        if (i == index)
            continue;
        const PeSection &s = image.sections()[i];
        if (s.rawSize == 0)
            continue;
        const bool behind = s.virtualAddress > rsrc.virtualAddress;
        const uint64_t end = static_cast<uint64_t>(s.rawPointer) + s.rawSize;
        if (behind ? s.rawPointer < rawEnd : end > rsrc.rawPointer)
            return false;
    }
    const PeDataDirectory debug = image.dataDirectory(kDirDebug);
    if (debug.virtualAddress != 0 && debug.size >= kDebugEntrySize) {
        // The debug directory must lie outside the section that is rebuilt.
        const auto at = image.rvaToOffset(debug.virtualAddress, debug.size - debug.size % kDebugEntrySize);
        if (!at || (*at + static_cast<uint64_t>(debug.size) > rsrc.rawPointer && *at < rawEnd))
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<ResourceUpdate> BeginResourceUpdate(std::string_view fileName, bool deleteExisting,
                                                    int *lastError)
{
    int error = 0;
    auto fail = [&](int code) -> std::unique_ptr<ResourceUpdate> {
        error = code;
        if (lastError)
            *lastError = error;
        return nullptr;
    };
    try {
        auto impl = std::make_unique<ResourceUpdate::Impl>();
        impl->fileName = std::string(fileName);
        if (!impl->file.open(fileName, FileMapping::Mode::ReadWrite, true))
            return fail(windowsError(impl->file.error()));
        const PeImage image(impl->file.bytes());
        if (!image.valid())
            return fail(kErrorBadExeFormat);
        const PeDataDirectory dir = image.dataDirectory(kDirResource);
        const auto &sections = image.sections();
        const auto found = std::find_if(sections.begin(), sections.end(), [&](const PeSection &s) {
            return dir.virtualAddress != 0 && s.virtualAddress == dir.virtualAddress;
        });
        if (found == sections.end())
            return fail(kErrorFileNotFound);
        impl->resourceSection = static_cast<std::size_t>(found - sections.begin());
        impl->resourceRva = dir.virtualAddress;
        impl->resourceDirectorySize = dir.size;
        impl->sectionAlignment = image.sectionAlignment();
        impl->fileAlignment = image.fileAlignment();
        if (!canRebuild(image, impl->resourceSection, dir.size))
            return fail(kErrorBadExeFormat);
        if (!deleteExisting) {
            const auto tree = image.resourceTree();
            if (!tree)
                return fail(kErrorBadExeFormat);
            impl->root = ResourceUpdate::Impl::fromImage(image, *tree);
        }
        if (lastError)
            *lastError = 0;
        return std::make_unique<ResourceUpdate>(std::move(impl));
    } catch (const std::bad_alloc &) {
        return fail(kErrorNotEnoughMemory);
    } catch (const std::exception &) {
        return fail(kErrorGenFailure);
    }
}

bool UpdateResourceEntry(ResourceUpdate &context, const ResourceId &type, const ResourceId &name,
                         uint16_t language, const void *data, uint32_t size)
{
    using Impl = ResourceUpdate::Impl;
    Impl &u = context.impl();
    try {
        if (data != nullptr) {
            Impl::Node &typeNode = u.directory(u.root, type);
            Impl::Node &nameNode = u.directory(typeNode, name);
            Impl::Node *leaf = Impl::findLeaf(nameNode, language);
            if (leaf == nullptr) {
                Impl::Node fresh;
                fresh.id = ResourceId(language);
                fresh.isLeaf = true;
                fresh.codePage = language;
                leaf = &Impl::insertChild(nameNode, std::move(fresh));
            }
            u.setData(*leaf, data, size);
            return true;
        }
        Impl::Node *typeNode = Impl::findDirectory(u.root, type);
        if (typeNode == nullptr)
            return true;
        Impl::Node *nameNode = Impl::findDirectory(*typeNode, name);
        if (nameNode == nullptr) {
            if (!name.isName() && name.id() == 0 && language == 0)
                u.removeChild(u.root, typeNode);
            return true;
        }
        if (Impl::Node *leaf = Impl::findLeaf(*nameNode, language)) {
            u.removeChild(*nameNode, leaf);
            if (nameNode->children.empty())
                u.removeChild(*typeNode, nameNode);
        } else if (language == 0) {
            u.removeChild(*typeNode, nameNode);
        } else {
            return true;
        }
        if (typeNode->children.empty())
            u.removeChild(u.root, typeNode);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

std::optional<std::string> GetResourceEntry(const ResourceUpdate &context, const ResourceId &type,
                                            const ResourceId &name, uint16_t language)
{
    using Impl = ResourceUpdate::Impl;
    const Impl &u = context.impl();
    const Impl::Node *typeNode = Impl::findDirectory(u.root, type);
    const Impl::Node *nameNode = typeNode ? Impl::findDirectory(*typeNode, name) : nullptr;
    const Impl::Node *leaf = nameNode ? Impl::findLeaf(*nameNode, language) : nullptr;
    if (leaf == nullptr)
        return std::nullopt;
    try {
        return u.leafData(*leaf);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

bool EndResourceUpdate(std::unique_ptr<ResourceUpdate> context, bool discard)
{
    if (!context)
        return false;
    if (discard)
        return true;
    try {
        bool ok = context->impl().write();
        ok = context->impl().file.close() && ok;
        return ok;
    } catch (const std::exception &) {
        return false;
    }
}

namespace {

struct IconImage {
    const uint8_t *entry; // the first 12 bytes of its directory entry
    const uint8_t *data;
    uint32_t size;
};

// The images of an icon file, or nothing when the file is not a
// well-formed icon file.
std::vector<IconImage> parseIconFile(const std::string &file)
{
    const auto *p = reinterpret_cast<const uint8_t *>(file.data());
    if (file.size() < 6 || readLe16(p) != 0 || readLe16(p + 2) != 1)
        return {};
    const uint16_t count = readLe16(p + 4);
    if (count == 0 || file.size() < 6 + 16ull * count)
        return {};
    std::vector<IconImage> images;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t *e = p + 6 + 16 * i;
        const uint32_t size = readLe32(e + 8);
        const uint32_t offset = readLe32(e + 12);
        if (size == 0 || offset > file.size() || size > file.size() - offset)
            return {};
        images.push_back({e, p + offset, size});
    }
    return images;
}

} // namespace

size_t IconFileImageCount(const std::string &file)
{
    return parseIconFile(file).size();
}

bool LoadIconGroupFromFile(ResourceUpdate &context, const ResourceId &groupName, uint16_t language,
                           std::string_view icoFile)
{
    using Impl = ResourceUpdate::Impl;
    try {
        const auto file = readFile(icoFile);
        if (!file)
            return false;
        const std::vector<IconImage> images = parseIconFile(*file);
        if (images.empty())
            return false;

        std::vector<uint16_t> oldIds;
        uint16_t candidate = kFirstIconId;
        if (const auto group = GetResourceEntry(context, kResTypeIconGroup, groupName, language)) {
            const auto *g = reinterpret_cast<const uint8_t *>(group->data());
            if (group->size() >= 6) {
                const std::size_t count = std::min<std::size_t>(readLe16(g + 4), (group->size() - 6) / 14);
                for (std::size_t i = 0; i < count; ++i)
                    oldIds.push_back(readLe16(g + 6 + 14 * i + 12));
            }
            if (!oldIds.empty())
                candidate = *std::min_element(oldIds.begin(), oldIds.end());
        }

        if (!UpdateResourceEntry(context, kResTypeIconGroup, groupName, language, nullptr, 0))
            return false;
        for (uint16_t id : oldIds)
            if (!UpdateResourceEntry(context, kResTypeIcon, id, language, nullptr, 0))
                return false;

        Impl &u = context.impl();
        const auto iconIdUsed = [&](uint32_t id) {
            const Impl::Node *icons = Impl::findDirectory(u.root, ResourceId(kResTypeIcon));
            return icons != nullptr &&
                   Impl::findDirectory(*icons, ResourceId(static_cast<uint16_t>(id))) != nullptr;
        };
        std::string group(6 + 14 * images.size(), '\0');
        auto *g = reinterpret_cast<uint8_t *>(group.data());
        writeLe16(g + 2, 1);
        writeLe16(g + 4, static_cast<uint16_t>(images.size()));
        std::vector<uint16_t> assigned;
        uint32_t next = candidate;
        for (std::size_t i = 0; i < images.size(); ++i) {
            uint32_t id = 0;
            // A damaged old group may name one id twice; each image gets its own.
            if (i < oldIds.size() && std::find(assigned.begin(), assigned.end(), oldIds[i]) == assigned.end()) {
                id = oldIds[i];
            } else {
                while (next <= 0xFFFF && iconIdUsed(next))
                    ++next;
                if (next > 0xFFFF)
                    return false;
                id = next;
            }
            assigned.push_back(static_cast<uint16_t>(id));
            if (!UpdateResourceEntry(context, kResTypeIcon, static_cast<uint16_t>(id), language,
                                     images[i].data, images[i].size))
                return false;
            std::memcpy(g + 6 + 14 * i, images[i].entry, 12);
            writeLe16(g + 6 + 14 * i + 12, static_cast<uint16_t>(id));
        }
        return UpdateResourceEntry(context, kResTypeIconGroup, groupName, language, group.data(),
                                   static_cast<uint32_t>(group.size()));
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace wharf
