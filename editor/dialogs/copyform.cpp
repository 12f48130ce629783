#include "copyform.h"

#include "animate.h"
#include "pathlabel.h"
#include "paths.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

namespace wharf {
namespace {

constexpr qint64 kBlockSize = 2048;

QString nativePath(const QString &path) { return QString::fromStdString(toNativePath(path.toStdString())); }

} // namespace

TCopyForm::TCopyForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CopyForm"));
    setWindowTitle(QStringLiteral("Copying files"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    Ani_CopyFiles = new TAnimate(this);
    Ani_CopyFiles->setObjectName(QStringLiteral("Ani_CopyFiles"));
    Ani_CopyFiles->setClip(TAnimate::Clip::Copy);
    Ani_CopyFiles->setMinimumSize(272, 60);
    L_FilePath = new TNewPathLabel(this);
    L_FilePath->setObjectName(QStringLiteral("L_FilePath"));
    PB_CopyProgress = new QProgressBar(this);
    PB_CopyProgress->setObjectName(QStringLiteral("PB_CopyProgress"));
    PB_CopyProgress->setRange(0, 100);
    PB_CopyProgress->setValue(0);
    PB_CopyProgress->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ani_CopyFiles);
    layout->addWidget(L_FilePath);
    layout->addWidget(PB_CopyProgress);
    setFixedSize(300, 140);
}

void TCopyForm::FormShow() { Ani_CopyFiles->setActive(true); }

void TCopyForm::FormHide() { Ani_CopyFiles->setActive(false); }

void TCopyForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TCopyForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    FormHide();
}

bool TCopyForm::CopyFileWithProgress(const QString &source, const QString &destination)
{
    QFile in(nativePath(source));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = in.size();
    // Opening the target would empty a source that is the same file.
    const QFileInfo target(nativePath(destination));
    if (target.exists() && target.canonicalFilePath() == QFileInfo(in).canonicalFilePath())
        return false;
    QFile out(nativePath(destination));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    L_FilePath->setText(source);
    PB_CopyProgress->setValue(0);
    repaint();

    char block[kBlockSize];
    qint64 done = 0;
    bool ok = true;
    for (;;) {
        const qint64 read = in.read(block, kBlockSize);
        if (read < 0) {
            ok = false;
            break;
        }
        if (read == 0)
            break;
        done += read;
        PB_CopyProgress->setValue(size > 0 ? static_cast<int>(std::lround(100.0 * static_cast<double>(done) /
                                                                          static_cast<double>(size)))
                                           : 100);
        repaint();
        if (out.write(block, read) != read) {
            ok = false;
            break;
        }
    }
    if (size == 0)
        PB_CopyProgress->setValue(100);
    ok = out.flush() && ok;
    out.close();
    ok = ok && out.error() == QFileDevice::NoError;
    if (!ok)
        out.remove();
    return ok;
}

} // namespace wharf
