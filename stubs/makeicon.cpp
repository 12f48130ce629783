// Writes an icon file of 32-bit images so that the placeholder programs and
// the tests have icons of their own:
//   wharf_makeicon OUT.ico SIZE[:SEED] ...
// Each image is a square of SIZE pixels (1 to 256) filled with a pattern
// that depends on SEED, so two files with the same sizes still differ.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

void put16(std::string &out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string &out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A device-independent bitmap as icon resources hold it: header, colour
// pixels bottom-up, then the transparency mask (all opaque).
std::string makeImage(uint32_t size, uint32_t seed)
{
    std::string dib;
    put32(dib, 40);
    put32(dib, size);
    put32(dib, size * 2);
    put16(dib, 1);
    put16(dib, 32);
    put32(dib, 0);
    const uint32_t maskRow = ((size + 31) / 32) * 4;
    put32(dib, size * size * 4 + maskRow * size);
    for (int i = 0; i < 4; ++i)
        put32(dib, 0);
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const int64_t dx = 2 * int64_t{x} + 1 - size;
            const int64_t dy = 2 * int64_t{y} + 1 - size;
            const bool ring = dx * dx + dy * dy < int64_t{size} * size;
            dib += static_cast<char>((x * 255 / size + seed * 37) & 0xFF);
            dib += static_cast<char>((y * 255 / size + seed * 91) & 0xFF);
            dib += static_cast<char>(ring ? 0xE0 - seed * 13 : 0x30 + seed * 7);
            dib += static_cast<char>(0xFF);
        }
    }
    dib.append(static_cast<std::size_t>(maskRow) * size, '\0');
    return dib;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.ico SIZE[:SEED] ...\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<uint32_t, std::string>> images;
    for (int i = 2; i < argc; ++i) {
        char *rest = nullptr;
        const unsigned long size = std::strtoul(argv[i], &rest, 10);
        const unsigned long seed = (*rest == ':') ? std::strtoul(rest + 1, nullptr, 10) : 0;
        if (size < 1 || size > 256) {
            std::fprintf(stderr, "bad size %s\n", argv[i]);
            return 2;
        }
        images.emplace_back(static_cast<uint32_t>(size), makeImage(static_cast<uint32_t>(size),
                                                                    static_cast<uint32_t>(seed)));
    }
    std::string file;
    put16(file, 0);
    put16(file, 1);
    put16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const auto &[size, dib] : images) {
        file += static_cast<char>(size == 256 ? 0 : size);
        file += static_cast<char>(size == 256 ? 0 : size);
        file += '\0';
        file += '\0';
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<uint32_t>(dib.size()));
        put32(file, offset);
        offset += static_cast<uint32_t>(dib.size());
    }
    for (const auto &image : images)
        file += image.second;
    std::ofstream out(argv[1], std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
