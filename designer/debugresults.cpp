#include "debugresults.h"

#include "codec.h"
#include "files.h"
#include "inistore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {

Tfrm_DebugResults::Tfrm_DebugResults(const Seams &seams, QWidget *parent) : QDialog(parent), m_seams(seams)
{
    setObjectName(QStringLiteral("frm_DebugResults"));
    setWindowTitle(QStringLiteral("Debug results"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    SG_VarValues = new QTableWidget(0, 2, this);
    SG_VarValues->setObjectName(QStringLiteral("SG_VarValues"));
    SG_VarValues->setHorizontalHeaderLabels({QStringLiteral("Variable name"), QStringLiteral("Value")});
    SG_VarValues->setSelectionBehavior(QAbstractItemView::SelectRows);
    SG_VarValues->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_VarValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG_VarValues->verticalHeader()->hide();
    SG_VarValues->horizontalHeader()->setStretchLastSection(true);
    SG_VarValues->setColumnWidth(0, 160);
    SG_VarValues->setMinimumSize(360, 240);
    B_Close = new QPushButton(QStringLiteral("&Close"), this);
    B_Close->setObjectName(QStringLiteral("B_Close"));
    B_Close->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SG_VarValues, 1);
    layout->addLayout(buttons);

    connect(B_Close, &QPushButton::clicked, this, &QDialog::accept);
}

QString Tfrm_DebugResults::dialogScratchFile() const
{
    return m_debugFolder.isEmpty() ? QString() : m_debugFolder + QStringLiteral("/dbg.tmp");
}

QString Tfrm_DebugResults::resultsFile() const
{
    return m_debugFolder.isEmpty() ? QString() : m_debugFolder + QStringLiteral("/debug.dat");
}

int Tfrm_DebugResults::ShowModal()
{
    FormShow();
    return m_seams.modal->exec(*this);
}

void Tfrm_DebugResults::FormShow()
{
    struct Row {
        std::string name, value;
    };
    std::vector<Row> rows;
    const std::string results = resultsFile().toStdString();
    const TMemIniStore ini(results, true);
    TStringList lines;
    ini.ReadSectionValues("VarValues", lines);
    for (const std::string &line : lines) {
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || eq == std::string::npos)
            continue;
        rows.push_back(Row{line.substr(0, eq), line.substr(eq + 1)});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row &a, const Row &b) { return foldedText(a.name) < foldedText(b.name); });

    SG_VarValues->clearContents();
    SG_VarValues->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i);
        SG_VarValues->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(rows[i].name)));
        SG_VarValues->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(rows[i].value)));
    }
    deleteFile(results);
    deleteFile(dialogScratchFile().toStdString());
}

} // namespace wharf
