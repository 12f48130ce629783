#include "infoform.h"

#include "buildinfo.h"
#include "ownfiles.h"
#include "verform.h"
#include "versioninfo.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace wharf {

QPixmap titlePicture()
{
    QPixmap pixmap(360, 96);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, pixmap.width(), pixmap.height());
    gradient.setColorAt(0, QColor(16, 42, 84));
    gradient.setColorAt(1, QColor(24, 118, 132));
    painter.fillRect(pixmap.rect(), gradient);
    // Three bollards of a wharf, as a small mark beside the name.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 196, 92));
    for (int i = 0; i < 3; ++i)
        painter.drawRoundedRect(QRectF(22 + 16 * i, 30 + 6 * (i % 2), 10, 40 - 6 * (i % 2)), 3, 3);
    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(34);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(86, 12, 270, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brindlewharf"));
    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(16);
    painter.setFont(sub);
    painter.setPen(QColor(210, 230, 240));
    painter.drawText(QRect(88, 58, 270, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Professional"));
    return pixmap;
}

TInfoForm::TInfoForm(QWidget *parent, const Seams &seams, QString executable, QString webSite)
    : QDialog(parent), m_seams(&seams)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("helpContext", kHelpContext);

    Bev_Logo = new QFrame(this);
    Bev_Logo->setObjectName(QStringLiteral("Bev_Logo"));
    Bev_Logo->setFrameShape(QFrame::Panel);
    Bev_Logo->setFrameShadow(QFrame::Sunken);
    I_Logo = new QLabel(Bev_Logo);
    I_Logo->setObjectName(QStringLiteral("I_Logo"));
    I_Logo->setPixmap(titlePicture());
    auto *logoLayout = new QVBoxLayout(Bev_Logo);
    logoLayout->setContentsMargins(2, 2, 2, 2);
    logoLayout->addWidget(I_Logo);

    L_Version = new QLabel(QStringLiteral("Version 2.0 Professional"), this);
    L_Version->setObjectName(QStringLiteral("L_Version"));
    L_Build = new QLabel(QStringLiteral("(Build)"), this);
    L_Build->setObjectName(QStringLiteral("L_Build"));
    L_WebSite = new QLabel(webSite, this);
    L_WebSite->setObjectName(QStringLiteral("L_WebSite"));
    L_WebSite->setCursor(Qt::PointingHandCursor);
    L_WebSite->setStyleSheet(QStringLiteral("color: #0645ad;"));
    L_WebSite->setVisible(!webSite.isEmpty());
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);
    B_Versions = new QPushButton(QStringLiteral("&Version info..."), this);
    B_Versions->setObjectName(QStringLiteral("B_Versions"));
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Versions, &QPushButton::clicked, this, &TInfoForm::B_VersionsClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_Versions);
    buttons->addStretch();
    buttons->addWidget(B_OK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Bev_Logo);
    layout->addWidget(L_Version);
    layout->addWidget(L_Build);
    layout->addWidget(L_WebSite);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // One mouse-move handler for the window, the picture, the labels and OK.
    setMouseTracking(true);
    for (QWidget *widget : std::initializer_list<QWidget *>{this, Bev_Logo, I_Logo, L_Version, L_Build, L_WebSite, B_OK}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

    // FormCreate: the build label from the running editor's file version;
    // the editor built here has no version resource and takes the build's.
    if (executable.isEmpty())
        executable = QCoreApplication::applicationFilePath();
    std::string version = TVersionInfo(executable.toStdString()).FileVersionValue();
    if (version.empty())
        version = buildFileVersion();
    L_Build->setText(QString::fromStdString(buildLabel(version)));
    B_OK->setFocus();
}

int TInfoForm::ShowModal()
{
    B_OK->setFocus();
    return m_seams->modal->exec(*this);
}

void TInfoForm::FormMouseMove(QObject *sender)
{
    QFont font = L_WebSite->font();
    const bool over = sender == L_WebSite;
    if (font.underline() != over) {
        font.setUnderline(over);
        L_WebSite->setFont(font);
    }
}

void TInfoForm::L_WebSiteClick()
{
    if (!L_WebSite->text().isEmpty())
        m_seams->processes->openDocument(L_WebSite->text());
}

void TInfoForm::B_VersionsClick()
{
    hide();
    {
        TVerForm form(nullptr, m_ownFileList ? *m_ownFileList : QStringList());
        m_seams->modal->exec(form);
    }
    close();
}

bool TInfoForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        FormMouseMove(watched);
        // A move the link ignores would reach the window next and take the
        // underline away again.
        if (watched == L_WebSite)
            return true;
    } else if (watched == L_WebSite && event->type() == QEvent::MouseButtonRelease &&
             static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        L_WebSiteClick();
    return QDialog::eventFilter(watched, event);
}

void TInfoForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace wharf
