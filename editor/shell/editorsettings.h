#pragma once
// The editor's own settings under "Software\Kelvra\Brindlewharf 2.0": what
// the main window reads after opening its first project, and what it writes
// when it closes. The subkey "MRU" belongs to the recent-files list, and
// "Tools" and "Dialog Designer" are only ever read here.

#include "settings.h"

#include <QString>

namespace wharf {

inline const QString kEditorSettingsKey = QStringLiteral("\\Software\\Kelvra\\Brindlewharf 2.0");
inline const QString kDesignerSettingsKey = QStringLiteral("\\Software\\Kelvra\\Brindlewharf 2.0\\Dialog Designer");

// What the settings read sets, in the order it reads the values.
class EditorSettingsTarget {
public:
    virtual ~EditorSettingsTarget() = default;
    // "ShowVariables": the palette is to be shown (true) or hidden.
    virtual void applyShowVariables(bool shown) = 0;
    // "VWLeft" and "VWTop": the palette window's position, one at a time.
    virtual void setPaletteLeft(int left) = 0;
    virtual void setPaletteTop(int top) = 0;
    // "ShowWarning", true when the value is missing.
    virtual void setShowCompileWarning(bool show) = 0;
    // One value of the subkey "Tools": its name and its command line.
    virtual void addTool(const QString &caption, const QString &commandLine) = 0;
    // "SyntaxHighlight" of the designer's subkey; true when it is missing.
    virtual void setHighlightSyntax(bool on) = 0;
};

// Reads the settings into target. Nothing happens when the editor's key
// does not exist. The first value that is missing or of the wrong type
// ("ShowVariables", "VWLeft" and "VWTop" must exist) ends the reading
// silently; what was read before stays applied. Never throws.
void readEditorSettings(Settings &settings, EditorSettingsTarget &target);

// What closing the editor writes.
struct EditorSettingsOnClose {
    bool showVariables = false;
    int paletteLeft = 0;
    int paletteTop = 0;
    bool showWarning = true;
};

// Writes the values under the editor's key, creating it when missing.
// Failures are ignored: closing goes on regardless.
void writeEditorSettings(Settings &settings, const EditorSettingsOnClose &values) noexcept;

} // namespace wharf
