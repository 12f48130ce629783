#include "inipage.h"

#include "editorwindows.h"
#include "entryfields.h"
#include "entrygrid.h"
#include "inieditor.h"
#include "projectcontroller.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace wharf {

TIniPage::TIniPage(PageContext &context, int pageIndex, QWidget *parent) : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Ini"));
    L_IniEntries = new QLabel(QStringLiteral("INI entries:"), this);
    L_IniEntries->setObjectName(QStringLiteral("L_IniEntries"));
    SG_IniEntries = new TEntryGrid(QStringLiteral("SG_IniEntries"),
                                   {QString(), QStringLiteral("INI file name"), QStringLiteral("Section name"),
                                    QStringLiteral("Key name"), QStringLiteral("Value name"), QStringLiteral("Uninst."),
                                    QStringLiteral("Overwr."), QStringLiteral("Create"), QStringLiteral("System")},
                                   {10, 84, 90, 89, 88, 36, 36, 33, 31}, this);
    L_IniEntries->setBuddy(SG_IniEntries);
    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    B_INIAdd = button("B_INIAdd", "&Add");
    B_INIEdit = button("B_INIEdit", "&Edit");
    B_INIDelete = button("B_INIDelete", "&Delete");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_INIAdd);
    buttons->addWidget(B_INIEdit);
    buttons->addWidget(B_INIDelete);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_IniEntries);
    layout->addWidget(SG_IniEntries, 1);
    layout->addLayout(buttons);

    connect(B_INIAdd, &QPushButton::clicked, this, &TIniPage::B_INIAddClick);
    connect(B_INIEdit, &QPushButton::clicked, this, &TIniPage::B_INIEditClick);
    connect(B_INIDelete, &QPushButton::clicked, this, &TIniPage::B_INIDeleteClick);
    connect(SG_IniEntries, &QTableWidget::cellDoubleClicked, this, &TIniPage::B_INIEditClick);
    connect(SG_IniEntries, &QTableWidget::currentCellChanged, this,
            [this](int row) { SG_IniEntriesSelectCell(row); });
    refill();
}

bool TIniPage::isEntryRow(int row)
{
    return row >= 0 && row < static_cast<int>(document().IniEntries.size());
}

void TIniPage::loadFromDocument(const Project &) { refill(); }

void TIniPage::refill()
{
    const Project &project = document();
    const int count = static_cast<int>(project.IniEntries.size());
    const int selected = project.Selection.IniEntry;
    const QSignalBlocker block(SG_IniEntries);
    SG_IniEntries->clearContents();
    SG_IniEntries->setRowCount(count + 1);
    for (int row = 0; row < count; ++row) {
        const IniEntry &e = project.IniEntries[static_cast<size_t>(row)];
        SG_IniEntries->setCell(row, 1, QString::fromStdString(e.FileName));
        SG_IniEntries->setCell(row, 2, QString::fromStdString(e.Section));
        SG_IniEntries->setCell(row, 3, QString::fromStdString(e.KeyName));
        SG_IniEntries->setCell(row, 4, QString::fromStdString(e.Value));
        SG_IniEntries->setCell(row, 5, yesNo(e.Uninstall));
        SG_IniEntries->setCell(row, 6, yesNo(e.Overwrite));
        SG_IniEntries->setCell(row, 7, yesNo(e.Create));
        SG_IniEntries->setCell(row, 8, QString::number(e.TargetSystems));
    }
    selectRow(selected >= 0 && selected < count ? selected : count);
}

void TIniPage::selectRow(int row)
{
    {
        const QSignalBlocker block(SG_IniEntries);
        SG_IniEntries->setCurrentCell(row, 1);
    }
    SG_IniEntriesSelectCell(row);
}

void TIniPage::SG_IniEntriesSelectCell(int row)
{
    const bool entry = isEntryRow(row);
    document().Selection.IniEntry = entry ? row : -1;
    B_INIEdit->setEnabled(entry);
    B_INIDelete->setEnabled(entry);
}

void TIniPage::B_INIAddClick()
{
    Project &project = document();
    // The empty last row becomes the new entry; a new empty row follows it.
    project.IniEntries.push_back(IniEntry{});
    project.Selection.IniEntry = static_cast<int>(project.IniEntries.size()) - 1;
    refill();
    TINIEditor *editor = context().windows().INIEditor.get();
    if (!editor || editor->ShowModal() != QDialog::Accepted)
        B_INIDeleteClick();
    else
        refill();
}

void TIniPage::B_INIEditClick()
{
    const int row = SG_IniEntries->currentRow();
    TINIEditor *editor = context().windows().INIEditor.get();
    if (!isEntryRow(row) || !editor)
        return;
    document().Selection.IniEntry = row;
    if (editor->ShowModal() == QDialog::Accepted)
        refill();
}

void TIniPage::B_INIDeleteClick()
{
    const int row = SG_IniEntries->currentRow();
    if (!isEntryRow(row))
        return;
    Project &project = document();
    project.IniEntries.erase(project.IniEntries.begin() + row);
    project.Selection.IniEntry = row;
    refill();
    markModified();
}

void TIniPage::navigationButtonClicked(int buttonIndex)
{
    if (buttonIndex == 0)
        B_INIAddClick();
}

} // namespace wharf
