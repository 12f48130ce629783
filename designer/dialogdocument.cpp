#include "dialogdocument.h"

#include "codec.h"
#include "files.h"
#include "keylist.h"

#include <cerrno>
#include <cstring>
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
    return !name.empty() && name.find_first_of("\r\n") == std::string_view::npos;
}

TDialogDocument::TDialogDocument()
{
    NewDialog();
}

void TDialogDocument::NewDialog()
{
    m_controls.clear();
    m_nameCounters.fill(0);
    m_page = TDialogPage{};
    m_fileName = std::string(kNoFileName);
    m_modified = false;
}

TLoadResult TDialogDocument::LoadDialogFile(const std::string &path)
{
    if (!fileExists(path))
        return anythingAt(path) ? TLoadResult::NotAFile : TLoadResult::Missing;
    const auto bytes = readFile(path);
    if (!bytes)
        throw EDialogFileError("Could not read the dialog file " + path + ".");
    TDecodedDialog decoded = decodeDialogFile(*bytes);
    NewDialog();
    if (decoded.passwordIndex < 0)
        return TLoadResult::NoPassword;
    m_fileName = path;
    m_page = std::move(decoded.contents.page);
    for (TStringList &keys : decoded.contents.controls)
        addControl(std::move(keys));
    m_modified = false;
    return decoded.passwordIndex == kPasswordStandard ? TLoadResult::StandardEdition : TLoadResult::Loaded;
}

void TDialogDocument::SaveDialogFile(const std::string &path, TSaveMode mode)
{
    const std::string bytes = encodeDialogFile(contents());
    errno = 0;
    if (!replaceFile(path, bytes)) {
        const int error = errno;
        throw EDialogFileError("Could not save the dialog file " + path + ": " +
                               (error != 0 ? std::strerror(error) : "unknown reason") + ".");
    }
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
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (sameTextIgnoreCase(controlName(i), name))
            return static_cast<long>(i);
    return -1;
}

std::string TDialogDocument::controlName(size_t index) const
{
    return keyListValue(m_controls.at(index).keys, "Name").value_or("");
}

int TDialogDocument::controlType(size_t index) const
{
    return effectiveControlType(keyListInteger(m_controls.at(index).keys, "Type", ctEdit));
}

size_t TDialogDocument::addControl(TStringList keys)
{
    keys = withKeyListHeader(std::move(keys));
    const int type = effectiveControlType(keyListInteger(keys, "Type", ctEdit));
    const std::optional<std::string> given = keyListValue(keys, "Name");
    std::string name = given.value_or("");
    if (!isControlName(name) || indexOfName(name) >= 0)
        name = generatedName(type);
    else
        ++m_nameCounters[static_cast<size_t>(type)];
    // A name the list already holds as it is stays byte for byte.
    if (!given || *given != name)
        setKeyListValue(keys, "Name", name);
    m_controls.push_back(TDialogControl{m_nextId++, std::move(keys)});
    return m_controls.size() - 1;
}

std::string TDialogDocument::generatedName(int type)
{
    uint16_t &counter = m_nameCounters[static_cast<size_t>(effectiveControlType(type))];
    // A generated name may meet one the author or a file gave; the counter
    // moves on until the name is free.
    const std::string word(controlTypeInfo(type).typeWord);
    std::string name = word + std::to_string(++counter);
    for (size_t tries = 0; indexOfName(name) >= 0 && tries <= m_controls.size(); ++tries)
        name = word + std::to_string(++counter);
    return name;
}

void TDialogDocument::setControlKeys(size_t index, TStringList keys)
{
    m_controls.at(index).keys = withKeyListHeader(std::move(keys));
}

void TDialogDocument::removeControl(size_t index)
{
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
