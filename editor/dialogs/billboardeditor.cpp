#include "billboardeditor.h"

#include "dialogbuttons.h"
#include "layouttaborder.h"
#include "projectcontroller.h"
#include "seams.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace wharf {

TBillboardEditor::TBillboardEditor(ProjectController &controller, const Seams &seams, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_seams(seams)
{
    setObjectName(QStringLiteral("BillboardEditor"));
    setWindowTitle(QStringLiteral("Billboard images"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", helpContext());

    auto *group = new QGroupBox(QStringLiteral("Image files"), this);
    LB_BillboardPics = new QListWidget(group);
    LB_BillboardPics->setObjectName(QStringLiteral("LB_BillboardPics"));
    B_AddPic = new QPushButton(QStringLiteral("&Add"), group);
    B_AddPic->setObjectName(QStringLiteral("B_AddPic"));
    B_DeletePic = new QPushButton(QStringLiteral("&Delete"), group);
    B_DeletePic->setObjectName(QStringLiteral("B_DeletePic"));
    B_PicUp = new QToolButton(group);
    B_PicUp->setObjectName(QStringLiteral("B_PicUp"));
    B_PicUp->setArrowType(Qt::UpArrow);
    B_PicDown = new QToolButton(group);
    B_PicDown->setObjectName(QStringLiteral("B_PicDown"));
    B_PicDown->setArrowType(Qt::DownArrow);
    SE_DelayTime = new QSpinBox(group);
    SE_DelayTime->setObjectName(QStringLiteral("SE_DelayTime"));
    SE_DelayTime->setRange(1, 100000);
    SE_DelayTime->setSingleStep(10);
    SE_DelayTime->setValue(1000);
    auto *delayLabel = new QLabel(QStringLiteral("Delay time (ms):"), group);
    delayLabel->setBuddy(SE_DelayTime);
    Ch_Loop = new QCheckBox(QStringLiteral("Loop"), group);
    Ch_Loop->setObjectName(QStringLiteral("Ch_Loop"));
    Ch_Loop->setChecked(true);
    createOkCancelButtons(this, B_OK, B_Cancel);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(B_PicUp);
    moves->addWidget(B_PicDown);
    moves->addStretch();
    auto *side = new QVBoxLayout;
    side->addWidget(B_AddPic);
    side->addWidget(B_DeletePic);
    side->addStretch();
    side->addWidget(delayLabel);
    side->addWidget(SE_DelayTime);
    side->addWidget(Ch_Loop);
    auto *inGroup = new QHBoxLayout(group);
    inGroup->addLayout(moves);
    inGroup->addWidget(LB_BillboardPics, 1);
    inGroup->addLayout(side);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    // "&Delete" acts on the selected picture only: without one it is off.
    // The list empties itself while the window is destroyed: the update
    // reaches only the selection, the model and the button, never the window.
    const QAbstractItemModel *pictures = LB_BillboardPics->model();
    const QItemSelectionModel *selection = LB_BillboardPics->selectionModel();
    QPushButton *deleteButton = B_DeletePic;
    const auto deletable = [selection, deleteButton] { deleteButton->setEnabled(selection->hasSelection()); };
    connect(selection, &QItemSelectionModel::selectionChanged, deleteButton, deletable);
    connect(pictures, &QAbstractItemModel::rowsRemoved, deleteButton, deletable);
    connect(pictures, &QAbstractItemModel::modelReset, deleteButton, deletable);
    deletable();
    connect(B_AddPic, &QPushButton::clicked, this, &TBillboardEditor::B_AddPicClick);
    connect(B_DeletePic, &QPushButton::clicked, this, &TBillboardEditor::B_DeletePicClick);
    connect(B_PicUp, &QToolButton::clicked, this, &TBillboardEditor::B_PicUpClick);
    connect(B_PicDown, &QToolButton::clicked, this, &TBillboardEditor::B_PicDownClick);
    connect(B_OK, &QPushButton::clicked, this, &TBillboardEditor::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(SE_DelayTime, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_loading)
            m_controller.document().General.BillboardDelay = value;
    });
    connect(Ch_Loop, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            m_controller.document().General.BillboardLoop = on;
    });    setTabOrderFromLayout(*this);
}

TBillboardEditor::Snapshot TBillboardEditor::current() const
{
    const Project &project = m_controller.document();
    return {project.BillboardPics, project.General.BillboardLoop, project.General.BillboardDelay};
}

void TBillboardEditor::restore(const Snapshot &snapshot)
{
    Project &project = m_controller.document();
    project.BillboardPics = snapshot.pictures;
    project.General.BillboardLoop = snapshot.loop;
    project.General.BillboardDelay = snapshot.delay;
    load();
}

void TBillboardEditor::load()
{
    m_loading = true;
    const Project &project = m_controller.document();
    LB_BillboardPics->clear();
    for (const std::string &picture : project.BillboardPics)
        LB_BillboardPics->addItem(QString::fromStdString(picture));
    // Nothing current, also for tabbing into the list: "&Delete" and the
    // moves act only on a picture the author selected.
    LB_BillboardPics->setCurrentIndex(QModelIndex());
    LB_BillboardPics->clearSelection();
    SE_DelayTime->setValue(project.General.BillboardDelay);
    Ch_Loop->setChecked(project.General.BillboardLoop);
    m_loading = false;
}

int TBillboardEditor::ShowModal()
{
    load();
    const Snapshot start = current();
    const int result = m_seams.modal->exec(*this);
    if (result != QDialog::Accepted)
        restore(start);
    return result;
}

void TBillboardEditor::B_AddPicClick()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("Bitmaps (*.bmp);;Metafiles (*.wmf *.emf)");
    request.defaultExt = QStringLiteral("bmp");
    request.fileName = QStringLiteral("*.bmp");
    const FileDialogResult result = m_seams.fileDialogs->run(this, request);
    if (!result.accepted || result.files.isEmpty())
        return;
    const QString picture = result.files.front();
    m_controller.document().BillboardPics.push_back(picture.toStdString());
    LB_BillboardPics->addItem(picture);
    LB_BillboardPics->setCurrentRow(LB_BillboardPics->count() - 1);
}

