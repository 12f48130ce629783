#include "preferences.h"

#include "mainform.h"
#include "scriptmemo.h"
#include "settings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

QString settingsKey()
{
    return QString::fromUtf8(kDesignerSettingsKey.data(), static_cast<qsizetype>(kDesignerSettingsKey.size()));
}

} // namespace

Tfrm_Preferences::Tfrm_Preferences(Tfrm_Main &main, const Seams &seams, QString settingsFolder, QWidget *parent)
    : QDialog(parent), m_main(main), m_seams(seams), m_settingsFolder(std::move(settingsFolder))
{
    setObjectName(QStringLiteral("frm_Preferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const auto spin = [this](const char *name) {
        auto *s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(2, 20);
        s->setValue(5);
        return s;
    };
    SE_XGrid = spin("SE_XGrid");
    SE_YGrid = spin("SE_YGrid");
    Ch_ClickPlace = new QCheckBox(QStringLiteral("Controls \"click into place\""), this);
    Ch_ClickPlace->setObjectName(QStringLiteral("Ch_ClickPlace"));
    Ch_ClickPlace->setChecked(true);
    Ch_SyntaxHighlight = new QCheckBox(QStringLiteral("Enable syntax highlighting"), this);
    Ch_SyntaxHighlight->setObjectName(QStringLiteral("Ch_SyntaxHighlight"));
    Ch_SyntaxHighlight->setChecked(true);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("X grid size:"), SE_XGrid);
    form->addRow(QStringLiteral("Y grid size:"), SE_YGrid);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Ch_ClickPlace);
    layout->addWidget(Ch_SyntaxHighlight);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(B_OK, &QPushButton::clicked, this, &Tfrm_Preferences::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    ReadSettings();
}

void Tfrm_Preferences::applyGrid()
{
    m_main.setGridPrefs(TGridPrefs{SE_XGrid->value(), SE_YGrid->value(), Ch_ClickPlace->isChecked()});
}

void Tfrm_Preferences::ReadSettings()
{
    Settings settings(m_settingsFolder);
    if (settings.openKeyReadOnly(settingsKey())) {
        try {
            // The spin boxes hold a stored size within 2..20.
            SE_XGrid->setValue(std::clamp(settings.readInteger(QStringLiteral("XGrid")), 2, 20));
            SE_YGrid->setValue(std::clamp(settings.readInteger(QStringLiteral("YGrid")), 2, 20));
            Ch_ClickPlace->setChecked(settings.readBool(QStringLiteral("Click")));
            const QString highlight = QStringLiteral("SyntaxHighlight");
            Ch_SyntaxHighlight->setChecked(!settings.valueExists(highlight) || settings.readBool(highlight));
        } catch (const ERegistryException &) {
            // What was read so far stays; the rest keeps its defaults.
        }
        settings.closeKey();
    }
    TScriptMemo::setHighlightSyntax(Ch_SyntaxHighlight->isChecked());
    applyGrid();
    m_main.PaintGrid();
}

int Tfrm_Preferences::ShowModal()
{
    const int x = SE_XGrid->value(), y = SE_YGrid->value();
    const bool click = Ch_ClickPlace->isChecked(), highlight = Ch_SyntaxHighlight->isChecked();
    const int result = m_seams.modal->exec(*this);
    if (result != QDialog::Accepted) {
        SE_XGrid->setValue(x);
        SE_YGrid->setValue(y);
        Ch_ClickPlace->setChecked(click);
        Ch_SyntaxHighlight->setChecked(highlight);
        applyGrid();
    }
    return result;
}

void Tfrm_Preferences::B_OKClick()
{
    Settings settings(m_settingsFolder);
    if (settings.openKey(settingsKey(), true)) {
        settings.writeInteger(QStringLiteral("XGrid"), SE_XGrid->value());
        settings.writeInteger(QStringLiteral("YGrid"), SE_YGrid->value());
        settings.writeBool(QStringLiteral("Click"), Ch_ClickPlace->isChecked());
        settings.writeBool(QStringLiteral("SyntaxHighlight"), Ch_SyntaxHighlight->isChecked());
        if (!settings.closeKey())
            showError(m_seams, this, QStringLiteral("Could not store the preferences in %1.")
                                         .arg(settings.configFolder()));
    }
    TScriptMemo::setHighlightSyntax(Ch_SyntaxHighlight->isChecked());
    applyGrid();
    m_main.PaintGrid();
    accept();
}

} // namespace wharf
