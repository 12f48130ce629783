#include "dialogdocument.h"

#include "codec.h"
#include "files.h"
#include "keylist.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wharf {
namespace {

bool anythingAt(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::u8path(path), ec);
}

} // namespace

std::string loadResultMessage(TLoadResult result, std::string_view path)
{
    switch (result) {
    case TLoadResult::Missing:
    case TLoadResult::NotAFile: {
        std::string text(result == TLoadResult::Missing ? kMsgDialogMissing : kMsgDialogNotAFile);
        text.replace(text.find("%s"), 2, path);
        return text;
    }
    case TLoadResult::NoPassword:
        return std::string(kMsgNoPassword);
    case TLoadResult::StandardEdition:
        return std::string(kMsgStandardDialog);
    case TLoadResult::Loaded:
        break;
    }
    return {};
}

bool isControlName(std::string_view name)
{
    const auto allowed = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    };
    return !name.empty() && std::all_of(name.begin(), name.end(), allowed);
}

TDialogDocument::TDialogDocument()
{
    NewDialog();
}

void TDialogDocument::NewDialog()
{
    m_controls.clear();
    m_nameUses.clear();
    m_nameCounters.fill(0);
    m_page = TDialogPage{};
    m_fileName = std::string(kNoFileName);
    m_modified = false;
}

TLoadResult TDialogDocument::LoadDialogFile(const std::string &path)
{
    m_unfinishedSave.clear();
    if (!fileExists(path))
        return anythingAt(path) ? TLoadResult::NotAFile : TLoadResult::Missing;
    const auto bytes = readFile(path);
    if (!bytes)
        throw EDialogFileError("Could not read the dialog file " + path + ".");
    TDecodedDialog decoded = decodeDialogFile(*bytes);
    NewDialog();
    m_unfinishedSave = unfinishedSaveNotice(path).value_or(std::string());
    if (decoded.passwordIndex < 0)
        return TLoadResult::NoPassword;
    m_fileName = path;
    m_page = std::move(decoded.contents.page);
    for (TStringList &keys : decoded.contents.controls)
        addControl(std::move(keys), TNameOrigin::File);
    m_modified = false;
    return decoded.passwordIndex == kPasswordStandard ? TLoadResult::StandardEdition : TLoadResult::Loaded;
}

void TDialogDocument::SaveDialogFile(const std::string &path, TSaveMode mode)
{
    const std::string bytes = encodeDialogFile(contents());
    if (const ReplaceResult saved = replaceFile(path, bytes); !saved)
        throw EDialogFileError("Could not save the dialog file " + path + ": " + saved.reason + ".");
    if (mode == TSaveMode::Document) {
        m_fileName = path;
        m_modified = false;
    }
}

std::string TDialogDocument::caption() const
{
    return std::string(kProgramTitle) + " - " + m_page.title;
}

TDialogContents TDialogDocument::contents() const
{
    TDialogContents contents;
    contents.page = m_page;
    contents.controls.reserve(m_controls.size());
    for (const TDialogControl &control : m_controls)
        contents.controls.push_back(control.keys);
    return contents;
}

long TDialogDocument::indexOfId(uint64_t id) const
{
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].id == id)
            return static_cast<long>(i);
    return -1;
}

long TDialogDocument::indexOfName(std::string_view name) const
{
    if (!nameInUse(name))
        return -1;
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (sameTextIgnoreCase(controlName(i), name))
            return static_cast<long>(i);
    return -1;
}

bool TDialogDocument::nameInUse(std::string_view name) const
{
    return m_nameUses.count(foldedText(name)) > 0;
}

void TDialogDocument::countName(const TStringList &keys)
{
    ++m_nameUses[foldedText(keyListValue(keys, "Name").value_or(""))];
}

void TDialogDocument::uncountName(const TStringList &keys)
{
    const auto it = m_nameUses.find(foldedText(keyListValue(keys, "Name").value_or("")));
    if (it != m_nameUses.end() && --it->second == 0)
        m_nameUses.erase(it);
}

std::string TDialogDocument::controlName(size_t index) const
{
    return keyListValue(m_controls.at(index).keys, "Name").value_or("");
}

int TDialogDocument::controlType(size_t index) const
{
    return effectiveControlType(keyListInteger(m_controls.at(index).keys, "Type", ctEdit));
}

size_t TDialogDocument::addControl(TStringList keys, TNameOrigin origin)
{
    keys = withKeyListHeader(std::move(keys));
    const int type = effectiveControlType(keyListInteger(keys, "Type", ctEdit));
    const std::optional<std::string> given = keyListValue(keys, "Name");
    std::string name = given.value_or("");
    const bool acceptable = origin == TNameOrigin::File ? !name.empty() : isControlName(name);
    if (!acceptable || nameInUse(name))
        name = generatedName(type);
    else
        ++m_nameCounters[static_cast<size_t>(type)];
    // A name the list already holds as it is stays byte for byte.
    if (!given || *given != name)
        setKeyListValue(keys, "Name", name);
    countName(keys);
    m_controls.push_back(TDialogControl{m_nextId++, std::move(keys)});
    return m_controls.size() - 1;
}

std::string TDialogDocument::generatedName(int type)
{
    uint32_t &counter = m_nameCounters[static_cast<size_t>(effectiveControlType(type))];
    // A generated name may meet one the author or a file gave; the counter
    // moves on until the name is free.
    const std::string word(controlTypeInfo(type).typeWord);
    std::string name = word + std::to_string(++counter);
    for (size_t tries = 0; nameInUse(name) && tries <= m_controls.size(); ++tries)
        name = word + std::to_string(++counter);
    return name;
}

void TDialogDocument::setControlKeys(size_t index, TStringList keys)
{
    TStringList &held = m_controls.at(index).keys;
    uncountName(held);
    held = withKeyListHeader(std::move(keys));
    countName(held);
}

void TDialogDocument::removeControl(size_t index)
{
    uncountName(m_controls.at(index).keys);
    m_controls.erase(m_controls.begin() + static_cast<long>(index));
}

size_t TDialogDocument::bringToFront(size_t index)
{
    TDialogControl moved = std::move(m_controls.at(index));
    m_controls.erase(m_controls.begin() + static_cast<long>(index));
    m_controls.push_back(std::move(moved));
    return m_controls.size() - 1;
}

} // namespace wharf