void TBillboardEditor::B_DeletePicClick()
{
    std::vector<std::string> &pictures = m_controller.document().BillboardPics;
    const int row = LB_BillboardPics->currentRow();
    if (!LB_BillboardPics->selectionModel()->hasSelection() || row < 0 || row >= static_cast<int>(pictures.size()))
        return;
    pictures.erase(pictures.begin() + row);
    delete LB_BillboardPics->takeItem(row);
    // The next delete needs a picture chosen anew.
    LB_BillboardPics->clearSelection();
}

void TBillboardEditor::exchange(int row, int other)
{
    std::vector<std::string> &pictures = m_controller.document().BillboardPics;
    const int count = static_cast<int>(pictures.size());
    if (row < 0 || other < 0 || row >= count || other >= count)
        return;
    std::swap(pictures[static_cast<size_t>(row)], pictures[static_cast<size_t>(other)]);
    LB_BillboardPics->item(row)->setText(QString::fromStdString(pictures[static_cast<size_t>(row)]));
    LB_BillboardPics->item(other)->setText(QString::fromStdString(pictures[static_cast<size_t>(other)]));
    LB_BillboardPics->setCurrentRow(other);
}

void TBillboardEditor::B_PicUpClick()
{
    const int row = LB_BillboardPics->currentRow();
    exchange(row, row - 1);
}

void TBillboardEditor::B_PicDownClick()
{
    const int row = LB_BillboardPics->currentRow();
    exchange(row, row + 1);
}

void TBillboardEditor::B_OKClick()
{
    // A stored delay outside the box's range is shown clamped; OK keeps
    // what the author saw.
    m_controller.document().General.BillboardDelay = SE_DelayTime->value();
    m_controller.SetModified(true);
    accept();
}

} // namespace wharf
