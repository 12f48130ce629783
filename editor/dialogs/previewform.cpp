#include "previewform.h"

#include "files.h"
#include "colors.h"
#include "fonts.h"
#include "gradientfill.h"
#include "paths.h"
#include "projectcontroller.h"
#include "projectpaths.h"
#include "seams.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace wharf {
namespace {

QFont labelFont(const ProjectFont &font)
{
    return storedFont(QString::fromStdString(font.Name), font.Size, font.Style);
}

void setLabel(QLabel *label, const std::string &text, const ProjectFont &font)
{
    label->setText(QString::fromStdString(text));
    label->setFont(labelFont(font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(font.Color));
    label->setPalette(palette);
    label->adjustSize();
}

bool isMetafile(const std::string &path)
{
    const QString ext = QString::fromStdString(extractFileExt(path)).toLower();
    return ext == u".wmf" || ext == u".emf";
}

} // namespace

TPreviewImage::TPreviewImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPreviewImage::clear()
{
    m_picture = QImage();
    update();
}

void TPreviewImage::setPicture(const QImage &picture, TPictureMode mode, bool transparent)
{
    m_mode = mode;
    m_transparent = transparent;
    m_picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (transparent && !m_picture.isNull()) {
        const QRgb key = m_picture.pixel(0, m_picture.height() - 1);
        for (int y = 0; y < m_picture.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(m_picture.scanLine(y));
            for (int x = 0; x < m_picture.width(); ++x)
                if (line[x] == key)
                    line[x] = qRgba(0, 0, 0, 0);
        }
    }
    update();
}

QRect TPreviewImage::pictureRect() const
{
    if (m_picture.isNull())
        return {};
    switch (m_mode) {
    case TPictureMode::WholeScreen:
        return rect();
    case TPictureMode::TopLeft:
        return {QPoint(0, 0), m_picture.size()};
    case TPictureMode::Center:
        break;
    }
    // Odd differences round to the left and top, as integer halving does.
    return {QPoint((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2), m_picture.size()};
}

void TPreviewImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_mode == TPictureMode::WholeScreen);
    painter.drawImage(pictureRect(), m_picture);
}

TPreviewForm::TPreviewForm(ProjectController &controller, const Seams &seams, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint), m_controller(controller), m_seams(seams)
{
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Setup"));
    HG_Background = new TGradientFill(this);
    HG_Background->setObjectName(QStringLiteral("HG_Background"));
    I_Background = new TPreviewImage(this);
    I_Background->setObjectName(QStringLiteral("I_Background"));
    L_Caption = new QLabel(this);
    L_Caption->setObjectName(QStringLiteral("L_Caption"));
    L_Caption->move(5, 10);
    L_Copyright = new QLabel(this);
    L_Copyright->setObjectName(QStringLiteral("L_Copyright"));
    L_Copyright->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel *label : {L_Caption, L_Copyright})
        label->setAttribute(Qt::WA_TranslucentBackground);
    B_Close = new QPushButton(QStringLiteral("&Close"), this);
    B_Close->setObjectName(QStringLiteral("B_Close"));
    B_Close->setDefault(true);
    B_Close->move(20, 50);
    connect(B_Close, &QPushButton::clicked, this, &TPreviewForm::B_CloseClick);
}

int TPreviewForm::ShowModal()
{
    FormActivate();
    return m_seams.modal->exec(*this);
}

void TPreviewForm::FormActivate()
{
    const GeneralSettings &g = m_controller.document().General;
    I_Background->clear();
    QRect screen(0, 0, 800, 600);
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = primary->geometry();
    setGeometry(QRect(QPoint(0, 0), screen.size()));
    // A hidden window gets its resize event only when shown; the parts are
    // placed now so they are right before that.
    HG_Background->setGeometry(rect());
    I_Background->setGeometry(rect());

    HG_Background->SetBeginColor(g.StartColor);
    HG_Background->SetEndColor(g.EndColor);

    const std::string image =
        toNativePath(editor::ExpandRelativePath(g.BackImage, m_controller.ProjectFolder()));
    if (!g.BackImage.empty() && fileExists(image) && !isMetafile(image)) {
        QImageReader reader(QString::fromStdString(image));
        const QImage picture = reader.read();
        if (picture.isNull())
            showError(m_seams, this,
                      QStringLiteral("The background image %1 could not be loaded: %2")
                          .arg(QString::fromStdString(image), reader.errorString()));
        else
            I_Background->setPicture(picture, static_cast<TPictureMode>(std::clamp(g.BackAlign, 0, 2)), g.Transparent);
    }

    setLabel(L_Copyright, g.Copyright, g.CopyrightFont);
    placeCopyright();
    setLabel(L_Caption, g.Caption, g.CaptionFont);
    L_Caption->raise();
    L_Copyright->raise();
    B_Close->raise();
}

void TPreviewForm::B_CloseClick() { accept(); }

void TPreviewForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    HG_Background->setGeometry(rect());
    I_Background->setGeometry(rect());
    placeCopyright();
}

void TPreviewForm::placeCopyright()
{
    L_Copyright->move(width() - L_Copyright->width() - 20, height() - L_Copyright->height() - 20);
}

} // namespace wharf
