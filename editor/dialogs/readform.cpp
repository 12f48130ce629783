#include "readform.h"

#include "animate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace wharf {

TReadForm::TReadForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ReadForm"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    l_Caption = new QLabel(frame);
    l_Caption->setObjectName(QStringLiteral("l_Caption"));
    l_Caption->setAlignment(Qt::AlignCenter);
    QFont bold = l_Caption->font();
    bold.setBold(true);
    l_Caption->setFont(bold);
    ani_Read = new TAnimate(frame);
    ani_Read->setObjectName(QStringLiteral("ani_Read"));
    ani_Read->setMinimumSize(200, 60);

    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(l_Caption);
    inner->addWidget(ani_Read);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setFixedSize(260, 120);
}

void TReadForm::showBusy(bool reading, const QString &caption)
{
    l_Caption->setText(caption);
    ani_Read->setClip(reading ? TAnimate::Clip::Read : TAnimate::Clip::Write);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    ani_Read->setActive(true);
    repaint();
}

void TReadForm::hideBusy()
{
    ani_Read->setActive(false);
    hide();
}

} // namespace wharf
