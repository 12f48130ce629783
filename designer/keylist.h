#pragma once
// A placed control's key list: the lines of its section in a dialog file,
// kept exactly as read (unknown keys and their order included), with the
// line "[Controls]" in front so that it reads as a small INI text of its own.

#include "inistore.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wharf {

// The first line of every key list and the section it opens.
inline constexpr std::string_view kKeyListHeader = "[Controls]";
inline constexpr std::string_view kKeyListSection = "Controls";

// The list with "[Controls]" as its first line: returned as it is when it
// already starts so, otherwise with the header put in front.
TStringList withKeyListHeader(TStringList lines);

// The INI store over a key list, read by the rules of the in-memory store:
// empty lines and lines beginning with ";" are skipped, a line "[name]"
// starts a section, names are compared without regard to case, the first
// occurrence of a key counts and values keep their quotes. Writes replace
// the first line of the key in place and append a missing key at the end of
// its section (at the end of the list for a section that is not there yet).
// The store works on the caller's list, which must outlive it and change
// only through the store while the store lives. Look-ups go through an index
// built on the first one, so reading or writing every key of a list costs
// time linear in its length.
class TKeyListStore : public TCustomIniStore {
public:
    explicit TKeyListStore(TStringList &lines);
    ~TKeyListStore() override;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void ReadSection(std::string_view section, TStringList &list) const override;
    void ReadSections(TStringList &list) const override;
    void ReadSectionValues(std::string_view section, TStringList &list) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    void UpdateFile() override {}

private:
    struct Index;
    // The index, built when missing.
    Index &index() const;
    // Index of the first line of key in the first section of that name, or -1.
    long findLine(std::string_view section, std::string_view key) const;

    TStringList &m_lines;
    mutable std::unique_ptr<Index> m_index;
    mutable size_t m_lastFound = 0; // the line of the last key found
};

// Value of key in the "Controls" section of a key list; nullopt when missing.
std::optional<std::string> keyListValue(const TStringList &keys, std::string_view key);

// Integer value of key (decimal, "$" or "0x" hexadecimal); def when the key
// is missing or its value is no integer.
int32_t keyListInteger(const TStringList &keys, std::string_view key, int32_t def);

// Sets key to value in the "Controls" section: the first line of the key is
// replaced in place, a missing key is added at the end of the section.
void setKeyListValue(TStringList &keys, std::string_view key, std::string_view value);

} // namespace wharf
