#include "colorcombo.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace wharf {

const TColorNameEntry kDefaultColorEntry{u"Default", 0};
const TColorNameEntry kCustomColorEntry{u"Custom", 0};

const std::array<TColorNameEntry, 16> kStandardColorEntries{{
    {u"Black", clBlack},   {u"Maroon", clMaroon}, {u"Green", clGreen},     {u"Olive", clOlive},
    {u"Navy", clNavy},     {u"Purple", clPurple}, {u"Teal", clTeal},       {u"Gray", clGray},
    {u"Silver", clSilver}, {u"Red", clRed},       {u"Lime", clLime},       {u"Yellow", clYellow},
    {u"Blue", clBlue},     {u"Fuchsia", clFuchsia}, {u"Aqua", clAqua},     {u"White", clWhite},
}};

const std::array<TColorNameEntry, 25> kSystemColorEntries{{
    {u"ScrollBar", clScrollBar},
    {u"Background", clBackground},
    {u"ActiveCaption", clActiveCaption},
    {u"InactiveCaption", clInactiveCaption},
    {u"Menu", clMenu},
    {u"Window", clWindow},
    {u"WindowFrame", clWindowFrame},
    {u"MenuText", clMenuText},
    {u"WindowText", clWindowText},
    {u"CaptionText", clCaptionText},
    {u"ActiveBorder", clActiveBorder},
    {u"InactiveBorder", clInactiveBorder},
    {u"AppWorkSpace", clAppWorkSpace},
    {u"Highlight", clHighlight},
    {u"HighlightText", clHighlightText},
    {u"BtnFace", clBtnFace},
    {u"BtnShadow", clBtnShadow},
    {u"GrayText", clGrayText},
    {u"BtnText", clBtnText},
    {u"InactiveCaptionText", clInactiveCaptionText},
    {u"BtnHighlight", clBtnHighlight},
    {u"3DDkShadow", cl3DDkShadow},
    {u"3DLight", cl3DLight},
    {u"InfoText", clInfoText},
    {u"InfoBk", clInfoBk},
}};

namespace {

QString nameOf(const TColorNameEntry &entry) { return QString::fromUtf16(entry.name); }

constexpr int kNameIndent = 24;    // room for the swatch left of a name
constexpr int kSwatchWidth = 14;   // the swatch beside a name
constexpr int kDotsWidth = 20;     // room for the Custom entry's dots
constexpr int kCustomSlots = 16;   // colour dialog slots A to P

// The popup list draws its items through the combo, so that the list and
// the closed control look the same.
class ColorItemDelegate final : public QStyledItemDelegate {
public:
    explicit ColorItemDelegate(TColorComboBox *combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_combo->DrawItem(*painter, index.row(), option.rect, option.state.testFlag(QStyle::State_Selected), false);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const int textWidth = m_combo->ShowColorNames()
                                  ? kNameIndent + 2 + QFontMetrics(m_combo->font()).horizontalAdvance(
                                                          m_combo->itemText(index.row())) + 8
                                  : 40;
        return {textWidth, m_combo->MeasureItem(index.row(), false)};
    }

private:
    TColorComboBox *m_combo;
};

QList<QColor> parseCustomColors(const QStringList &lines, const QPalette &palette)
{
    QList<QColor> colours(kCustomSlots, QColor(Qt::white));
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals).trimmed();
        if (equals < 0 || key.size() != 6 || !key.startsWith(QStringLiteral("Color"), Qt::CaseInsensitive))
            continue;
        const int slot = key.back().toUpper().unicode() - u'A';
        QString value = line.mid(equals + 1).trimmed();
        if (value.startsWith(u'$'))
            value.remove(0, 1);
        bool ok = false;
        const uint colour = value.toUInt(&ok, 16);
        if (ok && slot >= 0 && slot < kCustomSlots && colour <= 0xFFFFFFu)
            colours[slot] = toQColor(makeColor(colour), palette);
    }
    return colours;
}

