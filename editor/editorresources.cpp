#include "editorresources.h"

#include <QPixmap>

static void initWharfwrightResources()
{
    Q_INIT_RESOURCE(wharfwright);
}

namespace wharf {

void initEditorResources()
{
    static const bool done = [] {
        initWharfwrightResources();
        return true;
    }();
    (void)done;
}

QList<QIcon> toolbarImages()
{
    initEditorResources();
    const QPixmap strip(QStringLiteral(":/wharfwright/toolbar.png"));
    QList<QIcon> images;
    for (int x = 0; x + 32 <= strip.width(); x += 32)
        images << QIcon(strip.copy(x, 0, 32, 32));
    return images;
}

QIcon programIcon()
{
    initEditorResources();
    QIcon icon(QStringLiteral(":/wharfwright/wharfwright.png"));
    icon.addFile(QStringLiteral(":/wharfwright/wharfwright-32.png"));
    return icon;
}

} // namespace wharf
