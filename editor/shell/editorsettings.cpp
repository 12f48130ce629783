#include "editorsettings.h"

namespace wharf {
namespace {

// Closes whatever key the read or write left open, on every path.
struct KeyCloser {
    Settings &settings;
    ~KeyCloser() { settings.closeKey(); }
};

} // namespace

void readEditorSettings(Settings &settings, EditorSettingsTarget &target)
{
    try {
        if (!settings.openKey(kEditorSettingsKey, false))
            return;
        KeyCloser closer{settings};
        target.applyShowVariables(settings.readBool(QStringLiteral("ShowVariables")));
        target.setPaletteLeft(settings.readInteger(QStringLiteral("VWLeft")));
        target.setPaletteTop(settings.readInteger(QStringLiteral("VWTop")));
        target.setShowCompileWarning(settings.valueExists(QStringLiteral("ShowWarning"))
                                         ? settings.readBool(QStringLiteral("ShowWarning"))
                                         : true);
        if (settings.openKey(QStringLiteral("Tools"), false)) {
            for (const QString &name : settings.getValueNames())
                target.addTool(name, settings.readString(name));
        }
        bool highlight = true;
        if (settings.openKey(kDesignerSettingsKey, false) && settings.valueExists(QStringLiteral("SyntaxHighlight")))
            highlight = settings.readBool(QStringLiteral("SyntaxHighlight"));
        target.setHighlightSyntax(highlight);
    } catch (...) {
        // A missing or mistyped value ends the reading where it stands.
    }
}

void writeEditorSettings(Settings &settings, const EditorSettingsOnClose &values) noexcept
{
    try {
        if (!settings.openKey(kEditorSettingsKey, true))
            return;
        KeyCloser closer{settings};
        settings.writeBool(QStringLiteral("ShowVariables"), values.showVariables);
        settings.writeInteger(QStringLiteral("VWLeft"), values.paletteLeft);
        settings.writeInteger(QStringLiteral("VWTop"), values.paletteTop);
        settings.writeBool(QStringLiteral("ShowWarning"), values.showWarning);
    } catch (...) {
        // Settings that can't be written must not keep the editor open.
    }
}

} // namespace wharf
