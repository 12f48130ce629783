#pragma once
// Reads the version resource of one Windows executable or library file and
// answers its file description and file version text. Stands in for the
// operating system's version functions; no Qt.

#include <string>
#include <string_view>

namespace wharf {

class TVersionInfo {
public:
    // Reads the file's version resource; a missing, unreadable or malformed
    // file gives an invalid reader whose answers are empty.
    explicit TVersionInfo(std::string_view fileName);

    bool Valid() const { return m_valid; }

    // The string value "FileDescription" of the first translation (UTF-8),
    // or empty.
    std::string FileDescriptionValue() const;

    // The string value "FileVersion" of the first translation (UTF-8); when
    // that is empty, the fixed file version as "%d.%d.%d.%d"; else empty.
    std::string FileVersionValue() const;

private:
    std::string Value(std::string_view name) const;
    std::string TranslationText() const;

    std::string m_fileName;
    bool m_valid = false;
    std::string m_data; // the raw version resource
};

} // namespace wharf
