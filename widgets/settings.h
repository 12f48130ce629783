#pragma once
// The programs' settings, kept where the system keeps them on Windows: keys
// and values under HKEY_CURRENT_USER, addressed by registry key paths such
// as "Software\Kelvra\Brindlewharf 2.0\Dialog Designer". Here they live in
// INI files read and written through QSettings: the key
// "Software\<Maker>\<Product>" is the file "<config>/<Maker>/<Product>.ini"
// (<config> is the user's configuration folder, $XDG_CONFIG_HOME or
// ~/.config), its values are the file's top level and its subkeys are the
// file's groups ("MRU", "Tools", "Dialog Designer").
//
// Values keep their type: a string value stays a string and an integer
// stays an integer (booleans are integers 0 and 1), and reading a value as
// the wrong type fails as it does in the registry. Key and value names are
// matched without regard to case; names may hold "/" and "\" inside a
// value name.
//
// Settings works like an opened registry key: openKey, then read and write
// values of the current key, closeKey.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

namespace wharf {

// Raised by a read of a missing value or of a value of another type, and by
// writes without an open key.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Settings {
public:
    // configFolder: where the settings files live; empty for the user's
    // configuration folder.
    explicit Settings(QString configFolder = {});
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // Opens key (a path with "\" or "/" between its parts; a leading
    // separator is allowed). A path that does not start with a separator is
    // relative to the key open now, if any. canCreate: create the key when
    // it is missing. False when the key is missing (and not created) or is
    // not of the form "Software\<Maker>\<Product>[\<subkey>...]". A created
    // subkey is kept in the file once it holds a value.
    bool openKey(const QString &key, bool canCreate);
    bool openKeyReadOnly(const QString &key) { return openKey(key, false); }
    // Writes what was changed and forgets the current key. False when the
    // file could not be written.
    bool closeKey();
    bool hasCurrentKey() const { return m_file != nullptr; }
    // The open key's full path ("Software\Kelvra\Brindlewharf 2.0\MRU").
    QString currentPath() const;

    // True when the key exists (absolute, or relative to the open key).
    bool keyExists(const QString &key) const;
    // Removes the key with its values and subkeys. False when it was missing.
    bool deleteKey(const QString &key);

    bool valueExists(const QString &name) const;
    bool deleteValue(const QString &name);
    // Value names of the open key, in the order the store lists them
    // (sorted by name).
    QStringList getValueNames() const;
    // Subkey names of the open key.
    QStringList getKeyNames() const;

    // Each throws ERegistryException when the value is missing or of
    // another type.
    QString readString(const QString &name) const;
    int readInteger(const QString &name) const;
    bool readBool(const QString &name) const; // an integer; non-zero is true

    // Each throws ERegistryException without an open key.
    void writeString(const QString &name, const QString &value);
    void writeInteger(const QString &name, int value);
    void writeBool(const QString &name, bool value);

    // The folder the settings files are in.
    const QString &configFolder() const { return m_configFolder; }

private:
    struct Location {
        QString file;        // full path of the INI file
        QStringList parts;   // the registry path, as given
        QStringList group;   // subkey parts within the file
    };
    std::optional<Location> locate(const QString &key) const;
    QString storedName(const QString &name) const; // existing spelling or encoded name
    void requireKey() const;

    QString m_configFolder;
    std::unique_ptr<QSettings> m_file;
    Location m_current;
};

} // namespace wharf
