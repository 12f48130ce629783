#include "dialogfile.h"

#include "codec.h"
#include "encdec.h"
#include "keylist.h"

#include <algorithm>
#include <sstream>

namespace wharf {
namespace {

constexpr std::string_view kDialogSection = "Dialog";
constexpr std::string_view kControlPrefix = "Control";

constexpr std::array<TControlTypeInfo, kControlTypeCount> kControlTypes = {{
    {"Edit", "Edit", "Edit"},
    {"Button", "Button", "Button"},
    {"Label", "Label", "Label"},
    {"CheckBox", "Checkbox", "CheckBox"},
    {"ComboBox", "Combobox", "ComboBox"},
    {"RadioGroup", "Radiogroup", "RadioGroup"},
    {"RichEdit", "RichEdit", "RichEdit"},
    {"ListBox", "Listbox", "ListBox"},
    {"ChkListBox", "ChkListBox", "CheckListBox"},
    {"ProgressBar", "ProgressBar", "ProgressBar"},
    {"Image", "Image", "Image"},
}};

void appendLine(std::string &text, std::string_view line)
{
    for (const char c : line)
        text += (c == '\r' || c == '\n') ? ' ' : c;
    text += "\r\n";
}

} // namespace

const std::vector<std::string> &dialogPasswords()
{
    static const std::vector<std::string> passwords = {
        fromWindows1252("\x7E\x05\xC3\x91\x2A\xD4"),
        fromWindows1252("\xB1\x68\x0F\x3D\xE7\x52\x9C"),
    };
    return passwords;
}

const TControlTypeInfo &controlTypeInfo(int32_t type)
{
    return kControlTypes[static_cast<size_t>(effectiveControlType(type))];
}

int effectiveControlType(int32_t type)
{
    return type >= 0 && type < kControlTypeCount ? type : ctEdit;
}

TStringList ReadScriptLines(const TCustomIniStore &ini, std::string_view section, std::string_view name,
                            size_t maxLines)
{
    const std::string stem(name);
    const int32_t count = ini.ReadInteger(section, stem + "Count", 0);
    TStringList lines;
    if (count <= 0)
        return lines;
    const size_t n = std::min(static_cast<size_t>(count), maxLines);
    lines.reserve(n);
    const std::string lineStem = stem + "Line";
    for (size_t i = 0; i < n; ++i)
        lines.push_back(ini.ReadString(section, lineStem + std::to_string(i), ""));
    return lines;
}

void WriteScriptLines(TCustomIniStore &ini, std::string_view section, const TStringList &list,
                      std::string_view name)
{
    const std::string stem(name);
    ini.WriteInteger(section, stem + "Count", static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        ini.WriteString(section, stem + "Line" + std::to_string(i), list[i]);
}

TFontSpec ReadFont(const TCustomIniStore &ini, std::string_view section, std::string_view name)
{
    const std::string stem(name);
    const TFontSpec def;
    TFontSpec font;
    font.name = ini.ReadString(section, stem + "Name", def.name);
    font.size = ini.ReadInteger(section, stem + "Size", def.size);
    font.color = ini.ReadInteger(section, stem + "Color", def.color);
    font.style = ini.ReadInteger(section, stem + "Style", def.style);
    return font;
}

void WriteFont(TCustomIniStore &ini, std::string_view section, const TFontSpec &font, std::string_view name)
{
    const std::string stem(name);
    ini.WriteString(section, stem + "Name", font.name);
    ini.WriteInteger(section, stem + "Size", font.size);
    ini.WriteInteger(section, stem + "Color", font.color);
    ini.WriteInteger(section, stem + "Style", font.style);
}

std::string dialogPlainText(const TDialogContents &contents)
{
    const TDialogPage &page = contents.page;
    TMemIniStore ini("", true);
    ini.WriteString(kDialogSection, "DlgTitle", page.title);
    WriteScriptLines(ini, kDialogSection, page.initScript, "InitScript");
    WriteScriptLines(ini, kDialogSection, page.showScript, "ShowScript");
    WriteScriptLines(ini, kDialogSection, page.backScript, "BackScript");
    WriteScriptLines(ini, kDialogSection, page.nextScript, "NextScript");
    ini.WriteBool(kDialogSection, "NextButtonEnabled", page.nextEnabled);
    ini.WriteBool(kDialogSection, "BackButtonEnabled", page.backEnabled);
    ini.WriteBool(kDialogSection, "CancelButtonEnabled", page.cancelEnabled);
    ini.WriteInteger(kDialogSection, "CtlCount", static_cast<int32_t>(contents.controls.size()));

    std::string text;
    appendLine(text, "[" + std::string(kDialogSection) + "]");
    TStringList lines;
    ini.ReadSectionValues(kDialogSection, lines);
    for (const std::string &line : lines)
        appendLine(text, line);
    appendLine(text, "");

    // Each control gets its own number here, whatever its lines hold.
    for (size_t k = 0; k < contents.controls.size(); ++k) {
        const TStringList &keys = contents.controls[k];
        appendLine(text, "[" + std::string(kControlPrefix) + std::to_string(k) + "]");
        const size_t first = (!keys.empty() && keys.front() == kKeyListHeader) ? 1 : 0;
        for (size_t i = first; i < keys.size(); ++i)
            appendLine(text, keys[i]);
    }
    return text;
}

std::string encodeDialogFile(const TDialogContents &contents)
{
    std::string bytes;
    try {
        bytes = toWindows1252(dialogPlainText(contents));
    } catch (const ECodecError &e) {
        throw EDialogFileError(std::string("The dialog holds text that a dialog file cannot store: ") + e.what());
    }
    std::istringstream source(bytes);
    std::ostringstream target;
    EncryptStream(source, target, dialogPasswords()[kPasswordProfessional]);
    return std::move(target).str();
}

TDialogContents parseDialogText(std::string_view plainBytes)
{
    TMemIniStore ini("", true);
    ini.LoadFromBytes(plainBytes);
    // Every line break ends a line, so no count can mean more than this.
    size_t lineCount = 1;
    for (size_t i = 0; i < plainBytes.size(); ++i)
        if (plainBytes[i] == '\n' ||
            (plainBytes[i] == '\r' && (i + 1 == plainBytes.size() || plainBytes[i + 1] != '\n')))
            ++lineCount;
    TDialogContents contents;
    TDialogPage &page = contents.page;
    page.title = ini.ReadString(kDialogSection, "DlgTitle", "");
    page.initScript = ReadScriptLines(ini, kDialogSection, "InitScript", lineCount);
    page.showScript = ReadScriptLines(ini, kDialogSection, "ShowScript", lineCount);
    page.backScript = ReadScriptLines(ini, kDialogSection, "BackScript", lineCount);
    page.nextScript = ReadScriptLines(ini, kDialogSection, "NextScript", lineCount);
    page.nextEnabled = ini.ReadBool(kDialogSection, "NextButtonEnabled", true);
    page.backEnabled = ini.ReadBool(kDialogSection, "BackButtonEnabled", true);
    page.cancelEnabled = ini.ReadBool(kDialogSection, "CancelButtonEnabled", true);

    const int32_t declared = ini.ReadInteger(kDialogSection, "CtlCount", 0);
    const size_t count = declared > 0 ? std::min(static_cast<size_t>(declared), lineCount) : 0;
    contents.controls.reserve(count);
    for (size_t k = 0; k < count; ++k) {
        // A missing section gives a control of defaults.
        TStringList lines;
        ini.ReadSectionValues(std::string(kControlPrefix) + std::to_string(k), lines);
        contents.controls.push_back(withKeyListHeader(std::move(lines)));
    }
    return contents;
}

TDecodedDialog decodeDialogFile(std::string_view bytes)
{
    std::istringstream source{std::string(bytes)};
    std::ostringstream target;
    TDecodedDialog decoded;
    decoded.passwordIndex = DecryptStream(source, target, dialogPasswords());
    if (decoded.passwordIndex >= 0)
        decoded.contents = parseDialogText(target.view());
    return decoded;
}

} // namespace wharf