QStringList formatCustomColors(const QList<QColor> &colours)
{
    QStringList lines;
    for (int i = 0; i < std::min<int>(kCustomSlots, static_cast<int>(colours.size())); ++i) {
        const uint value = static_cast<uint>(fromQColor(colours.at(i)));
        lines << QStringLiteral("Color") + QChar(u'A' + i) + u'=' +
                     QString::number(value, 16).toUpper().rightJustified(6, u'0');
    }
    return lines;
}

} // namespace

TColorNames::TColorNames(TColorComboBox *owner) : m_owner(owner) {}

void TColorNames::SetDefault(const QString &name)
{
    m_default = name;
    if (m_owner && m_owner->m_showDefaultColor)
        m_owner->renameItem(0, name);
}

void TColorNames::SetCustom(const QString &name)
{
    m_custom = name;
    if (m_owner && m_owner->m_showCustomColor)
        m_owner->renameItem(m_owner->count() - 1, name);
}

QString TColorNames::StandardName(int index) const
{
    return index >= 0 && index < static_cast<int>(m_standard.size()) ? m_standard[static_cast<size_t>(index)]
                                                                      : QString();
}

void TColorNames::SetStandardName(int index, const QString &name)
{
    if (index < 0 || index >= static_cast<int>(m_standard.size()))
        return;
    m_standard[static_cast<size_t>(index)] = name;
    if (m_owner)
        m_owner->renameItem(index + (m_owner->m_showDefaultColor ? 1 : 0), name);
}

QString TColorNames::SystemName(int index) const
{
    return index >= 0 && index < static_cast<int>(m_system.size()) ? m_system[static_cast<size_t>(index)]
                                                                    : QString();
}

void TColorNames::SetSystemName(int index, const QString &name)
{
    if (index < 0 || index >= static_cast<int>(m_system.size()))
        return;
    m_system[static_cast<size_t>(index)] = name;
    if (m_owner && m_owner->m_showSysColors)
        m_owner->renameItem((m_owner->m_showDefaultColor ? 17 : 16) + index, name);
}

void TColorNames::Assign(const TColorNames &source)
{
    if (&source == this)
        return;
    if (m_showDefaultColor)
        m_default = source.m_default;
    for (int i = 0; i < static_cast<int>(m_standard.size()); ++i)
        SetStandardName(i, source.m_standard[static_cast<size_t>(i)]);
    if (m_showSysColors)
        for (int i = 0; i < static_cast<int>(m_system.size()); ++i)
            SetSystemName(i, source.m_system[static_cast<size_t>(i)]);
    if (m_showCustomColor)
        m_custom = source.m_custom;
}

TColorComboBox::TColorComboBox(QWidget *parent, const Seams &seams)
    : TCustomFramedComboBox(parent, seams), m_colorNames(std::make_unique<TColorNames>())
{
    // The names are filled before they point at the combo, so filling them
    // renames nothing.
    FillColorNames();
    m_colorNames->m_owner = this;
    SetStyle(TComboBoxStyle::csDropDownList);
    setItemDelegate(new ColorItemDelegate(this));
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_unlistedColor.reset();
    });
    buildItems();
}

TColorComboBox::~TColorComboBox() { disconnect(this, nullptr, this, nullptr); }

void TColorComboBox::FillColorNames()
{
    m_colorNames->SetDefault(nameOf(kDefaultColorEntry));
    for (int i = 0; i < static_cast<int>(kStandardColorEntries.size()); ++i)
        m_colorNames->SetStandardName(i, nameOf(kStandardColorEntries[static_cast<size_t>(i)]));
    for (int i = 0; i < static_cast<int>(kSystemColorEntries.size()); ++i)
        m_colorNames->SetSystemName(i, nameOf(kSystemColorEntries[static_cast<size_t>(i)]));
    m_colorNames->SetCustom(nameOf(kCustomColorEntry));
}

