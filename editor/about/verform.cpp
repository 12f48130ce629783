#include "verform.h"

#include "drawutils.h"
#include "ownfiles.h"
#include "paths.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wharf {
namespace {

// The columns' widths: file name, description, version.
constexpr int kColumnWidths[] = {120, 257, 123};

} // namespace

TVerForm::TVerForm(QWidget *parent, QStringList ownFileList) : QDialog(parent), m_ownFileList(std::move(ownFileList))
{
    setObjectName(QStringLiteral("VerForm"));
    setWindowTitle(QStringLiteral("Version information"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Bev_Top = new QFrame(this);
    Bev_Top->setObjectName(QStringLiteral("Bev_Top"));
    Bev_Top->setFrameShape(QFrame::HLine);
    Bev_Top->setFrameShadow(QFrame::Sunken);
    L_WinVer = new QLabel(this);
    L_WinVer->setObjectName(QStringLiteral("L_WinVer"));
    SG_Versions = new QTableWidget(1, 3, this);
    SG_Versions->setObjectName(QStringLiteral("SG_Versions"));
    SG_Versions->verticalHeader()->hide();
    SG_Versions->setSelectionBehavior(QAbstractItemView::SelectRows);
    SG_Versions->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_Versions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG_Versions->setShowGrid(true);
    SG_Versions->setFrameShape(QFrame::Box);
    SG_Versions->setFrameShadow(QFrame::Plain);
    for (int column = 0; column < 3; ++column)
        SG_Versions->setColumnWidth(column, kColumnWidths[column]);
    // Rows of 15 pixels, or as high as the font needs.
    SG_Versions->verticalHeader()->setDefaultSectionSize(std::max(15, fontMetrics().height() + 2));
    SG_Versions->setMinimumSize(kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + 2 * SG_Versions->frameWidth() + 20,
                                240);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Bev_Top);
    layout->addWidget(L_WinVer);
    layout->addWidget(SG_Versions);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // FormCreate: the running system, then the headers.
    L_WinVer->setText(QString::fromStdString(operatingSystemLine()));
    SG_Versions->setHorizontalHeaderLabels({QStringLiteral("File name"), QStringLiteral("Description"),
                                            QStringLiteral("Version")});
}

void TVerForm::FormShow()
{
    SG_Versions->clearContents();
    SG_Versions->setRowCount(1);
    for (int i = 0; i < m_ownFileList.size(); ++i) {
        const std::string path = m_ownFileList.at(i).toStdString();
        const FileVersionText text = ownFileVersion(path);
        const QString cells[] = {QString::fromStdString(extractFileName(path)).toLower(),
                                 QString::fromStdString(text.description), QString::fromStdString(text.version)};
        for (int column = 0; column < 3; ++column)
            SG_Versions->setItem(i, column, new QTableWidgetItem(cells[column]));
        if (i + 1 < m_ownFileList.size())
            SG_Versions->setRowCount(i + 2);
    }
    // The widths are minimums: a column widens to its longest text.
    const int margin = 2 * (SG_Versions->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, SG_Versions) + 1) + 1;
    int total = 0;
    for (int column = 0; column < 3; ++column) {
        int width = kColumnWidths[column];
        for (int row = 0; row < SG_Versions->rowCount(); ++row)
            if (const QTableWidgetItem *cell = SG_Versions->item(row, column))
                width = std::max(width, TextWidth(SG_Versions->font(), cell->text()) + margin);
        SG_Versions->setColumnWidth(column, width);
        total += width;
    }
    SG_Versions->setMinimumSize(total + 2 * SG_Versions->frameWidth() + 20, 240);
}

void TVerForm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace wharf
