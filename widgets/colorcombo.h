#pragma once
// TColorComboBox: a list-only combo box of colours, each item drawn as a
// swatch and (optionally) its name: an optional "Default" entry, the 16
// standard colours, optionally the 25 system colours and an optional
// "Custom" entry that opens the colour dialog when it is chosen from the
// list. TColorNames holds the names one combo shows; they can be renamed.
//
// Typical use (the editor's layout page):
//     CE_StartColor->SetShowSysColors(false);
//     CE_StartColor->SetDefaultColor(clBlue);
//     CE_StartColor->SetSelectedColor(storedValue);
//     connect(CE_StartColor, &TColorComboBox::OnChange, this, &Page::CE_StartColorChange);
//     ... storedValue = CE_StartColor->SelectedColor();

#include "colors.h"
#include "framedcombobox.h"

#include <QFlags>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace wharf {

class TColorComboBox;

// One record of the colour name table all colour combos share.
struct TColorNameEntry {
    const char16_t *name;
    TColor color;
};

// "Default" and "Custom" (colour 0; the combo puts DefaultColor and
// CustomColor in their place), the 16 standard colours from "Black" to
// "White" and the 25 system colours from "ScrollBar" to "InfoBk", in list
// order.
extern const TColorNameEntry kDefaultColorEntry;
extern const TColorNameEntry kCustomColorEntry;
extern const std::array<TColorNameEntry, 16> kStandardColorEntries;
extern const std::array<TColorNameEntry, 25> kSystemColorEntries;

// The names one colour combo shows. Standard names are indexed 0-15 in the
// order of kStandardColorEntries (Black, Maroon, Green, Olive, Navy, Purple,
// Teal, Gray, Silver, Red, Lime, Yellow, Blue, Fuchsia, Aqua, White), system
// names 0-24 in the order of kSystemColorEntries (ScrollBar ... BtnHighlight,
// DkShadow3D, Light3D, InfoText, InfoBk). A name written while an owner combo
// shows its item renames the item at once and keeps the selection.
class TColorNames {
    friend class TColorComboBox;

public:
    // All names empty, all three Show flags true. owner may be null (a
    // free-standing copy); it is not owned.
    explicit TColorNames(TColorComboBox *owner = nullptr);
    TColorNames(const TColorNames &) = delete;
    TColorNames &operator=(const TColorNames &) = delete;

    TColorComboBox *owner() const { return m_owner; }

    const QString &Default() const { return m_default; }
    void SetDefault(const QString &name);
    const QString &Custom() const { return m_custom; }
    void SetCustom(const QString &name);
    // Out-of-range indices read as empty and are ignored when written.
    QString StandardName(int index) const;
    void SetStandardName(int index, const QString &name);
    QString SystemName(int index) const;
    void SetSystemName(int index, const QString &name);

    // Which groups the names are for; the owner keeps them equal to its own.
    bool ShowDefaultColor() const { return m_showDefaultColor; }
    bool ShowCustomColor() const { return m_showCustomColor; }
    bool ShowSysColors() const { return m_showSysColors; }
    void SetShowDefaultColor(bool on) { m_showDefaultColor = on; }
    void SetShowCustomColor(bool on) { m_showCustomColor = on; }
    void SetShowSysColors(bool on) { m_showSysColors = on; }

    // Copies source's names: Default only when this object's
    // ShowDefaultColor is on, the 16 standard names always, the system names
    // only when its ShowSysColors is on, Custom only when its
    // ShowCustomColor is on. Standard and system names rename the owner's
    // items; Default and Custom are only stored.
    void Assign(const TColorNames &source);

private:
    TColorComboBox *m_owner;
    bool m_showDefaultColor = true;
    bool m_showCustomColor = true;
    bool m_showSysColors = true;
    QString m_default;
    std::array<QString, 16> m_standard;
    std::array<QString, 25> m_system;
    QString m_custom;
};

// The colour dialog's options; only the first two change the dialog here.
enum class TColorDialogOption {
    cdFullOpen = 1,        // the custom-colour part is shown at once
    cdPreventFullOpen = 2, // it is not shown
    cdShowHelp = 4,
    cdSolidColor = 8,
    cdAnyColor = 16,
};
Q_DECLARE_FLAGS(TColorDialogOptions, TColorDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TColorDialogOptions)

