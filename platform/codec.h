#pragma once
// The system's 8-bit files (project files, dialog files, "data.csf", archive
// names) hold Windows-1252 text; inside the programs all text is UTF-8. This
// is the one place where the two meet.

#include <stdexcept>
#include <string>
#include <string_view>

namespace wharf {

// Raised when UTF-8 text holds a character that Windows-1252 cannot store,
// or is not valid UTF-8.
class ECodecError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes Windows-1252 bytes to UTF-8. Never fails: the five bytes that the
// code page leaves undefined map to the C1 controls of the same value, as
// Windows does, so decoding and encoding again gives the same bytes.
std::string fromWindows1252(std::string_view bytes);

// Encodes UTF-8 text as Windows-1252 bytes. Throws ECodecError naming the
// first character that has no Windows-1252 byte.
std::string toWindows1252(std::string_view utf8);

// UTF-16 little-endian bytes (no byte order mark) to UTF-8 and back;
// unpaired surrogates become U+FFFD, an odd last byte is dropped.
std::string fromUtf16Le(std::string_view bytes);
std::string toUtf16Le(std::string_view utf8);

// Appends one code point to UTF-8 text.
void appendUtf8(std::string &out, char32_t cp);

// True when bytes are well-formed UTF-8: no overlong forms, surrogates or
// code points beyond U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// True when toWindows1252 would succeed.
bool fitsWindows1252(std::string_view utf8);

// Case-insensitive equality of UTF-8 texts for the letters of Windows-1252
// (ASCII and the Latin-1 and Windows-1252 accented letters).
bool sameTextIgnoreCase(std::string_view a, std::string_view b);

// The text with every Windows-1252 letter in lower case: equal for texts
// that sameTextIgnoreCase takes as equal, so it serves as a look-up key.
std::string foldedText(std::string_view text);

// ASCII-only lower and upper case of UTF-8 text; other bytes are unchanged.
std::string asciiLower(std::string_view text);
std::string asciiUpper(std::string_view text);

} // namespace wharf
