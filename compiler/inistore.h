#pragma once
// The INI store every INI text of the system goes through: typed readers and
// writers over two string operations, an in-memory store that keeps the
// file's lines exactly, and a store that goes to the file on every call.
//
// Values read lose one pair of enclosing double quotes (unless the store
// keeps quotes, as the dialog designer's does), integers may be written as
// "0x" hexadecimal, booleans are the integers 1 and 0, and section and key
// names are compared without regard to case. Files are Windows-1252 text;
// everything in memory is UTF-8.

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wharf {

using TStringList = std::vector<std::string>;

// Raised when a file can't be created or written.
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised when a profile write fails ("Unable to write to %s").
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Abstract store: the typed operations are built on ReadString and
// WriteString. Dates and times are day counts from 1899-12-30.
class TCustomIniStore {
public:
    explicit TCustomIniStore(std::string fileName) : m_fileName(std::move(fileName)) {}
    virtual ~TCustomIniStore() = default;
    TCustomIniStore(const TCustomIniStore &) = delete;
    TCustomIniStore &operator=(const TCustomIniStore &) = delete;

    const std::string &FileName() const { return m_fileName; }

    virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const = 0;
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;

    // Decimal with optional sign, "$" hexadecimal, or "0x"/"0X" hexadecimal
    // when the text is longer than two characters; anything else gives def.
    virtual int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    virtual void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    virtual bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    virtual void WriteBool(std::string_view section, std::string_view key, bool value);

    virtual double ReadDate(std::string_view section, std::string_view key, double def) const;
    virtual double ReadDateTime(std::string_view section, std::string_view key, double def) const;
    virtual double ReadFloat(std::string_view section, std::string_view key, double def) const;
    virtual double ReadTime(std::string_view section, std::string_view key, double def) const;
    virtual void WriteDate(std::string_view section, std::string_view key, double value);
    virtual void WriteDateTime(std::string_view section, std::string_view key, double value);
    virtual void WriteFloat(std::string_view section, std::string_view key, double value);
    virtual void WriteTime(std::string_view section, std::string_view key, double value);

    virtual void ReadSection(std::string_view section, TStringList &list) const = 0;
    virtual void ReadSections(TStringList &list) const = 0;
    virtual void ReadSectionValues(std::string_view section, TStringList &list) const = 0;
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteKey(std::string_view section, std::string_view key) = 0;
    virtual void UpdateFile() = 0;

private:
    std::string m_fileName;
};

// The parsing rule of ReadInteger, for callers that hold a value already.
bool parseIniInteger(std::string_view text, int32_t &value);

// A whole INI file in memory: sections in file order (duplicates kept, the
// first one found by look-ups), each with its raw lines as they stand.
class TMemIniStore : public TCustomIniStore {
public:
    // Loads the file when the name is not empty and the file exists.
    // keepQuotes: values are returned with their enclosing quotes.
    explicit TMemIniStore(std::string fileName, bool keepQuotes = false);

    // Replaces the contents with the INI text in bytes (Windows-1252).
    void LoadFromBytes(std::string_view bytes);
    // The whole store as Windows-1252 text with CR LF line ends. Throws
    // EFCreateError when a character has no Windows-1252 form.
    std::string SaveToBytes() const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void ReadSection(std::string_view section, TStringList &list) const override;
    void ReadSections(TStringList &list) const override;
    void ReadSectionValues(std::string_view section, TStringList &list) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    // Writes the store to its file, replacing it; throws EFCreateError when
    // the file can't be written (the store and the old file stay as they were).
    void UpdateFile() override;

    // True when a section of that name exists.
    bool SectionExists(std::string_view section) const;

    // Adds key=value as the last line of a section that this function made,
    // without looking for an earlier line of that key: for a writer that fills
    // sections it has just erased with keys it knows to be distinct, so that a
    // huge section costs no key index while it is written (the index is built
    // at the first look-up). On any other section (one read from a file, or
    // written another way) it is WriteString.
    void AppendNewKey(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
        // folded key -> index of its first line; kept up to date as lines
        // are added, rebuilt after a line is deleted.
        mutable std::unordered_map<std::string, size_t> keyIndex;
        mutable bool indexValid = false;
        // Every line came from AppendNewKey since the section was made.
        bool appendOnly = false;
    };

    const Section *findSection(std::string_view name) const;
    Section *findSection(std::string_view name);
    // Index of the first line of the section with that key, or -1.
    long findLine(const Section &section, std::string_view key) const;
    void invalidateSections() { m_sectionIndexValid = false; }

    std::vector<Section> m_sections;
    mutable std::unordered_map<std::string, size_t> m_sectionIndex;
    mutable bool m_sectionIndexValid = false;
    bool m_keepQuotes;
};

// A store that reads and writes the file key by key, as the operating
// system's profile functions do.
class TProfileIniFile : public TCustomIniStore {
public:
    using TCustomIniStore::TCustomIniStore;

    // Values are cut to 2047 characters.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
    // Throws EIniFileException "Unable to write to <file>" on failure.
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void ReadSection(std::string_view section, TStringList &list) const override;
    void ReadSections(TStringList &list) const override;
    // Sets key=value lines into list without clearing it first; empty
    // values are not added and remove an existing line of that key.
    void ReadSectionValues(std::string_view section, TStringList &list) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    // Every write reaches the file at once, so there is nothing to flush.
    void UpdateFile() override {}
};

} // namespace wharf
