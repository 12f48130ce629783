#pragma once
// The dialog file ("*.ddf"): INI text enciphered under a password, with a
// section "Dialog" for the page and one section "Control<k>" per placed
// control, bottom-most first. This unit knows the layout, the control types,
// the counted line lists and font keys; it needs no window.

#include "inistore.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wharf {

inline constexpr std::string_view kDialogFileFilter = "Dialog Designer files (*.ddf)|*.ddf";
inline constexpr std::string_view kDialogFileExt = "ddf";
inline constexpr std::string_view kUntitledDialog = "Untitled dialog";

// Raised when a dialog file can't be written or read; the text names the
// file and the cause.
class EDialogFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The designer's two passwords in the order they are tried. Index 0 writes
// every file; index 1 marks a dialog of the Standard edition.
const std::vector<std::string> &dialogPasswords();
inline constexpr int kPasswordProfessional = 0;
inline constexpr int kPasswordStandard = 1;

// ---------------------------------------------------------------------------
// Control types

inline constexpr int kControlTypeCount = 11;

enum TControlType : int {
    ctEdit, ctButton, ctLabel, ctCheckBox, ctComboBox, ctRadioGroup,
    ctRichEdit, ctListBox, ctChkListBox, ctProgressBar, ctImage,
};

struct TControlTypeInfo {
    std::string_view typeWord;    // generated names: type word + counter
    std::string_view ctlSection;  // section of "default.ctl" with its keys
    std::string_view hint;        // tooltip of its palette button
};

// The table entry of a type; a type outside 0..10 is taken as an edit box.
const TControlTypeInfo &controlTypeInfo(int32_t type);

// The type a stored value stands for: itself in 0..10, otherwise 0.
int effectiveControlType(int32_t type);

// ---------------------------------------------------------------------------
// Counted line lists and font keys

// stem + "Count" holds n, stem + "Line" + i holds line i. On reading a
// missing count is 0 and a missing line key an empty line. A count above
// maxLines (the number of lines of the text the store was read from) is cut
// to it, so a damaged count can't allocate without bound.
TStringList ReadScriptLines(const TCustomIniStore &ini, std::string_view section, std::string_view name,
                            size_t maxLines);
// Writes the count always and the line keys when there are lines.
void WriteScriptLines(TCustomIniStore &ini, std::string_view section, const TStringList &list,
                      std::string_view name);

struct TFontSpec {
    std::string name = "MS Sans Serif";
    int32_t size = 8;    // points
    int32_t color = 0;   // colour value, system colours negative
    int32_t style = 0;   // bits: 1 bold, 2 italic, 4 underline, 8 strike-out
    bool operator==(const TFontSpec &) const = default;
};

// stem + "Name", "Size", "Color", "Style", written in that order.
TFontSpec ReadFont(const TCustomIniStore &ini, std::string_view section, std::string_view name);
void WriteFont(TCustomIniStore &ini, std::string_view section, const TFontSpec &font, std::string_view name);

// ---------------------------------------------------------------------------
// The file

// The page-level state of a dialog.
struct TDialogPage {
    std::string title{kUntitledDialog};
    TStringList initScript, showScript, backScript, nextScript;
    bool nextEnabled = true, backEnabled = true, cancelEnabled = true;
    bool operator==(const TDialogPage &) const = default;
};

// Everything a dialog file holds: the page and the key lists of the controls
// in z-order (each list starting with "[Controls]").
struct TDialogContents {
    TDialogPage page;
    std::vector<TStringList> controls;
};

// The plain text of a dialog file (UTF-8, CR LF after every line). Each
// control's section is numbered as it is written; line breaks inside a
// value become blanks, so no value can start a line of its own.
std::string dialogPlainText(const TDialogContents &contents);

// The whole file: the plain text as Windows-1252, enciphered under password
// 0. Throws EDialogFileError when a text has no Windows-1252 form.
std::string encodeDialogFile(const TDialogContents &contents);

struct TDecodedDialog {
    int passwordIndex = -1;    // -1: no password opens the file
    TDialogContents contents;  // empty unless a password matched
};

// Reads a whole dialog file. A control section that CtlCount names but the
// file lacks gives a control of defaults; CtlCount, like every line count,
// is cut to the number of lines of the text.
TDecodedDialog decodeDialogFile(std::string_view bytes);

// Parses the plain (deciphered, Windows-1252) text alone.
TDialogContents parseDialogText(std::string_view plainBytes);

} // namespace wharf
