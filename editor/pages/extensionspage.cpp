#include "extensionspage.h"

#include "buttonedits.h"
#include "editorwindows.h"
#include "entryfields.h"
#include "entrygrid.h"
#include "exdlleditor.h"
#include "exexecutableeditor.h"
#include "pagetable.h"
#include "seams.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

QPushButton *pageButton(QWidget *parent, const char *name, const char *caption)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// A tab holding a grid with its three buttons below it.
QWidget *gridSheet(QTabWidget *tabs, const PageTab &tab, TEntryGrid *grid, QPushButton *add, QPushButton *edit,
                   QPushButton *remove)
{
    QWidget *sheet = grid->parentWidget();
    sheet->setObjectName(QString::fromLatin1(tab.objectName));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    auto *layout = new QVBoxLayout(sheet);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    tabs->addTab(sheet, QString::fromUtf8(tab.caption));
    return sheet;
}

} // namespace

TExtensionsPage::TExtensionsPage(PageContext &context, int pageIndex, QWidget *parent)
    : TEditorPage(context, pageIndex, parent)
{
    setObjectName(QStringLiteral("Page_Extensions"));
    const PageInfo &info = editorPages().at(static_cast<size_t>(pageIndex));
    PC_ExtensionSheets = new QTabWidget(this);
    PC_ExtensionSheets->setObjectName(QString::fromLatin1(info.tabControl));

    auto *programSheet = new QWidget(PC_ExtensionSheets);
    SG_ExExtensions = new TEntryGrid(QStringLiteral("SG_ExExtensions"),
                                     {QStringLiteral("File name"), QStringLiteral("Execute at..."),
                                      QStringLiteral("Wait"), QStringLiteral("System")},
                                     {269, 72, 66, 67}, programSheet);
    B_AddExExtension = pageButton(programSheet, "B_AddExExtension", "&Add");
    B_EditExExtension = pageButton(programSheet, "B_EditExExtension", "&Edit");
    B_DeleteExExtension = pageButton(programSheet, "B_DeleteExExtension", "De&lete");
    TS_ExExtensions = gridSheet(PC_ExtensionSheets, info.tabs.at(0), SG_ExExtensions, B_AddExExtension,
                                B_EditExExtension, B_DeleteExExtension);

    auto *callSheet = new QWidget(PC_ExtensionSheets);
    SG_DllExtensions = new TEntryGrid(QStringLiteral("SG_DllExtensions"),
                                      {QStringLiteral("File name"), QStringLiteral("Function name"),
                                       QStringLiteral("Execute after")},
                                      {217, 184, 77}, callSheet);
    B_AddDllExtension = pageButton(callSheet, "B_AddDllExtension", "&Add");
    B_EditDllExtension = pageButton(callSheet, "B_EditDllExtension", "&Edit");
    B_DeleteDllExtension = pageButton(callSheet, "B_DeleteDllExtension", "&Delete");
    TS_DllExtensions = gridSheet(PC_ExtensionSheets, info.tabs.at(1), SG_DllExtensions, B_AddDllExtension,
                                 B_EditDllExtension, B_DeleteDllExtension);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PC_ExtensionSheets);

    connect(B_AddExExtension, &QPushButton::clicked, this, &TExtensionsPage::B_AddExExtensionClick);
    connect(B_EditExExtension, &QPushButton::clicked, this, &TExtensionsPage::B_EditExExtensionClick);
    connect(B_DeleteExExtension, &QPushButton::clicked, this, &TExtensionsPage::B_DeleteExExtensionClick);
    connect(SG_ExExtensions, &QTableWidget::cellDoubleClicked, this, &TExtensionsPage::B_EditExExtensionClick);
    connect(SG_ExExtensions, &QTableWidget::currentCellChanged, this,
            [this](int row) { SG_ExExtensionsSelectCell(row); });
    connect(B_AddDllExtension, &QPushButton::clicked, this, &TExtensionsPage::B_AddDllExtensionClick);
    connect(B_EditDllExtension, &QPushButton::clicked, this, &TExtensionsPage::B_EditDllExtensionClick);
    connect(B_DeleteDllExtension, &QPushButton::clicked, this, &TExtensionsPage::B_DeleteDllExtensionClick);
    connect(SG_DllExtensions, &QTableWidget::cellDoubleClicked, this, &TExtensionsPage::B_EditDllExtensionClick);
    connect(SG_DllExtensions, &QTableWidget::currentCellChanged, this,
            [this](int row) { SG_DllExtensionsSelectCell(row); });
    refillPrograms();
    refillCalls();
}

void TExtensionsPage::loadFromDocument(const Project &)
{
    refillPrograms();
    refillCalls();
}

