#include "settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace wharf {
namespace {

const QString kStringTag = QStringLiteral("sz:");
const QString kIntegerTag = QStringLiteral("dword:");

QStringList splitKeyPath(const QString &key)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return key.split(separators, Qt::SkipEmptyParts);
}

bool startsWithSeparator(const QString &key)
{
    return !key.isEmpty() && (key.front() == u'\\' || key.front() == u'/');
}

// QSettings takes "/" and "\" in a key name as group separators, so value
// names carry them (and the escape character itself) percent-encoded.
QString encodeName(const QString &name)
{
    QString out;
    for (QChar c : name) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'/')
            out += QStringLiteral("%2F");
        else if (c == u'\\')
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

QString decodeName(const QString &stored)
{
    QString out;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored.at(i) == u'%' && i + 2 < stored.size()) {
            const QString code = stored.mid(i + 1, 2).toUpper();
            if (code == u"25" || code == u"2F" || code == u"5C") {
                out += QChar(code.toUShort(nullptr, 16));
                i += 2;
                continue;
            }
        }
        out += stored.at(i);
    }
    return out;
}

// The existing entry of names that matches name without regard to case, or
// name itself.
QString matchingName(const QStringList &names, const QString &name)
{
    for (const QString &n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return name;
}

} // namespace

Settings::Settings(QString configFolder) : m_configFolder(std::move(configFolder))
{
    if (m_configFolder.isEmpty())
        m_configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

Settings::~Settings() { closeKey(); }

std::optional<Settings::Location> Settings::locate(const QString &key) const
{
    QStringList parts = splitKeyPath(key);
    if (!startsWithSeparator(key) && m_file)
        parts = m_current.parts + parts;
    if (parts.size() < 3 || parts.at(0).compare(u"Software", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    Location location;
    location.parts = parts;
    location.file = QDir(m_configFolder).filePath(parts.at(1) + u'/' + parts.at(2) + QStringLiteral(".ini"));
    location.group = parts.mid(3);
    return location;
}

namespace {

// Resolves each subkey part to the spelling the file already uses and
// returns the group path; groupExists tells whether every part was found.
QString resolveGroup(QSettings &file, const QStringList &group, bool *groupExists)
{
    QStringList resolved;
    bool exists = true;
    for (const QString &part : group) {
        file.beginGroup(resolved.join(u'/'));
        const QStringList children = file.childGroups();
        file.endGroup();
        const QString name = matchingName(children, part);
        exists = exists && children.contains(name);
        resolved << name;
    }
    if (groupExists)
        *groupExists = exists;
    return resolved.join(u'/');
}

} // namespace

bool Settings::openKey(const QString &key, bool canCreate)
{
    const auto location = locate(key);
    if (!location)
        return false;
    // Another QSettings object reads the file below: let it see what the
    // open key changed.
    if (m_file)
        m_file->sync();
    const bool fileExists = QFileInfo::exists(location->file);
    if (!fileExists && !canCreate)
        return false;
    if (!fileExists) {
        if (!QDir().mkpath(QFileInfo(location->file).absolutePath()))
            return false;
        QFile created(location->file);
        if (!created.open(QIODevice::WriteOnly))
            return false;
    }
    auto file = std::make_unique<QSettings>(location->file, QSettings::IniFormat);
    bool groupExists = true;
    const QString group = resolveGroup(*file, location->group, &groupExists);
    if (!groupExists && !canCreate)
        return false;
    closeKey();
    m_file = std::move(file);
    m_current = *location;
    if (!group.isEmpty())
        m_file->beginGroup(group);
    return true;
}

bool Settings::closeKey()
{
    if (!m_file)
        return true;
    m_file->sync();
    const bool written = m_file->status() == QSettings::NoError;
    m_file.reset();
    m_current = {};
    return written;
}

QString Settings::currentPath() const { return m_file ? m_current.parts.join(u'\\') : QString(); }

bool Settings::keyExists(const QString &key) const
{
    const auto location = locate(key);
    if (!location || !QFileInfo::exists(location->file))
        return false;
    if (m_file)
        m_file->sync();
    QSettings file(location->file, QSettings::IniFormat);
    bool exists = false;
    resolveGroup(file, location->group, &exists);
    return exists;
}

bool Settings::deleteKey(const QString &key)
{
    const auto location = locate(key);
    if (!location || !keyExists(key))
        return false;
    if (location->group.isEmpty()) {
        if (m_file && m_current.file == location->file)
            closeKey();
        return QFile::remove(location->file);
    }
    QSettings scratch(location->file, QSettings::IniFormat);
    QSettings &file = (m_file && m_current.file == location->file) ? *m_file : scratch;
    const QString openGroup = file.group();
    while (!file.group().isEmpty())
        file.endGroup();
    file.remove(resolveGroup(file, location->group, nullptr));
    if (!openGroup.isEmpty())
        file.beginGroup(openGroup);
    file.sync();
    return true;
}

void Settings::requireKey() const
{
    if (!m_file)
        throw ERegistryException("No settings key is open");
}

QString Settings::storedName(const QString &name) const
{
    return matchingName(m_file->childKeys(), encodeName(name));
}

bool Settings::valueExists(const QString &name) const
{
    return m_file && m_file->contains(storedName(name));
}

bool Settings::deleteValue(const QString &name)
{
    if (!valueExists(name))
        return false;
    m_file->remove(storedName(name));
    return true;
}

QStringList Settings::getValueNames() const
{
    QStringList names;
    if (m_file)
        for (const QString &stored : m_file->childKeys())
            names << decodeName(stored);
    return names;
}

QStringList Settings::getKeyNames() const { return m_file ? m_file->childGroups() : QStringList(); }

QString Settings::readString(const QString &name) const
{
    if (!valueExists(name))
        return {};
    const QString stored = m_file->value(storedName(name)).toString();
    if (!stored.startsWith(kStringTag))
        throw ERegistryException("Invalid data type for '" + name.toStdString() + "'");
    return stored.mid(kStringTag.size());
}

int Settings::readInteger(const QString &name) const
{
    if (!valueExists(name))
        throw ERegistryException("Failed to get data for '" + name.toStdString() + "'");
    const QString stored = m_file->value(storedName(name)).toString();
    bool ok = false;
    const int value = stored.startsWith(kIntegerTag) ? stored.mid(kIntegerTag.size()).toInt(&ok) : 0;
    if (!ok)
        throw ERegistryException("Invalid data type for '" + name.toStdString() + "'");
    return value;
}

bool Settings::readBool(const QString &name) const { return readInteger(name) != 0; }

void Settings::writeString(const QString &name, const QString &value)
{
    requireKey();
    m_file->setValue(storedName(name), kStringTag + value);
}

void Settings::writeInteger(const QString &name, int value)
{
    requireKey();
    m_file->setValue(storedName(name), kIntegerTag + QString::number(value));
}

void Settings::writeBool(const QString &name, bool value) { writeInteger(name, value ? 1 : 0); }

} // namespace wharf
