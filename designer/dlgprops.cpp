#include "dlgprops.h"

#include "codec.h"
#include "fieldtext.h"
#include "mainform.h"
#include "scriptmemo.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wharf {

Tfrm_DlgProps::Tfrm_DlgProps(Tfrm_Main &main, const Seams &seams, QWidget *parent)
    : QDialog(parent), m_main(main), m_seams(seams)
{
    setObjectName(QStringLiteral("frm_DlgProps"));
    setWindowTitle(QStringLiteral("Dialog Properties"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    E_DlgTitle = new QLineEdit(this);
    E_DlgTitle->setObjectName(QStringLiteral("E_DlgTitle"));
    const auto check = [this](const char *name, const char *caption) {
        auto *c = new QCheckBox(QString::fromUtf8(caption), this);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    Ch_NextEnabled = check("Ch_NextEnabled", "Enable Next button");
    Ch_BackEnabled = check("Ch_BackEnabled", "Enable Back button");
    Ch_CancelEnabled = check("Ch_CancelEnabled", "Enable Cancel button");
    PC_Scripts = new QTabWidget(this);
    PC_Scripts->setObjectName(QStringLiteral("PC_Scripts"));
    const auto script = [this](const char *name, const char *caption) {
        auto *memo = new TScriptMemo(PC_Scripts, m_seams);
        memo->setObjectName(QLatin1String(name));
        memo->setProgramFolder(m_main.programFolder());
        PC_Scripts->addTab(memo, QString::fromUtf8(caption));
        return memo;
    };
    SM_InitScript = script("SM_InitScript", "Initialization script");
    SM_ShowScript = script("SM_ShowScript", "Script for Show event");
    SM_NextScript = script("SM_NextScript", "Script for \"Next\" button");
    SM_BackScript = script("SM_BackScript", "Script for \"Back\" button");
    // Wide enough for every tab's caption: no tab hides behind scroll arrows.
    PC_Scripts->setMinimumSize(std::max(480, PC_Scripts->tabBar()->sizeHint().width() + 4), 260);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    B_Cancel->setObjectName(QStringLiteral("B_Cancel"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Dialog Title:"), E_DlgTitle);
    auto *checks = new QHBoxLayout;
    checks->addWidget(Ch_NextEnabled);
    checks->addWidget(Ch_BackEnabled);
    checks->addWidget(Ch_CancelEnabled);
    checks->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(checks);
    layout->addWidget(PC_Scripts, 1);
    layout->addLayout(buttons);

    connect(B_OK, &QPushButton::clicked, this, &Tfrm_DlgProps::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int Tfrm_DlgProps::ShowModal()
{
    FormShow();
    return m_seams.modal->exec(*this);
}

void Tfrm_DlgProps::FormShow()
{
    const TDialogPage &page = m_main.document().page();
    showFieldText(*E_DlgTitle, QString::fromStdString(page.title));
    SM_InitScript->setLines(toQStringList(page.initScript));
    SM_ShowScript->setLines(toQStringList(page.showScript));
    SM_BackScript->setLines(toQStringList(page.backScript));
    SM_NextScript->setLines(toQStringList(page.nextScript));
    Ch_NextEnabled->setChecked(page.nextEnabled);
    Ch_BackEnabled->setChecked(page.backEnabled);
    Ch_CancelEnabled->setChecked(page.cancelEnabled);
    PC_Scripts->setCurrentIndex(0);
    E_DlgTitle->setFocus();
    m_shownScripts = {SM_InitScript->Lines(), SM_ShowScript->Lines(), SM_BackScript->Lines(), SM_NextScript->Lines()};
    m_shownTitle = E_DlgTitle->text();
}

void Tfrm_DlgProps::B_OKClick()
{
    TDialogPage page = m_main.document().page();
    if (E_DlgTitle->text() != m_shownTitle)
        page.title = singleLineText(E_DlgTitle->text()).toStdString();
    // A script the author left keeps its lines as they are, even those the
    // frame can't tell apart (one empty line and none, a last empty line).
    const auto kept = [](const TScriptMemo *memo, const QStringList &shown, TStringList &script) {
        if (memo->Lines() != shown)
            script = toStringList(memo->Lines());
    };
    kept(SM_InitScript, m_shownScripts[0], page.initScript);
    kept(SM_ShowScript, m_shownScripts[1], page.showScript);
    kept(SM_BackScript, m_shownScripts[2], page.backScript);
    kept(SM_NextScript, m_shownScripts[3], page.nextScript);
    page.backEnabled = Ch_BackEnabled->isChecked();
    page.nextEnabled = Ch_NextEnabled->isChecked();
    page.cancelEnabled = Ch_CancelEnabled->isChecked();
    for (const TStringList *texts : {&page.initScript, &page.showScript, &page.backScript, &page.nextScript})
        for (const std::string &line : *texts)
            if (!fitsWindows1252(line)) {
                showError(m_seams, this,
                          QStringLiteral("\"%1\" holds a character that a dialog file cannot store.")
                              .arg(QString::fromStdString(line)));
                return;
            }
    if (!fitsWindows1252(page.title)) {
        showError(m_seams, this,
                  QStringLiteral("\"%1\" holds a character that a dialog file cannot store.")
                      .arg(QString::fromStdString(page.title)));
        return;
    }
    m_main.document().setPage(std::move(page));
    // Shows the new caption and button states.
    m_main.SetModified(true);
    accept();
}

} // namespace wharf
