#include "codec.h"

#include <array>
#include <cstdint>
#include <optional>

namespace wharf {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page equals
// Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Reads one code point at pos and advances pos; nullopt on malformed input.
std::optional<char32_t> nextCodePoint(std::string_view s, size_t &pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + extra >= s.size())
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += extra + 1;
    return cp;
}

std::optional<unsigned char> byteFor(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

char32_t foldCase(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z')
        return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
        return cp + 32;
    switch (cp) {
    case 0x0160: return 0x0161;
    case 0x0152: return 0x0153;
    case 0x017D: return 0x017E;
    case 0x0178: return 0x00FF;
    default: return cp;
    }
}

} // namespace

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string toWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp)
            throw ECodecError("The text is not valid UTF-8 at byte " + std::to_string(start));
        const auto b = byteFor(*cp);
        if (!b) {
            throw ECodecError("The character \"" + std::string(utf8.substr(start, pos - start)) +
                              "\" cannot be stored in Windows-1252 text");
        }
        out += static_cast<char>(*b);
    }
    return out;
}

std::string fromUtf16Le(std::string_view bytes)
{
    std::string out;
    const auto unit = [&bytes](size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::string toUtf16Le(std::string_view utf8)
{
    std::string out;
    const auto put = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    size_t pos = 0;
    while (pos < utf8.size()) {
        auto cp = nextCodePoint(utf8, pos);
        if (!cp) {
            cp = 0xFFFD;
            ++pos;
        }
        if (*cp >= 0x10000) {
            put(0xD800 + ((*cp - 0x10000) >> 10));
            put(0xDC00 + ((*cp - 0x10000) & 0x3FF));
        } else {
            put(*cp);
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes)
{
    size_t pos = 0;
    while (pos < bytes.size())
        if (!nextCodePoint(bytes, pos))
            return false;
    return true;
}

bool fitsWindows1252(std::string_view utf8)
{
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp || !byteFor(*cp))
            return false;
    }
    return true;
}

bool sameTextIgnoreCase(std::string_view a, std::string_view b)
{
    size_t pa = 0;
    size_t pb = 0;
    while (pa < a.size() && pb < b.size()) {
        const size_t sa = pa;
        const size_t sb = pb;
        auto ca = nextCodePoint(a, pa);
        auto cb = nextCodePoint(b, pb);
        // Malformed bytes compare as themselves.
        if (!ca) {
            ca = static_cast<unsigned char>(a[sa]) | 0x80000000u;
            pa = sa + 1;
        }
        if (!cb) {
            cb = static_cast<unsigned char>(b[sb]) | 0x80000000u;
            pb = sb + 1;
        }
        if (foldCase(*ca) != foldCase(*cb))
            return false;
    }
    return pa == a.size() && pb == b.size();
}

std::string foldedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        const auto cp = nextCodePoint(text, pos);
        if (!cp) {
            out += text[start];
            pos = start + 1;
        } else if (*cp < 0x80) {
            out += static_cast<char>(foldCase(*cp));
        } else {
            appendUtf8(out, foldCase(*cp));
        }
    }
    return out;
}

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

} // namespace wharf
