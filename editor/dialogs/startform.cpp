#include "startform.h"

#include "editorresources.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace wharf {
namespace {

QLabel *whiteLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

} // namespace

TStartForm::TStartForm(QWidget *parent) : QWidget(parent)
{
    initEditorResources();
    setObjectName(QStringLiteral("StartForm"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(500, 189);
    setAttribute(Qt::WA_QuitOnClose, false);

    I_Background = new QLabel(this);
    I_Background->setObjectName(QStringLiteral("I_Background"));
    I_Background->setPixmap(QPixmap(QStringLiteral(":/wharfwright/splash.png")));
    I_Background->setGeometry(0, 0, 500, 189);

    L_Version = whiteLabel(QStringLiteral("Version 2.0 Professional"), this);
    L_Version->setObjectName(QStringLiteral("L_Version"));
    L_Version->setGeometry(142, 108, 300, 18);
    LoadLabel = whiteLabel(QStringLiteral("Loading program..."), this);
    LoadLabel->setObjectName(QStringLiteral("LoadLabel"));
    LoadLabel->setGeometry(12, 142, 300, 18);

    PB_Progress = new QProgressBar(this);
    PB_Progress->setObjectName(QStringLiteral("PB_Progress"));
    PB_Progress->setRange(0, 100);
    PB_Progress->setValue(0);
    PB_Progress->setTextVisible(false);
    PB_Progress->setGeometry(12, 164, 476, 14);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TStartForm::setProgress(int percent)
{
    PB_Progress->setValue(percent);
    repaint();
}

} // namespace wharf