void TExtensionsPage::refillPrograms()
{
    const Project &project = document();
    const int count = static_cast<int>(project.ExternalPrograms.size());
    const QSignalBlocker block(SG_ExExtensions);
    SG_ExExtensions->clearContents();
    SG_ExExtensions->setRowCount(std::max(count, 1));
    for (int row = 0; row < count; ++row) {
        const ExternalProgram &p = project.ExternalPrograms[static_cast<size_t>(row)];
        SG_ExExtensions->setCell(row, 0, QString::fromStdString(p.Command));
        SG_ExExtensions->setCell(row, 1, p.Uninstallation ? QStringLiteral("Uninstallation") : QStringLiteral("Installation"));
        SG_ExExtensions->setCell(row, 2, yesNo(p.Wait));
        SG_ExExtensions->setCell(row, 3, QString::number(p.TargetSystems));
    }
    const int selected = project.Selection.ExternalProgram;
    const int row = selected >= 0 && selected < count ? selected : 0;
    SG_ExExtensions->setCurrentCell(row, 0);
    SG_ExExtensionsSelectCell(row);
}

void TExtensionsPage::refillCalls()
{
    const Project &project = document();
    const int count = static_cast<int>(project.DllCalls.size());
    const QSignalBlocker block(SG_DllExtensions);
    SG_DllExtensions->clearContents();
    SG_DllExtensions->setRowCount(std::max(count, 1));
    for (int row = 0; row < count; ++row) {
        const DllCall &c = project.DllCalls[static_cast<size_t>(row)];
        SG_DllExtensions->setCell(row, 0, QString::fromStdString(c.FileName));
        SG_DllExtensions->setCell(row, 1, QString::fromStdString(c.FunctionName));
        SG_DllExtensions->setCell(row, 2, QString::number(c.ExecuteAfter));
    }
    const int selected = project.Selection.DllCall;
    const int row = selected >= 0 && selected < count ? selected : 0;
    SG_DllExtensions->setCurrentCell(row, 0);
    SG_DllExtensionsSelectCell(row);
}

void TExtensionsPage::SG_ExExtensionsSelectCell(int row)
{
    const bool entry = row >= 0 && row < static_cast<int>(document().ExternalPrograms.size());
    document().Selection.ExternalProgram = entry ? row : -1;
    B_EditExExtension->setEnabled(entry);
    B_DeleteExExtension->setEnabled(entry);
}

void TExtensionsPage::SG_DllExtensionsSelectCell(int row)
{
    const bool entry = row >= 0 && row < static_cast<int>(document().DllCalls.size());
    document().Selection.DllCall = entry ? row : -1;
    B_EditDllExtension->setEnabled(entry);
    B_DeleteDllExtension->setEnabled(entry);
}

void TExtensionsPage::B_AddExExtensionClick()
{
    // A grid showing only its empty row shows the new entry there, any other
    // grid gets a row for it; either way it is the last and current one.
    Project &project = document();
    project.ExternalPrograms.push_back(ExternalProgram{});
    project.Selection.ExternalProgram = static_cast<int>(project.ExternalPrograms.size()) - 1;
    refillPrograms();
    TExExecutableEditor *editor = context().windows().ExExecutableEditor.get();
    if (!editor || editor->ShowModal() != QDialog::Accepted)
        B_DeleteExExtensionClick();
    else
        refillPrograms();
}

void TExtensionsPage::B_EditExExtensionClick()
{
    TExExecutableEditor *editor = context().windows().ExExecutableEditor.get();
    if (document().Selection.ExternalProgram < 0 || !editor)
        return;
    if (editor->ShowModal() == QDialog::Accepted)
        refillPrograms();
}

void TExtensionsPage::B_DeleteExExtensionClick()
{
    Project &project = document();
    const int row = project.Selection.ExternalProgram;
    if (row < 0 || row >= static_cast<int>(project.ExternalPrograms.size()))
        return;
    project.ExternalPrograms.erase(project.ExternalPrograms.begin() + row);
    // The row below moves up into the current row; after the last entry the
    // current row is the new last one.
    project.Selection.ExternalProgram = std::min(row, static_cast<int>(project.ExternalPrograms.size()) - 1);
    refillPrograms();
    markModified();
}

void TExtensionsPage::B_AddDllExtensionClick()
{
    Project &project = document();
    project.DllCalls.push_back(DllCall{});
    project.Selection.DllCall = static_cast<int>(project.DllCalls.size()) - 1;
    refillCalls();
    TExDllEditor *editor = context().windows().ExDllEditor.get();
    if (!editor || editor->ShowModal() != QDialog::Accepted)
        B_DeleteDllExtensionClick();
    else
        refillCalls();
}

void TExtensionsPage::B_EditDllExtensionClick()
{
    TExDllEditor *editor = context().windows().ExDllEditor.get();
    if (document().Selection.DllCall < 0 || !editor)
        return;
    int result = QDialog::Rejected;
    try {
        result = editor->ShowModal();
    } catch (const EButtonEditError &error) {
        // A stored file name the file-name edit refuses: the call stays as
        // it is and the author is told why.
        showError(context().seams(), context().mainWindow(), error.message());
        return;
    }
    if (result == QDialog::Accepted)
        refillCalls();
}

void TExtensionsPage::B_DeleteDllExtensionClick()
{
    Project &project = document();
    const int row = project.Selection.DllCall;
    if (row < 0 || row >= static_cast<int>(project.DllCalls.size()))
        return;
    project.DllCalls.erase(project.DllCalls.begin() + row);
    project.Selection.DllCall = std::min(row, static_cast<int>(project.DllCalls.size()) - 1);
    refillCalls();
    markModified();
}

} // namespace wharf
