#include "drawutils.h"

#include "colors.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace wharf {
namespace {

bool isBlankOrControl(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }
bool endsToken(QChar c) { return c.unicode() <= 32; }

} // namespace

int TextWidth(const QFont &font, const QString &text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

QString ShortenTextToWidth(const QString &text, const QFontMetrics &metrics, int maxWidth)
{
    const qsizetype length = text.size();
    QString result = text;
    qsizetype i = 1;
    while (i <= length && metrics.horizontalAdvance(result) > maxWidth) {
        ++i;
        qsizetype keep = std::max<qsizetype>(0, length - i);
        // Never leave half of a surrogate pair behind.
        if (keep > 0 && text.at(keep - 1).isHighSurrogate())
            --keep;
        result = text.left(keep) + QStringLiteral("...");
    }
    return result;
}

QString NextCommandLineToken(const QString &text, qsizetype &position)
{
    const qsizetype n = text.size();
    qsizetype p = std::max<qsizetype>(0, position);
    for (;;) {
        while (p < n && isBlankOrControl(text.at(p)))
            ++p;
        if (p + 1 < n && text.at(p) == u'"' && text.at(p + 1) == u'"')
            p += 2;
        else
            break;
    }
    QString token;
    while (p < n && !endsToken(text.at(p))) {
        if (text.at(p) == u'"') {
            ++p;
            while (p < n && text.at(p).unicode() != 0 && text.at(p) != u'"')
                token += text.at(p++);
            if (p < n && text.at(p) == u'"')
                ++p;
        } else {
            token += text.at(p++);
        }
    }
    position = p;
    return token;
}

int CountCommandLineTokens(const QString &text)
{
    qsizetype position = 0;
    int count = 0;
    while (!NextCommandLineToken(text, position).isEmpty())
        ++count;
    return count;
}

QString CommandLineToken(const QString &text, int index)
{
    if (index < 0)
        return {};
    qsizetype position = 0;
    for (int i = 0;; ++i) {
        QString token = NextCommandLineToken(text, position);
        if (token.isEmpty() || i == index)
            return token;
    }
}

void SplitFileAndParams(const QString &text, QString &file, QString &params)
{
    file.clear();
    params.clear();
    qsizetype position = 0;
    file = NextCommandLineToken(text, position);
    if (file.isEmpty())
        return;
    QStringList rest;
    for (QString token = NextCommandLineToken(text, position); !token.isEmpty();
         token = NextCommandLineToken(text, position))
        rest << (token.contains(u' ') ? u'"' + token + u'"' : token);
    params = rest.join(u' ');
}

void DiscardPendingMessage(QObject *receiver, QEvent::Type type)
{
    QCoreApplication::removePostedEvents(receiver, static_cast<int>(type));
}

bool ActiveWindowInThisThread() { return QApplication::activeWindow() != nullptr; }

void CopyParentBackground(QWidget *control, QPainter &painter)
{
    if (!control || !control->parentWidget())
        return;
    QWidget *parent = control->parentWidget();
    const QRect bounds = control->geometry();

    painter.save();
    parent->render(&painter, QPoint(0, 0), QRegion(bounds), QWidget::DrawWindowBackground);
    painter.restore();

    for (QObject *child : parent->children()) {
        if (child == control)
            break;
        auto *sibling = qobject_cast<QWidget *>(child);
        if (!sibling || sibling->isWindow() || !sibling->isVisibleTo(parent))
            continue;
        const QRect overlap = sibling->geometry().intersected(bounds);
        if (overlap.isEmpty())
            continue;
        painter.save();
        // The overlap in the sibling's own coordinates, drawn where it lies
        // relative to the control.
        const QRect source = overlap.translated(-sibling->pos());
        sibling->render(&painter, overlap.topLeft() - bounds.topLeft(), QRegion(source),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.restore();
    }
}

QImage MakeDisabledBitmap(const QImage &bitmap, const QColor &outline, const QColor &background,
                          bool drawHighlight, const QColor &shadow, const QColor &highlight)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    const bool mono = bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_MonoLSB;
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb marker = mono ? qRgb(255, 255, 255) : outline.rgb();

    std::vector<bool> marked(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < w; ++x)
            marked[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                line[x] == (marker | 0xFF000000u);
    }

    QImage result(bitmap.size(), QImage::Format_RGB32);
    result.fill(background);
    auto paintMarked = [&](int dx, int dy, const QColor &colour) {
        const QRgb value = colour.rgb();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!marked[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)])
                    continue;
                const int tx = x + dx;
                const int ty = y + dy;
                if (tx < w && ty < h)
                    result.setPixel(tx, ty, value);
            }
    };
    if (drawHighlight)
        paintMarked(1, 1, highlight);
    paintMarked(0, 0, shadow);
    return result;
}

QImage MakeDisabledGlyph(const QImage &bitmap)
{
    return MakeDisabledBitmap(bitmap, Qt::black, toQColor(clBtnFace), true, toQColor(clBtnShadow),
                              toQColor(clBtnHighlight));
}

} // namespace wharf