void TColorComboBox::buildItems()
{
    clear();
    if (m_showDefaultColor) {
        addItem(nameOf(kDefaultColorEntry), kDefaultColorEntry.color);
        SetDefaultColor(m_defaultColor);
    }
    for (const TColorNameEntry &entry : kStandardColorEntries)
        addItem(nameOf(entry), entry.color);
    if (m_showSysColors)
        for (const TColorNameEntry &entry : kSystemColorEntries)
            addItem(nameOf(entry), entry.color);
    if (m_showCustomColor) {
        addItem(nameOf(kCustomColorEntry), kCustomColorEntry.color);
        SetCustomColor(m_customColor);
    }
    if (m_savedNames) {
        m_colorNames->Assign(*m_savedNames);
        m_savedNames.reset();
    }
    setCurrentIndex(0);
}

void TColorComboBox::RecreateWnd()
{
    // Rebuilding the list must not lose the author's colour, whichever
    // groups are shown now.
    const TColor kept = GetSelectedColor();
    // Item texts come from the name table; renamed standard and system
    // names survive through a copy.
    if (count() > 0 && m_namesChanged) {
        m_savedNames = std::make_unique<TColorNames>();
        m_savedNames->SetShowDefaultColor(m_showDefaultColor);
        m_savedNames->SetShowCustomColor(m_showCustomColor);
        m_savedNames->SetShowSysColors(m_showSysColors);
        m_savedNames->Assign(*m_colorNames);
    }
    buildItems();
    selectColor(kept);
    update();
}

TColor TColorComboBox::ItemColor(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    return static_cast<TColor>(itemData(index).toInt());
}

bool TColorComboBox::customShownAt(int index) const { return m_showCustomColor && index == count() - 1; }

TColor TColorComboBox::GetSelectedColor() const
{
    const int index = currentIndex();
    if (index < 0)
        return m_unlistedColor.value_or(m_defaultColor);
    return ItemColor(index);
}

void TColorComboBox::selectColor(TColor color)
{
    for (int i = 0; i < count(); ++i)
        if (ItemColor(i) == color) {
            selectIndex(i);
            return;
        }
    SetCustomColor(color);
    if (m_showCustomColor && count() > 0) {
        selectIndex(count() - 1);
        return;
    }
    // No entry can show this colour; say so by selecting nothing rather
    // than an entry of another colour.
    selectIndex(-1);
    m_unlistedColor = color;
}

void TColorComboBox::SetSelectedColor(TColor color)
{
    selectColor(color);
    Change();
}

void TColorComboBox::SetDefaultColor(TColor color)
{
    m_defaultColor = color;
    if (m_showDefaultColor && count() > 0) {
        setItemData(0, color);
        update();
    }
}

void TColorComboBox::SetCustomColor(TColor color)
{
    m_customColor = color;
    if (m_showCustomColor && count() > 0) {
        setItemData(count() - 1, color);
        update();
    }
}

void TColorComboBox::SetColorNames(const TColorNames &names) { m_colorNames->Assign(names); }

void TColorComboBox::SetCustomColors(const QStringList &colors) { m_customColors = colors; }

void TColorComboBox::SetShowDefaultColor(bool on)
{
    if (m_showDefaultColor == on)
        return;
    m_showDefaultColor = on;
    m_colorNames->SetShowDefaultColor(on);
    RecreateWnd();
}

void TColorComboBox::SetShowCustomColor(bool on)
{
    if (m_showCustomColor == on)
        return;
    m_showCustomColor = on;
    m_colorNames->SetShowCustomColor(on);
    RecreateWnd();
}

void TColorComboBox::SetShowSysColors(bool on)
{
    if (m_showSysColors == on)
        return;
    m_showSysColors = on;
    m_colorNames->SetShowSysColors(on);
    RecreateWnd();
}

void TColorComboBox::SetShowColorNames(bool on)
{
    if (m_showColorNames == on)
        return;
    m_showColorNames = on;
    update();
    view()->viewport()->update();
}

void TColorComboBox::SetFrameVisible(bool on)
{
    if (FrameVisible() == on)
        return;
    const TColor kept = GetSelectedColor();
    TCustomFramedComboBox::SetFrameVisible(on);
    SetSelectedColor(kept);
}

