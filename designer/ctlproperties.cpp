#include "ctlproperties.h"

#include "codec.h"
#include "dialogfile.h"
#include "editclb.h"
#include "fieldtext.h"
#include "fontdialog.h"
#include "keylist.h"
#include "layouttaborder.h"
#include "mainform.h"
#include "scriptmemo.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace wharf {
namespace {

constexpr std::string_view S = kKeyListSection;
// No value read from a key list holds a line break, so this marks a missing key.
constexpr std::string_view kAbsent = "\n";

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string text(const QLineEdit *edit)
{
    return singleLineText(edit->text()).toStdString();
}

TStringList lines(const QPlainTextEdit *memo)
{
    return toStringList(memoLines(*memo));
}

TStringList lines(const TScriptMemo *memo)
{
    return toStringList(memo->Lines());
}

QString cell(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

QString yesNo(bool value)
{
    return QLatin1String(value ? kYes : kNo);
}

bool isYes(const QString &cellText)
{
    return cellText == QLatin1String(kYes);
}

bool hasChangeScript(int type)
{
    return type == ctEdit || type == ctComboBox || type == ctRichEdit;
}

// The check-list item grid: the two marks as wide as their texts, the item
// column as wide as its longest caption and at least the rest of the room,
// so no caption is cut short (a long one scrolls sideways). Changes of the
// rows are fitted once the event loop runs, so filling many rows measures
// the captions once.
class ItemGrid : public QTableWidget {
public:
    explicit ItemGrid(QWidget *parent) : QTableWidget(1, 3, parent)
    {
        m_fit.setSingleShot(true);
        m_fit.setInterval(0);
        connect(&m_fit, &QTimer::timeout, this, [this] { fitItemColumn(); });
        QHeaderView *columns = horizontalHeader();
        columns->setStretchLastSection(false);
        // A wide item column that scrolls keeps its header in view.
        columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        columns->setSectionResizeMode(0, QHeaderView::Fixed);
        columns->setSectionResizeMode(1, QHeaderView::ResizeToContents);
        columns->setSectionResizeMode(2, QHeaderView::ResizeToContents);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        const auto fit = [this] { m_fit.start(); };
        connect(model(), &QAbstractItemModel::dataChanged, this, fit);
        connect(model(), &QAbstractItemModel::rowsInserted, this, fit);
        connect(model(), &QAbstractItemModel::rowsRemoved, this, fit);
        connect(model(), &QAbstractItemModel::headerDataChanged, this, fit);
        connect(columns, &QHeaderView::sectionResized, this, [this](int section) {
            if (section != 0)
                m_fit.start();
        });
    }

protected:
    bool viewportEvent(QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            fitItemColumn();
        return QTableWidget::viewportEvent(event);
    }

private:
    void fitItemColumn()
    {
        QHeaderView *columns = horizontalHeader();
        const int room = viewport()->width() - columns->sectionSize(1) - columns->sectionSize(2);
        columns->resizeSection(0, std::max({sizeHintForColumn(0), columns->sectionSizeHint(0), room}));
    }

    QTimer m_fit;
};

} // namespace

Tfrm_CtlProperties::Tfrm_CtlProperties(Tfrm_Main &main, Tfrm_EditCLB &itemDialog, const Seams &seams,
                                       QWidget *parent)
    : QDialog(parent), m_main(main), m_itemDialog(itemDialog), m_seams(seams)
{
    setObjectName(QStringLiteral("frm_CtlProperties"));
    setWindowTitle(QStringLiteral("Properties"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FontDialog = new TFontDialog(seams, this);
    buildCommon();
    buildPages();
    // FormCreate: the header cells of the item grid.
    SG_CLBItems->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Checked"), QStringLiteral("Enabled")});
    const QHeaderView *columns = SG_CLBItems->horizontalHeader();
    SG_CLBItems->setMinimumWidth(columns->sectionSizeHint(0) + columns->sectionSizeHint(1) +
                                 columns->sectionSizeHint(2) + 2 * SG_CLBItems->frameWidth());
    // The fields are made in another order than they stand: Tab follows
    // where they stand, so a hint typed after the name lands in the Hint.
    setTabOrderFromLayout(*this);
}

Tfrm_CtlProperties::~Tfrm_CtlProperties() = default;

void Tfrm_CtlProperties::buildCommon()
{
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    const auto spin = [this](const char *name) {
        auto *s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(INT_MIN, INT_MAX);
        return s;
    };
    const auto check = [this](const char *name, const char *caption) {
        auto *c = new QCheckBox(QString::fromUtf8(caption), this);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    E_Name = edit("E_Name");
    SE_Left = spin("SE_Left");
    SE_Top = spin("SE_Top");
    SE_Width = spin("SE_Width");
    SE_Height = spin("SE_Height");
    E_Hint = edit("E_Hint");
    Ch_Enabled = check("Ch_Enabled", "Enabled");
    Ch_Visible = check("Ch_Visible", "Visible");
    B_Font = new QPushButton(QStringLiteral("&Font..."), this);
    B_Font->setObjectName(QStringLiteral("B_Font"));
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));

    PC_Scripts = new QTabWidget(this);
    PC_Scripts->setObjectName(QStringLiteral("PC_Scripts"));
    SM_ClickFunc = new TScriptMemo(PC_Scripts, m_seams);
    SM_ClickFunc->setObjectName(QStringLiteral("SM_ClickFunc"));
    SM_ClickFunc->setProgramFolder(m_main.programFolder());
    SM_ChangeFunc = new TScriptMemo(PC_Scripts, m_seams);
    SM_ChangeFunc->setObjectName(QStringLiteral("SM_ChangeFunc"));
    SM_ChangeFunc->setProgramFolder(m_main.programFolder());
    PC_Scripts->addTab(SM_ClickFunc, qs(kClickScriptCaption));
    PC_Scripts->addTab(SM_ChangeFunc, QStringLiteral("Script for Change event"));
    PC_Scripts->setMinimumHeight(100);

    G_Special = new QGroupBox(QStringLiteral("Special control properties"), this);
    G_Special->setObjectName(QStringLiteral("G_Special"));
    CtlBook = new QStackedWidget(G_Special);
    CtlBook->setObjectName(QStringLiteral("CtlBook"));
    (new QVBoxLayout(G_Special))->addWidget(CtlBook);

    auto *position = new QGroupBox(QStringLiteral("Position"), this);
    auto *positionGrid = new QGridLayout(position);
    // One field a row: the window then fits over the designer.
    const std::pair<const char *, QSpinBox *> fields[] = {
        {"Left:", SE_Left}, {"Top:", SE_Top}, {"Width:", SE_Width}, {"Height:", SE_Height}};
    int row = 0;
    for (const auto &[caption, field] : fields) {
        positionGrid->addWidget(new QLabel(QString::fromLatin1(caption), position), row, 0);
        positionGrid->addWidget(field, row++, 1);
    }

    auto *common = new QFormLayout;
    common->addRow(QStringLiteral("Name:"), E_Name);
    common->addRow(QStringLiteral("Hint:"), E_Hint);
    auto *states = new QHBoxLayout;
    states->addWidget(Ch_Enabled);
    states->addWidget(Ch_Visible);
    states->addStretch();
    // The font button on a row of its own keeps the column narrow enough
    // for the window to fit over the designer.
    auto *font = new QHBoxLayout;
    font->addStretch();
    font->addWidget(B_Font);
    auto *left = new QVBoxLayout;
    left->addLayout(common);
    left->addWidget(position);
    left->addLayout(states);
    left->addLayout(font);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(G_Special, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PC_Scripts, 1);
    layout->addLayout(buttons);

    connect(B_Font, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_FontClick);
    connect(B_OK, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_CtlProperties::showEvent(QShowEvent *event)
{
    // As large as the contents ask, but never larger than the designer it
    // opens over, nor than the screen.
    QSize room = screen() ? screen()->availableGeometry().size() : sizeHint();
    if (m_main.isVisible())
        room = room.boundedTo(m_main.size());
    resize(sizeHint().boundedTo(room).expandedTo(minimumSizeHint()));
    QDialog::showEvent(event);
}

QWidget *Tfrm_CtlProperties::page(QWidget *content)
{
    CtlBook->addWidget(content);
    return content;
}

void Tfrm_CtlProperties::buildPages()
{
    const auto edit = [](QWidget *parent, const char *name, QFormLayout *form, const char *label) {
        auto *e = new QLineEdit(parent);
        e->setObjectName(QLatin1String(name));
        form->addRow(QString::fromUtf8(label), e);
        return e;
    };
    const auto check = [](QWidget *parent, const char *name, QFormLayout *form, const char *caption) {
        auto *c = new QCheckBox(QString::fromUtf8(caption), parent);
        c->setObjectName(QLatin1String(name));
        form->addRow(c);
        return c;
    };
    const auto memo = [](QWidget *parent, const char *name, QFormLayout *form, const char *label) {
        auto *m = new QPlainTextEdit(parent);
        m->setObjectName(QLatin1String(name));
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        form->addRow(QString::fromUtf8(label), m);
        return m;
    };
    const auto spin = [](QWidget *parent, const char *name, QFormLayout *form, const char *label, int lo, int hi) {
        auto *s = new QSpinBox(parent);
        s->setObjectName(QLatin1String(name));
        s->setRange(lo, hi);
        form->addRow(QString::fromUtf8(label), s);
        return s;
    };
    const auto newPage = [this](const char *name) {
        auto *w = new QWidget;
        w->setObjectName(QLatin1String(name));
        auto *form = new QFormLayout(w);
        page(w);
        return std::pair{w, form};
    };

    {
        auto [w, f] = newPage("P_Edit");
        E_EditText = edit(w, "E_EditText", f, "Text:");
        E_PWChar = edit(w, "E_PWChar", f, "Password character:");
        E_PWChar->setMaxLength(1);
        Ch_EditReadOnly = check(w, "Ch_EditReadOnly", f, "Read-only");
    }
    {
        auto [w, f] = newPage("P_Button");
        E_ButtonCaption = edit(w, "E_ButtonCaption", f, "Caption:");
        Ch_BDefault = check(w, "Ch_BDefault", f, "Standard button (Default)");
        Ch_BCancel = check(w, "Ch_BCancel", f, "React on ESC (Cancel)");
    }
    {
        auto [w, f] = newPage("P_Label");
        E_LabelCaption = edit(w, "E_LabelCaption", f, "Caption:");
        Ch_LabelWordWrap = check(w, "Ch_LabelWordWrap", f, "Word wrap");
        Ch_LabelTransparent = check(w, "Ch_LabelTransparent", f, "Transparent");
    }
    {
        auto [w, f] = newPage("P_CheckBox");
        E_CheckboxCaption = edit(w, "E_CheckboxCaption", f, "Caption:");
        Ch_CheckboxChecked = check(w, "Ch_CheckboxChecked", f, "Checked");
    }
    {
        auto [w, f] = newPage("P_ComboBox");
        M_ComboItems = memo(w, "M_ComboItems", f, "Items:");
        SE_ComboSelItem = spin(w, "SE_ComboSelItem", f, "Selected item:", -1, 100);
        Ch_ComboAllowInput = check(w, "Ch_ComboAllowInput", f, "Allow non-standard values");
    }
    {
        auto [w, f] = newPage("P_RadioGroup");
        E_RGCaption = edit(w, "E_RGCaption", f, "Caption:");
        M_RGItems = memo(w, "M_RGItems", f, "Items:");
        SE_RGSelItem = spin(w, "SE_RGSelItem", f, "Selected item:", -1, 100);
    }
    {
        auto [w, f] = newPage("P_RichEdit");
        E_REFileName = edit(w, "E_REFileName", f, "Load file:");
        RE_RELines = memo(w, "RE_RELines", f, "Lines");
        Ch_REReadOnly = check(w, "Ch_REReadOnly", f, "Read-Only");
        ch_HorzScrollBar = check(w, "ch_HorzScrollBar", f, "Horizontal scroll bar");
        Ch_VertScrollBar = check(w, "Ch_VertScrollBar", f, "Vertical scroll bar");
        Ch_REWordWrap = check(w, "Ch_REWordWrap", f, "Word wrap");
    }
    {
        auto [w, f] = newPage("P_ListBox");
        M_LBItems = memo(w, "M_LBItems", f, "Items:");
        SE_LBSelItem = spin(w, "SE_LBSelItem", f, "Selected item:", -1, 100);
    }
    {
        auto *w = new QWidget;
        w->setObjectName(QStringLiteral("P_ChkListBox"));
        SG_CLBItems = new ItemGrid(w);
        SG_CLBItems->setObjectName(QStringLiteral("SG_CLBItems"));
        SG_CLBItems->setSelectionBehavior(QAbstractItemView::SelectRows);
        SG_CLBItems->setSelectionMode(QAbstractItemView::SingleSelection);
        SG_CLBItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
        SG_CLBItems->verticalHeader()->hide();
        const auto button = [w](const char *name, const char *caption) {
            auto *b = new QPushButton(QString::fromUtf8(caption), w);
            b->setObjectName(QLatin1String(name));
            return b;
        };
        B_Add = button("B_Add", "&Add");
        B_Delete = button("B_Delete", "&Delete");
        B_Edit = button("B_Edit", "&Edit");
        B_Up = button("B_Up", "&Up");
        B_Down = button("B_Down", "D&own");
        // The buttons in two rows below, so the grid has the page's whole
        // width for its three columns.
        auto *buttons = new QGridLayout;
        int at = 0;
        for (QPushButton *b : {B_Add, B_Delete, B_Edit, B_Up, B_Down}) {
            buttons->addWidget(b, at / 3, at % 3);
            ++at;
        }
        auto *layout = new QVBoxLayout(w);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(SG_CLBItems, 1);
        layout->addLayout(buttons);
        page(w);
        connect(B_Add, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_AddClick);
        connect(B_Delete, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_DeleteClick);
        connect(B_Edit, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_EditClick);
        connect(B_Up, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_UpClick);
        connect(B_Down, &QPushButton::clicked, this, &Tfrm_CtlProperties::B_DownClick);
        connect(SG_CLBItems, &QTableWidget::currentCellChanged, this, &Tfrm_CtlProperties::SG_CLBItemsClick);
    }
    {
        auto [w, f] = newPage("P_ProgressBar");
        SE_PBPosition = spin(w, "SE_PBPosition", f, "Position:", INT_MIN, INT_MAX);
        SE_PBMinValue = spin(w, "SE_PBMinValue", f, "Min. value:", INT_MIN, INT_MAX);
        SE_PBMaxValue = spin(w, "SE_PBMaxValue", f, "Max. value:", INT_MIN, INT_MAX);
        Ch_PBSmooth = check(w, "Ch_PBSmooth", f, "Smooth");
    }
    {
        auto [w, f] = newPage("P_Image");
        E_ILoadFile = edit(w, "E_ILoadFile", f, "Load file:");
        Ch_ITransparent = check(w, "Ch_ITransparent", f, "Transparent");
        Ch_IAutosize = check(w, "Ch_IAutosize", f, "Autosize");
        Ch_IStretch = check(w, "Ch_IStretch", f, "Stretch");
    }
}

// ---------------------------------------------------------------------------
// Show and OK

void Tfrm_CtlProperties::Execute()
{
    if (m_main.selectedControl() >= 0)
        ShowModal();
}

int Tfrm_CtlProperties::ShowModal()
{
    FormShow();
    if (m_index < 0)
        return QDialog::Rejected;
    return m_seams.modal->exec(*this);
}

void Tfrm_CtlProperties::FormShow()
{
    m_index = m_main.selectedControl();
    SG_CLBItems->setRowCount(0);
    SG_CLBItems->setRowCount(1);
    SM_ChangeFunc->setLines({});
    if (m_index < 0)
        return;

    TStringList keys = m_main.document().control(static_cast<size_t>(m_index)).keys;
    const TKeyListStore ini(keys);
    const auto str = [&ini](const char *key) { return qs(ini.ReadString(S, key, "")); };
    const auto flag = [&ini](const std::string &key, bool def) { return ini.ReadBool(S, key, def); };
    const auto integer = [&ini](const char *key, int def) { return ini.ReadInteger(S, key, def); };
    const size_t lineCount = keys.size();
    const auto scriptLines = [&ini, lineCount](const char *stem) {
        return toQStringList(ReadScriptLines(ini, S, stem, lineCount));
    };

    m_type = effectiveControlType(integer("Type", ctEdit));
    PC_Scripts->setTabText(0, qs(m_type == ctEdit || m_type == ctRichEdit ? kReturnScriptCaption : kClickScriptCaption));
    showFieldText(*E_Name, str("Name"));
    SE_Left->setValue(integer("Left", 0));
    SE_Top->setValue(integer("Top", 0));
    SE_Width->setValue(integer("Width", 0));
    SE_Height->setValue(integer("Height", 0));
    showFieldText(*E_Hint, str("Hint"));
    FontDialog->setFontSpec(ReadFont(ini, S, "Font"));
    Ch_Enabled->setChecked(flag("Enabled", true));
    SM_ClickFunc->setLines(scriptLines("ClickFunc"));
    Ch_Visible->setChecked(flag("Visible", true));
    PC_Scripts->setTabVisible(1, hasChangeScript(m_type));
    PC_Scripts->setCurrentIndex(0);

    CtlBook->setCurrentIndex(m_type);
    switch (m_type) {
    case ctEdit:
        showFieldText(*E_EditText, str("Text"));
        showFieldText(*E_PWChar, str("PWChar"));
        Ch_EditReadOnly->setChecked(flag("ReadOnly", false));
        break;
    case ctButton:
        showFieldText(*E_ButtonCaption, str("Caption"));
        Ch_BDefault->setChecked(flag("Default", false));
        Ch_BCancel->setChecked(flag("Cancel", false));
        break;
    case ctLabel:
        showFieldText(*E_LabelCaption, str("Caption"));
        Ch_LabelWordWrap->setChecked(flag("WordWrap", false));
        Ch_LabelTransparent->setChecked(flag("Transparent", false));
        break;
    case ctCheckBox:
        showFieldText(*E_CheckboxCaption, str("Caption"));
        Ch_CheckboxChecked->setChecked(flag("Checked", false));
        break;
    case ctComboBox:
        setMemoLines(*M_ComboItems, scriptLines("Items"));
        SE_ComboSelItem->setValue(integer("ItemIndex", -1));
        Ch_ComboAllowInput->setChecked(flag("CanEdit", true));
        break;
    case ctRadioGroup:
        showFieldText(*E_RGCaption, str("Caption"));
        setMemoLines(*M_RGItems, scriptLines("Items"));
        SE_RGSelItem->setValue(integer("ItemIndex", -1));
        break;
    case ctRichEdit: {
        showFieldText(*E_REFileName, str("FileName"));
        setMemoLines(*RE_RELines, scriptLines("Text"));
        Ch_REReadOnly->setChecked(flag("ReadOnly", false));
        const int bars = integer("ScrollBars", 0);
        ch_HorzScrollBar->setChecked(bars == 1 || bars == 3);
        Ch_VertScrollBar->setChecked(bars == 2 || bars == 3);
        Ch_REWordWrap->setChecked(flag("WordWrap", true));
        break;
    }
    case ctListBox:
        setMemoLines(*M_LBItems, scriptLines("Items"));
        SE_LBSelItem->setValue(integer("ItemIndex", -1));
        break;
    case ctChkListBox: {
        const QStringList items = scriptLines("Items");
        for (qsizetype n = 0; n < items.size(); ++n) {
            const std::string stem = "Items" + std::to_string(n);
            // An item without its Enabled key is enabled on the surface, so
            // it shows so here too and OK keeps it enabled.
            addItemRow(static_cast<int>(n), items[n], flag(stem + "Checked", false), flag(stem + "Enabled", true));
        }
        break;
    }
    case ctProgressBar:
        SE_PBPosition->setValue(integer("Position", 0));
        SE_PBMinValue->setValue(integer("MinValue", 0));
        SE_PBMaxValue->setValue(integer("MaxValue", 100));
        Ch_PBSmooth->setChecked(flag("Smooth", false));
        break;
    case ctImage:
        showFieldText(*E_ILoadFile, str("FileName"));
        Ch_ITransparent->setChecked(flag("Transparent", false));
        Ch_IAutosize->setChecked(flag("AutoSize", true));
        Ch_IStretch->setChecked(flag("Stretch", false));
        break;
    }
    if (hasChangeScript(m_type))
        SM_ChangeFunc->setLines(scriptLines("ChangeFunc"));
    SG_CLBItems->setCurrentCell(0, 0);
    refreshItemButtons();
    B_Font->setEnabled(m_type != ctProgressBar && m_type != ctImage);
    E_Name->setFocus();
    m_shown = fieldWrites();
}

bool Tfrm_CtlProperties::nameAccepted(const QString &name)
{
    const bool asShown = !m_shown.empty() && m_shown.front().value.front() == name.toStdString();
    if (!asShown && !isControlName(name.toStdString())) {
        showError(m_seams, this,
                  QStringLiteral("\"%1\" is not a valid control name: a name consists of letters, digits and "
                                 "underscores only.")
                      .arg(name));
        return false;
    }
    const long other = m_main.document().indexOfName(name.toStdString());
    if (other >= 0 && other != m_index) {
        showError(m_seams, this, QStringLiteral("A control named \"%1\" already exists.").arg(name));
        return false;
    }
    return true;
}

std::vector<Tfrm_CtlProperties::FieldWrite> Tfrm_CtlProperties::fieldWrites() const
{
    std::vector<FieldWrite> w;
    const auto value = [&w](std::string key, std::string v) {
        w.push_back({FieldWrite::Value, std::move(key), {std::move(v)}});
    };
    const auto str = [&value](std::string key, const QLineEdit *edit) { value(std::move(key), text(edit)); };
    const auto integer = [&value](std::string key, const QSpinBox *spin) {
        value(std::move(key), std::to_string(spin->value()));
    };
    const auto flag = [&value](std::string key, const QCheckBox *box) {
        value(std::move(key), box->isChecked() ? "1" : "0");
    };
    const auto list = [&w](std::string stem, TStringList lines) {
        w.push_back({FieldWrite::Lines, std::move(stem), std::move(lines)});
    };

    value("Name", singleLineText(E_Name->text()).toStdString());
    integer("Left", SE_Left);
    integer("Top", SE_Top);
    integer("Width", SE_Width);
    integer("Height", SE_Height);
    str("Hint", E_Hint);
    flag("Enabled", Ch_Enabled);
    list("ClickFunc", lines(SM_ClickFunc));
    flag("Visible", Ch_Visible);
    const TFontSpec &font = FontDialog->font();
    value("FontName", font.name);
    value("FontSize", std::to_string(font.size));
    value("FontColor", std::to_string(font.color));
    value("FontStyle", std::to_string(font.style));

    switch (m_type) {
    case ctEdit: {
        // No password character is stored as a blank.
        const QString pw = singleLineText(E_PWChar->text()).left(1);
        str("Text", E_EditText);
        value("PWChar", pw.isEmpty() ? std::string(" ") : pw.toStdString());
        flag("ReadOnly", Ch_EditReadOnly);
        list("ChangeFunc", lines(SM_ChangeFunc));
        break;
    }
    case ctButton:
        str("Caption", E_ButtonCaption);
        flag("Default", Ch_BDefault);
        flag("Cancel", Ch_BCancel);
        break;
    case ctLabel:
        str("Caption", E_LabelCaption);
        flag("WordWrap", Ch_LabelWordWrap);
        flag("Transparent", Ch_LabelTransparent);
        break;
    case ctCheckBox:
        str("Caption", E_CheckboxCaption);
        flag("Checked", Ch_CheckboxChecked);
        break;
    case ctComboBox:
        list("Items", lines(M_ComboItems));
        integer("ItemIndex", SE_ComboSelItem);
        flag("CanEdit", Ch_ComboAllowInput);
        list("ChangeFunc", lines(SM_ChangeFunc));
        break;
    case ctRadioGroup:
        str("Caption", E_RGCaption);
        list("Items", lines(M_RGItems));
        integer("ItemIndex", SE_RGSelItem);
        break;
    case ctRichEdit: {
        list("Text", lines(RE_RELines));
        str("FileName", E_REFileName);
        flag("ReadOnly", Ch_REReadOnly);
        const bool horz = ch_HorzScrollBar->isChecked(), vert = Ch_VertScrollBar->isChecked();
        value("ScrollBars", std::to_string(horz && vert ? 3 : horz ? 1 : vert ? 2 : 0));
        flag("WordWrap", Ch_REWordWrap);
        list("ChangeFunc", lines(SM_ChangeFunc));
        break;
    }
    case ctListBox:
        list("Items", lines(M_LBItems));
        integer("ItemIndex", SE_LBSelItem);
        break;
    case ctChkListBox: {
        FieldWrite items{FieldWrite::CheckItems, "Items", {}};
        for (int i = 0; i < itemCount(); ++i) {
            items.value.push_back(singleLineText(cell(SG_CLBItems, i, 0)).toStdString());
            items.value.push_back(isYes(cell(SG_CLBItems, i, 1)) ? "1" : "0");
            items.value.push_back(isYes(cell(SG_CLBItems, i, 2)) ? "1" : "0");
        }
        w.push_back(std::move(items));
        break;
    }
    case ctProgressBar:
        integer("Position", SE_PBPosition);
        integer("MinValue", SE_PBMinValue);
        integer("MaxValue", SE_PBMaxValue);
        flag("Smooth", Ch_PBSmooth);
        break;
    case ctImage:
        str("FileName", E_ILoadFile);
        flag("Transparent", Ch_ITransparent);
        flag("AutoSize", Ch_IAutosize);
        flag("Stretch", Ch_IStretch);
        break;
    }
    return w;
}

void Tfrm_CtlProperties::B_OKClick()
{
    if (m_index < 0 || static_cast<size_t>(m_index) >= m_main.document().controlCount()) {
        reject();
        return;
    }
    std::vector<FieldWrite> writes = fieldWrites();
    const auto index = static_cast<size_t>(m_index);
    for (const FieldWrite &write : writes)
        for (const std::string &v : write.value)
            if (!fitsWindows1252(v)) {
                showError(m_seams, this,
                          QStringLiteral("\"%1\" holds a character that a dialog file cannot store.")
                              .arg(QString::fromStdString(v)));
                return;
            }
    FieldWrite &nameWrite = writes.front();
    if (nameWrite.value.front().empty()) {
        // As when a control comes in without a name.
        nameWrite.value.front() = m_main.document().generatedName(m_type);
    } else if (!nameAccepted(QString::fromStdString(nameWrite.value.front()))) {
        E_Name->setFocus();
        return;
    }

    TStringList keys = m_main.document().control(index).keys;
    TKeyListStore ini(keys);
    const auto shownAs = [this](const FieldWrite &write) -> const FieldWrite * {
        for (const FieldWrite &s : m_shown)
            if (s.kind == write.kind && s.key == write.key)
                return &s;
        return nullptr;
    };
    for (const FieldWrite &write : writes) {
        const FieldWrite *before = shownAs(write);
        const std::string presentKey = write.kind == FieldWrite::Value ? write.key : write.key + "Count";
        // A field the author left keeps its lines as they stand; only a key
        // the list lacks is written for it.
        if (before && *before == write && ini.ReadString(S, presentKey, kAbsent) != kAbsent)
            continue;
        switch (write.kind) {
        case FieldWrite::Value:
            ini.WriteString(S, write.key, write.value.front());
            break;
        case FieldWrite::Lines:
            WriteScriptLines(ini, S, write.value, write.key);
            break;
        case FieldWrite::CheckItems: {
            const size_t count = write.value.size() / 3;
            ini.WriteInteger(S, "ItemsCount", static_cast<int32_t>(count));
            for (size_t i = 0; i < count; ++i) {
                const std::string stem = "Items" + std::to_string(i);
                ini.WriteString(S, "ItemsLine" + std::to_string(i), write.value[3 * i]);
                ini.WriteString(S, stem + "Checked", write.value[3 * i + 1]);
                ini.WriteString(S, stem + "Enabled", write.value[3 * i + 2]);
            }
            break;
        }
        }
    }
    m_main.BuildControl(std::move(keys), index);
    m_main.CtlClick(m_index);
    m_main.SetModified(true);
    accept();
}

void Tfrm_CtlProperties::B_FontClick()
{
    FontDialog->Execute();
}

// ---------------------------------------------------------------------------
// The check-list items: rows 0 .. itemCount()-1, then the empty row.

int Tfrm_CtlProperties::itemCount() const
{
    return std::max(0, SG_CLBItems->rowCount() - 1);
}

void Tfrm_CtlProperties::addItemRow(int row, const QString &caption, bool checked, bool enabled)
{
    SG_CLBItems->insertRow(row);
    SG_CLBItems->setItem(row, 0, new QTableWidgetItem(caption));
    SG_CLBItems->setItem(row, 1, new QTableWidgetItem(yesNo(checked)));
    SG_CLBItems->setItem(row, 2, new QTableWidgetItem(yesNo(enabled)));
    refreshItemButtons();
}

void Tfrm_CtlProperties::swapRows(int a, int b)
{
    for (int column = 0; column < SG_CLBItems->columnCount(); ++column) {
        QTableWidgetItem *first = SG_CLBItems->takeItem(a, column);
        QTableWidgetItem *second = SG_CLBItems->takeItem(b, column);
        SG_CLBItems->setItem(a, column, second);
        SG_CLBItems->setItem(b, column, first);
    }
}

void Tfrm_CtlProperties::refreshItemButtons()
{
    const int row = SG_CLBItems->currentRow();
    const bool onItem = row >= 0 && row < itemCount();
    B_Edit->setEnabled(onItem);
    B_Delete->setEnabled(onItem);
}

void Tfrm_CtlProperties::SG_CLBItemsClick()
{
    refreshItemButtons();
}

void Tfrm_CtlProperties::B_AddClick()
{
    const int row = itemCount();
    addItemRow(row, QString(), false, true);
    SG_CLBItems->setCurrentCell(row, 0);
    if (m_itemDialog.ShowModal(*SG_CLBItems) != QDialog::Accepted) {
        SG_CLBItems->removeRow(row);
        SG_CLBItems->setCurrentCell(row, 0);
    }
    refreshItemButtons();
}

void Tfrm_CtlProperties::B_EditClick()
{
    const int row = SG_CLBItems->currentRow();
    if (row >= 0 && row < itemCount())
        m_itemDialog.ShowModal(*SG_CLBItems);
}

void Tfrm_CtlProperties::B_DeleteClick()
{
    const int row = SG_CLBItems->currentRow();
    if (row < 0 || row >= itemCount())
        return;
    SG_CLBItems->removeRow(row);
    SG_CLBItems->setCurrentCell(row, 0);
    refreshItemButtons();
}

void Tfrm_CtlProperties::B_UpClick()
{
    const int row = SG_CLBItems->currentRow();
    if (row <= 0 || row >= itemCount())
        return;
    swapRows(row, row - 1);
    SG_CLBItems->setCurrentCell(row - 1, 0);
}

void Tfrm_CtlProperties::B_DownClick()
{
    const int row = SG_CLBItems->currentRow();
    if (row < 0 || row >= itemCount() - 1)
        return;
    swapRows(row, row + 1);
    SG_CLBItems->setCurrentCell(row + 1, 0);
}

} // namespace wharf
