#pragma once
// TNewPathLabel: a one-line label that shows a file path shortened with
// "...\" so that it fits its width, and ShortenPath, the shortening it uses
// (the recent-files menu shortens its captions with it too).

#include "colors.h"

#include <QLabel>
#include <QString>

class QFontMetrics;

namespace wharf {

// The path shortened folder by folder until metrics measures it at most
// maxWidth pixels wide: "C:\A\B\C\name.ext" passes through "C:\...\B\C\name.ext",
// "C:\...\C\name.ext", "C:\...\name.ext" and "...\name.ext" down to
// "name.ext"; the name part is never cut. "\" and "/" both separate; the
// marker uses the separator of the path ("...\" or ".../") and is
// recognised only as that exact prefix, so folders whose names begin with
// "." are cut like any other.
QString ShortenPath(const QString &path, const QFontMetrics &metrics, int maxWidth);

class TNewPathLabel : public QLabel {
    Q_OBJECT
public:
    // No auto-size, no word wrap, "&" shown as it is; not transparent.
    explicit TNewPathLabel(QWidget *parent = nullptr);

    // Fill colour of the client area unless transparent (clBtnFace at first).
    TColor Color() const { return m_color; }
    void setColor(TColor color);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);

    // The caption as painted: text() shortened to the label's width.
    QString displayText() const;

    // One line high; the width does not follow the caption (a path is
    // shortened to whatever room the label gets), so a long path never
    // widens the window around it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TColor m_color = clBtnFace;
    bool m_transparent = false;
};

} // namespace wharf