void TColorComboBox::renameItem(int index, const QString &name)
{
    if (index < 0 || index >= count())
        return;
    setItemText(index, name);
    m_namesChanged = true;
    update();
}

int TColorComboBox::MeasureItem(int, bool closedControl) const
{
    return FontItemHeight(font()) + (closedControl ? 0 : 4);
}

void TColorComboBox::DrawItem(QPainter &painter, int index, const QRect &rect, bool selected, bool closedControl)
{
    const QPalette &colours = palette();
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing, false);

    QRect item = rect;
    if (m_showColorNames) {
        painter.fillRect(QRect(rect.left(), rect.top(), std::min(kNameIndent, rect.width()), rect.height()),
                         toQColor(Color(), colours));
        item.setLeft(rect.left() + kNameIndent);
    }
    painter.fillRect(item, toQColor(selected ? clHighlight : Color(), colours));
    if (index < 0 || index >= count()) {
        painter.restore();
        return;
    }

    const int margin = closedControl ? 2 : 4;
    QRect swatch = item.adjusted(margin, margin, -margin, -margin);
    const bool custom = customShownAt(index);
    if (m_showColorNames)
        swatch = QRect(swatch.left() - kNameIndent, swatch.top(), kSwatchWidth, swatch.height());
    else if (custom)
        swatch.setWidth(swatch.width() - kDotsWidth);
    if (swatch.width() > 0 && swatch.height() > 0) {
        const TColor colour = ItemColor(index);
        painter.fillRect(swatch, toQColor(colour, colours));
        const TColor rgb = colorToRgb(colour, colours);
        const TColor outline = (redOf(rgb) > 128 || greenOf(rgb) > 128 || blueOf(rgb) > 128) ? clGray : clBlack;
        PaintFrameSides(painter, swatch, outline, outline, kAllSides, colours);
    }

    const TColor pen = selected ? clHighlightText : (isEnabled() ? clBlack : clGrayText);
    if (custom) {
        const int right = rect.left() + rect.width();
        const int bottom = rect.top() + rect.height();
        for (int x : {right - 16, right - 12, right - 8})
            painter.fillRect(QRect(x, bottom - 6, 2, 2), toQColor(pen, colours));
    }

    if (m_showColorNames) {
        const QColor text = !isEnabled() ? toQColor(clGrayText, colours)
                            : selected   ? toQColor(clHighlightText, colours)
                                         : colours.color(QPalette::Text);
        const QFontMetrics metrics(font());
        painter.setFont(font());
        painter.setPen(text);
        const int top = item.top() + (rect.height() - metrics.height()) / 2;
        painter.drawText(item.left() + 2, top + metrics.ascent(), itemText(index));
    }
    painter.restore();
}

void TColorComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawItem(painter, currentIndex(), field, hasFocus() && !DroppedDown(), true);
    PaintFrame(painter);
}

void TColorComboBox::CloseUp(bool cancelled)
{
    TCustomFramedComboBox::CloseUp(cancelled);
    if (cancelled || !m_showCustomColor || count() == 0 || currentIndex() != count() - 1)
        return;
    ColorDialogRequest request;
    request.initial = toQColor(GetSelectedColor(), palette());
    request.customColors = parseCustomColors(m_customColors, palette());
    request.fullOpen = m_colorDlgOptions.testFlag(TColorDialogOption::cdFullOpen) &&
                       !m_colorDlgOptions.testFlag(TColorDialogOption::cdPreventFullOpen);
    const ColorDialogResult result = seams().colorDialogs->run(this, request);
    if (!result.accepted)
        return;
    m_customColors = formatCustomColors(result.customColors);
    const TColor chosen = fromQColor(result.color);
    const bool changed = chosen != GetSelectedColor();
    SetCustomColor(chosen);
    // The author picked a new colour for the selected entry: owners that
    // follow OnChange (the background preview) must see it.
    if (changed)
        Change();
}

} // namespace wharf
