#include "fontdialog.h"

#include "colors.h"
#include "fieldtext.h"
#include "fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace wharf {
namespace {

constexpr int kStyleBits = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut;

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}


} // namespace

TFontDialog::TFontDialog(const Seams &seams, QWidget *parent) : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("Font"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    CB_FontName = new QComboBox(this);
    CB_FontName->setObjectName(QStringLiteral("CB_FontName"));
    CB_FontName->setEditable(true);
    CB_FontName->addItems(QFontDatabase::families());
    SE_FontSize = new QSpinBox(this);
    SE_FontSize->setObjectName(QStringLiteral("SE_FontSize"));
    SE_FontSize->setRange(1, 1638);
    const auto check = [this](const char *name, const char *caption) {
        auto *box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QLatin1String(name));
        connect(box, &QCheckBox::toggled, this, &TFontDialog::showSample);
        return box;
    };
    Ch_Bold = check("Ch_Bold", "&Bold");
    Ch_Italic = check("Ch_Italic", "&Italic");
    Ch_Underline = check("Ch_Underline", "&Underline");
    Ch_StrikeOut = check("Ch_StrikeOut", "&Strike-out");
    B_Color = new QPushButton(QStringLiteral("C&olour..."), this);
    B_Color->setObjectName(QStringLiteral("B_Color"));
    L_Sample = new QLabel(QStringLiteral("AaBbYyZz"), this);
    L_Sample->setObjectName(QStringLiteral("L_Sample"));
    L_Sample->setMinimumSize(220, 48);
    L_Sample->setAlignment(Qt::AlignCenter);
    L_Sample->setFrameShape(QFrame::StyledPanel);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), CB_FontName);
    form->addRow(QStringLiteral("&Size:"), SE_FontSize);
    auto *styles = new QHBoxLayout;
    for (QCheckBox *box : {Ch_Bold, Ch_Italic, Ch_Underline, Ch_StrikeOut})
        styles->addWidget(box);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_Color);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(styles);
    layout->addWidget(L_Sample);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CB_FontName, &QComboBox::currentTextChanged, this, &TFontDialog::showSample);
    connect(SE_FontSize, &QSpinBox::valueChanged, this, &TFontDialog::showSample);
    connect(B_Color, &QPushButton::clicked, this, &TFontDialog::B_ColorClick);
    connect(B_OK, &QPushButton::clicked, this, &TFontDialog::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFontDialog::setFontSpec(const TFontSpec &font)
{
    m_font = font;
    m_newColor.reset();
    const QString name = qs(font.name);
    if (CB_FontName->findText(name, Qt::MatchFixedString) < 0)
        CB_FontName->insertItem(0, name);
    CB_FontName->setCurrentText(name);
    SE_FontSize->setValue(font.size);
    Ch_Bold->setChecked(font.style & kFontBold);
    Ch_Italic->setChecked(font.style & kFontItalic);
    Ch_Underline->setChecked(font.style & kFontUnderline);
    Ch_StrikeOut->setChecked(font.style & kFontStrikeOut);
    m_shownName = CB_FontName->currentText();
    m_shownSize = SE_FontSize->value();
    showSample();
}

bool TFontDialog::Execute()
{
    setFontSpec(m_font);
    return m_seams.modal->exec(*this) == QDialog::Accepted;
}

void TFontDialog::B_ColorClick()
{
    ColorDialogRequest request;
    request.initial = toQColor(m_newColor.value_or(m_font.color));
    const ColorDialogResult result = m_seams.colorDialogs->run(this, request);
    if (result.accepted && result.color != request.initial) {
        m_newColor = fromQColor(result.color);
        showSample();
    }
}

void TFontDialog::B_OKClick()
{
    const QString name = singleLineText(CB_FontName->currentText()).trimmed();
    if (name != m_shownName && !name.isEmpty())
        m_font.name = name.toStdString();
    if (SE_FontSize->value() != m_shownSize)
        m_font.size = SE_FontSize->value();
    m_font.style = (m_font.style & ~kStyleBits) | checkedStyleBits();
    if (m_newColor)
        m_font.color = *m_newColor;
    m_newColor.reset();
    accept();
}

int TFontDialog::checkedStyleBits() const
{
    int bits = 0;
    if (Ch_Bold->isChecked())
        bits |= kFontBold;
    if (Ch_Italic->isChecked())
        bits |= kFontItalic;
    if (Ch_Underline->isChecked())
        bits |= kFontUnderline;
    if (Ch_StrikeOut->isChecked())
        bits |= kFontStrikeOut;
    return bits;
}

void TFontDialog::showSample()
{
    L_Sample->setFont(storedFont(CB_FontName->currentText(), SE_FontSize->value(), checkedStyleBits()));
    QPalette palette = L_Sample->palette();
    palette.setColor(QPalette::WindowText, toQColor(m_newColor.value_or(m_font.color)));
    L_Sample->setPalette(palette);
}

} // namespace wharf
