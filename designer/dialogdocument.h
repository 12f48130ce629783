#pragma once
// The dialog being designed, as the designer holds it apart from any window:
// the page, the placed controls' key lists in z-order, the per-type name
// counters, the remembered file name and the modified flag, with the three
// file operations New, Load and Save.

#include "dialogfile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace wharf {

inline constexpr std::string_view kProgramTitle = "Brindlewharf Dialog Designer";
// The file name of a dialog that has no file yet; Save then asks for one.
inline constexpr std::string_view kNoFileName = "*.ddf";

inline constexpr std::string_view kMsgDialogMissing = "The dialog file %s does not exist!";
inline constexpr std::string_view kMsgDialogNotAFile = "%s is not a file, so it cannot be opened as a dialog!";
inline constexpr std::string_view kMsgNoPassword =
    "Cannot open this dialog. Maybe it is a dialog for Brindlewharf Standard which is incompatible with the "
    "Brindlewharf Professional file format!";
inline constexpr std::string_view kMsgStandardDialog =
    "This is a Brindlewharf Standard dialog file. You can open and edit it, but if you save it, it will only "
    "work with the Professional version!";

// The rule for a name the designer gives a control or takes from the author
// (placed, pasted, renamed in the properties dialog): ASCII letters, digits
// and underscores, at least one. Scripts address a control by its name and
// split their parameters at commas, so no other name can be reached. Names
// are unique within a dialog, compared without regard to case.
bool isControlName(std::string_view name);

// Where the name of a control that comes into the dialog was given.
enum class TNameOrigin {
    Given,  // placed, pasted, built by the program: isControlName decides
    File,   // read from a dialog file: any name the file holds is kept
};

// What LoadDialogFile found.
enum class TLoadResult {
    Missing,          // no file at the path: nothing changed (error box)
    NotAFile,         // the path names a folder or another non-file: as Missing
    NoPassword,       // no password opens it: an empty untitled dialog (error box)
    StandardEdition,  // opened with the Standard edition's password (warning box)
    Loaded,           // opened
};

// The message the author is shown for a load result; empty for Loaded.
std::string loadResultMessage(TLoadResult result, std::string_view path);

enum class TSaveMode {
    Document,  // the dialog's own file: remembered, modified flag cleared
    Scratch,   // a copy for the test run: name and flag stay as they are
};

// One placed control.
struct TDialogControl {
    uint64_t id = 0;   // unique while the document lives; never reused
    TStringList keys;  // key list, first line "[Controls]"
};

class TDialogDocument {
public:
    TDialogDocument(); // an empty "Untitled dialog"

    // Drops every control, zeroes the name counters, empties the scripts,
    // enables the three buttons, titles the page "Untitled dialog", forgets
    // the file name and clears the modified flag.
    void NewDialog();

    // Replaces the dialog by the one in path. Missing: nothing changes.
    // Otherwise the dialog starts anew; NoPassword leaves it empty and
    // untitled (so Save asks for a name instead of overwriting the file);
    // else the file's page and controls are taken (controls named as when
    // placed) and path is remembered. Throws EDialogFileError, changing
    // nothing, when the file exists but can't be read.
    TLoadResult LoadDialogFile(const std::string &path);

    // After LoadDialogFile found a file: when a save of it was cut off before
    // it finished, the message that says so and names the copy of the file
    // as it was before (unfinishedSaveNotice); empty otherwise.
    const std::string &unfinishedSaveMessage() const { return m_unfinishedSave; }

    // Writes the dialog to path under password 0, through a new file that
    // replaces the old one only once it is complete. Throws EDialogFileError
    // when it can't be written; the dialog, the remembered name, the flag and
    // any old file are then as they were.
    void SaveDialogFile(const std::string &path, TSaveMode mode = TSaveMode::Document);

    // "*.ddf" while the dialog has no file.
    const std::string &fileName() const { return m_fileName; }
    bool hasFileName() const { return m_fileName != kNoFileName; }

    bool modified() const { return m_modified; }
    void setModified(bool value) { m_modified = value; }

    // Program title, " - " and the dialog title.
    std::string caption() const;

    const TDialogPage &page() const { return m_page; }
    void setPage(TDialogPage page) { m_page = std::move(page); }

    // The page and the controls' key lists, as they would be saved.
    TDialogContents contents() const;

    size_t controlCount() const { return m_controls.size(); }
    const TDialogControl &control(size_t index) const { return m_controls.at(index); }
    // Index of the control with that id or name (any case); -1 when none.
    long indexOfId(uint64_t id) const;
    long indexOfName(std::string_view name) const;
    // Whether a control has that name (any case), without a walk of the list.
    bool nameInUse(std::string_view name) const;
    // The control's "Name" value and its type (0..10, see effectiveControlType).
    std::string controlName(size_t index) const;
    int controlType(size_t index) const;

    // Adds a control on top of the others and returns its index. The counter
    // of its type goes up by one; a missing or empty name, one already used,
    // or (for a given name) one that isControlName refuses is replaced by a
    // generated one (see generatedName) and written to the "Name" key.
    size_t addControl(TStringList keys, TNameOrigin origin = TNameOrigin::Given);
    // The type word and the type's counter after moving it on by one, and on
    // past names in use.
    std::string generatedName(int type);
    // Gives a control a new key list; its name is taken as it stands.
    void setControlKeys(size_t index, TStringList keys);
    void removeControl(size_t index);
    // Moves the control to the top of the stacking (the end of the list) and
    // returns its new index.
    size_t bringToFront(size_t index);

    uint32_t nameCounter(int type) const { return m_nameCounters.at(static_cast<size_t>(effectiveControlType(type))); }

private:
    void countName(const TStringList &keys);
    void uncountName(const TStringList &keys);

    TDialogPage m_page;
    std::vector<TDialogControl> m_controls;
    // Wider than the 16 bits a dialog of ordinary size needs: a counter that
    // wrapped would meet names in use on every later control.
    std::array<uint32_t, kControlTypeCount> m_nameCounters{};
    std::string m_fileName{kNoFileName};
    std::string m_unfinishedSave;
    bool m_modified = false;
    uint64_t m_nextId = 1;
    // How many controls hold each name, folded: the name checks of a load
    // of many controls then cost the same per control.
    std::unordered_map<std::string, size_t> m_nameUses;
};

} // namespace wharf