class TColorComboBox : public TCustomFramedComboBox {
    Q_OBJECT
    friend class TColorNames;

public:
    // Owner drawn, list only, all groups shown, names shown, Default and
    // Custom colour 0, item 0 selected. seams gives the colour dialog and
    // the beep and must outlive the combo.
    explicit TColorComboBox(QWidget *parent = nullptr, const Seams &seams = standardSeams());
    ~TColorComboBox() override;

    // The colour of the selected item; with no item selected the colour
    // last set through SetSelectedColor that no item has (see there), or
    // else DefaultColor.
    virtual TColor GetSelectedColor() const;
    TColor SelectedColor() const { return GetSelectedColor(); }
    // Selects the first item whose colour equals color exactly (Default
    // before the standard colour of the same value). A colour no item has
    // becomes CustomColor and selects the Custom entry when it is shown;
    // otherwise no item is selected and GetSelectedColor reads color back.
    // Fires OnChange either way.
    virtual void SetSelectedColor(TColor color);

    TColor DefaultColor() const { return m_defaultColor; }
    // Always stored; the Default entry takes it at once.
    virtual void SetDefaultColor(TColor color);
    TColor CustomColor() const { return m_customColor; }
    // Always stored; the Custom entry takes it at once.
    virtual void SetCustomColor(TColor color);
    TColorNames &ColorNames() { return *m_colorNames; }
    const TColorNames &ColorNames() const { return *m_colorNames; }
    // Copies names into the combo's own names (TColorNames::Assign).
    virtual void SetColorNames(const TColorNames &names);
    // The colour dialog's custom colours, one line "ColorA=BBGGRR" (hex of
    // the stored value) per slot A to P, as the dialog left them.
    const QStringList &CustomColors() const { return m_customColors; }
    virtual void SetCustomColors(const QStringList &colors);
    TColorDialogOptions ColorDlgOptions() const { return m_colorDlgOptions; }
    void SetColorDlgOptions(TColorDialogOptions options) { m_colorDlgOptions = options; }

    // Which groups the list has; switching one rebuilds the list and keeps
    // the selected colour.
    bool ShowDefaultColor() const { return m_showDefaultColor; }
    virtual void SetShowDefaultColor(bool on);
    bool ShowCustomColor() const { return m_showCustomColor; }
    virtual void SetShowCustomColor(bool on);
    bool ShowSysColors() const { return m_showSysColors; }
    virtual void SetShowSysColors(bool on);
    bool ShowColorNames() const { return m_showColorNames; }
    // Off: swatches only.
    virtual void SetShowColorNames(bool on);

    // Keeps SelectedColor across the change (and fires OnChange).
    void SetFrameVisible(bool on) override;

    // Fills ColorNames from the name table.
    virtual void FillColorNames();
    // The colour of the item at index (0 for an index out of range).
    virtual TColor ItemColor(int index) const;
    // Draws item index into rect: a 14-pixel swatch left of the name (or a
    // swatch over the whole item without names), framed grey for light
    // colours and black for dark ones; the Custom entry gets three dots.
    // closedControl: the selected item as the closed combo shows it (a
    // 2-pixel swatch margin instead of 4). index -1 draws an empty item.
    virtual void DrawItem(QPainter &painter, int index, const QRect &rect, bool selected, bool closedControl);
    // The height of an item: FontItemHeight of the font, 4 more in the list.
    virtual int MeasureItem(int index, bool closedControl) const;

    // True once a name was written through ColorNames to a shown item.
    bool NamesChanged() const { return m_namesChanged; }

    // After the list closed without being cancelled with the Custom entry
    // selected, asks the colour dialog for a colour; a confirmed colour
    // becomes CustomColor (and CustomColors the dialog's slots) and fires
    // OnChange when it differs.
    void CloseUp(bool cancelled) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void RecreateWnd() override;

private:
    void buildItems();
    void selectColor(TColor color);
    bool customShownAt(int index) const;
    // Renames an item for ColorNames (the selection stays).
    void renameItem(int index, const QString &name);

    TColor m_defaultColor = 0;
    TColor m_customColor = 0;
    std::unique_ptr<TColorNames> m_colorNames;
    std::unique_ptr<TColorNames> m_savedNames;
    bool m_showSysColors = true;
    bool m_showColorNames = true;
    bool m_showDefaultColor = true;
    bool m_showCustomColor = true;
    TColorDialogOptions m_colorDlgOptions = TColorDialogOption::cdFullOpen;
    QStringList m_customColors;
    bool m_namesChanged = false;
    // A colour set that no shown item has, read back while nothing is
    // selected.
    std::optional<TColor> m_unlistedColor;
};

} // namespace wharf
