#include "drawobject.h"

#include "colors.h"
#include "dialogfile.h"
#include "fonts.h"
#include "keylist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

QStringList qlines(const TStringList &lines)
{
    QStringList out;
    for (const std::string &line : lines)
        out << qs(line);
    return out;
}

// A label shows "&x" as an underlined x and "&&" as "&"; the picture shows
// the caption without the marks.
QString withoutAccelMarks(const QString &caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

void setWhiteBackground(QWidget *w, bool opaque = true)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::white);
    // Buttons (the check box among them) fill with their own role, the
    // button face: it must be white as well on the white surface.
    p.setColor(w->backgroundRole(), Qt::white);
    w->setPalette(p);
    w->setAutoFillBackground(opaque);
}

// Reads the keys of one key list by the designer's rules.
class Keys {
public:
    explicit Keys(TStringList &lines) : m_store(lines), m_lineCount(lines.size()) {}
    QString text(const char *key) const { return qs(m_store.ReadString(kKeyListSection, key, "")); }
    int integer(const char *key, int def) const { return m_store.ReadInteger(kKeyListSection, key, def); }
    bool flag(const std::string &key, bool def) const { return m_store.ReadBool(kKeyListSection, key, def); }
    QStringList lines(const char *stem) const
    {
        return qlines(ReadScriptLines(m_store, kKeyListSection, stem, m_lineCount));
    }

    void applyFont(QWidget *w) const
    {
        const TFontSpec f = ReadFont(m_store, kKeyListSection, "Font");
        w->setFont(storedFont(qs(f.name), f.size, f.style));
        QPalette p = w->palette();
        const QColor color = toQColor(f.color, p);
        // A disabled control keeps the greyed text of its palette.
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                p.setColor(group, role, color);
        w->setPalette(p);
    }

private:
    TKeyListStore m_store;
    size_t m_lineCount;
};

} // namespace

Tfrm_DrawObject::Tfrm_DrawObject(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frm_DrawObject"));
    // Shown only for the copy, and never on the screen.
    setAttribute(Qt::WA_DontShowOnScreen);
    move(-500, 0);
    setWhiteBackground(this);
    setFont(storedFont(QStringLiteral("MS Sans Serif"), 8));

    const auto make = [this](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        widget->move(0, 0);
        widget->hide();
        return widget;
    };
    E_Draw = make(new QLineEdit(this), "E_Draw");
    B_Draw = make(new QPushButton(this), "B_Draw");
    L_Draw = make(new QLabel(this), "L_Draw");
    Ch_Draw = make(new QCheckBox(this), "Ch_Draw");
    CB_Draw = make(new QComboBox(this), "CB_Draw");
    RG_Draw = make(new QGroupBox(this), "RG_Draw");
    RE_Draw = make(new QTextEdit(this), "RE_Draw");
    LB_Draw = make(new QListWidget(this), "LB_Draw");
    CLB_Draw = make(new QListWidget(this), "CLB_Draw");
    PB_Draw = make(new QProgressBar(this), "PB_Draw");
    I_Draw = make(new QLabel(this), "I_Draw");

    // The items share the group's room below its caption evenly, as the
    // runtime lays them out; the layout's own margins would leave a group
    // of a stored height too little room and clip the items' text.
    auto *items = new QVBoxLayout(RG_Draw);
    items->setContentsMargins(8, 0, 8, 0);
    items->setSpacing(0);
    RE_Draw->setAcceptRichText(false);
    PB_Draw->setRange(0, 100);
    PB_Draw->setTextVisible(false);
    I_Draw->setScaledContents(true);
    L_Draw->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QWidget *Tfrm_DrawObject::prototype(int type) const
{
    switch (type) {
    case ctEdit: return E_Draw;
    case ctButton: return B_Draw;
    case ctLabel: return L_Draw;
    case ctCheckBox: return Ch_Draw;
    case ctComboBox: return CB_Draw;
    case ctRadioGroup: return RG_Draw;
    case ctRichEdit: return RE_Draw;
    case ctListBox: return LB_Draw;
    case ctChkListBox: return CLB_Draw;
    case ctProgressBar: return PB_Draw;
    case ctImage: return I_Draw;
    default: return nullptr;
    }
}

QWidget *Tfrm_DrawObject::setUp(int type, TStringList lines)
{
    const Keys k(lines);
    QWidget *proto = prototype(type);
    proto->setEnabled(k.flag("Enabled", true));
    switch (type) {
    case ctEdit: {
        k.applyFont(E_Draw);
        const QString text = k.text("Text");
        const QString pw = k.text("PWChar");
        // A blank password character stands for none.
        const bool masked = !pw.isEmpty() && pw.front() != QLatin1Char(' ');
        E_Draw->setText(masked ? QString(text.size(), pw.front()) : text);
        E_Draw->setReadOnly(k.flag("ReadOnly", false));
        E_Draw->setCursorPosition(0);
        E_Draw->deselect();
        break;
    }
    case ctButton:
        k.applyFont(B_Draw);
        B_Draw->setText(k.text("Caption"));
        B_Draw->setDefault(k.flag("Default", false));
        break;
    case ctLabel:
        setWhiteBackground(L_Draw, !k.flag("Transparent", false));
        k.applyFont(L_Draw);
        L_Draw->setText(withoutAccelMarks(k.text("Caption")));
        L_Draw->setWordWrap(k.flag("WordWrap", false));
        break;
    case ctCheckBox:
        setWhiteBackground(Ch_Draw);
        k.applyFont(Ch_Draw);
        Ch_Draw->setText(k.text("Caption"));
        Ch_Draw->setChecked(k.flag("Checked", false));
        break;
    case ctComboBox: {
        k.applyFont(CB_Draw);
        CB_Draw->clear();
        CB_Draw->addItems(k.lines("Items"));
        CB_Draw->setEditable(k.flag("CanEdit", true));
        const int index = k.integer("ItemIndex", -1);
        CB_Draw->setCurrentIndex(index >= 0 && index < CB_Draw->count() ? index : -1);
        if (CB_Draw->isEditable() && CB_Draw->currentIndex() < 0)
            CB_Draw->setEditText(QString());
        break;
    }
    case ctRadioGroup: {
        setWhiteBackground(RG_Draw);
        RG_Draw->setTitle(k.text("Caption"));
        k.applyFont(RG_Draw);
        QLayout *layout = RG_Draw->layout();
        while (QLayoutItem *item = layout->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        const QStringList items = k.lines("Items");
        const int index = k.integer("ItemIndex", -1);
        for (qsizetype i = 0; i < items.size(); ++i) {
            auto *radio = new QRadioButton(items[i], RG_Draw);
            radio->setAutoExclusive(false);
            radio->setChecked(i == index);
            layout->addWidget(radio);
        }
        break;
    }
    case ctRichEdit: {
        k.applyFont(RE_Draw);
        RE_Draw->setPlainText(k.lines("Text").join(QLatin1Char('\n')));
        const int bars = k.integer("ScrollBars", 0);
        RE_Draw->setHorizontalScrollBarPolicy((bars == 1 || bars == 3) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        RE_Draw->setVerticalScrollBarPolicy((bars == 2 || bars == 3) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        RE_Draw->setReadOnly(k.flag("ReadOnly", false));
        RE_Draw->setLineWrapMode(k.flag("WordWrap", true) ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        break;
    }
    case ctListBox:
        k.applyFont(LB_Draw);
        LB_Draw->clear();
        LB_Draw->addItems(k.lines("Items"));
        LB_Draw->setCurrentRow(k.integer("ItemIndex", -1));
        break;
    case ctChkListBox: {
        k.applyFont(CLB_Draw);
        CLB_Draw->clear();
        const QStringList items = k.lines("Items");
        for (qsizetype n = 0; n < items.size(); ++n) {
            auto *item = new QListWidgetItem(items[n], CLB_Draw);
            const std::string stem = "Items" + std::to_string(n);
            item->setCheckState(k.flag(stem + "Checked", false) ? Qt::Checked : Qt::Unchecked);
            Qt::ItemFlags flags = item->flags() | Qt::ItemIsUserCheckable;
            if (!k.flag(stem + "Enabled", true))
                flags &= ~Qt::ItemIsEnabled;
            item->setFlags(flags);
        }
        break;
    }
    case ctProgressBar: {
        const int minimum = k.integer("MinValue", 0);
        const int maximum = k.integer("MaxValue", 100);
        PB_Draw->setRange(minimum, std::max(minimum, maximum));
        PB_Draw->setValue(std::clamp(k.integer("Position", 0), PB_Draw->minimum(), PB_Draw->maximum()));
        break;
    }
    case ctImage:
        // Images are grey placeholders; their files are not loaded.
        setWhiteBackground(I_Draw, !k.flag("Transparent", false));
        break;
    }
    return proto;
}

QPixmap Tfrm_DrawObject::renderControl(const TStringList &keys, int width, int height)
{
    TStringList lines = keys;
    const int type = effectiveControlType(keyListInteger(lines, "Type", ctEdit));
    QWidget *proto = setUp(type, std::move(lines));
    proto->setGeometry(0, 0, width, height);
    resize(width + 5, height + 5);
    if (type == ctImage) {
        QPixmap placeholder(width, height);
        placeholder.fill(QColor(192, 192, 192));
        QPainter painter(&placeholder);
        painter.setPen(Qt::black);
        painter.drawRect(0, 0, width - 1, height - 1);
        painter.end();
        I_Draw->setPixmap(placeholder);
    }
    show();
    proto->show();
    const QPixmap picture = grab(QRect(0, 0, width, height));
    proto->hide();
    hide();
    return picture;
}

} // namespace wharf
