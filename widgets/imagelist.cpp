#include "imagelist.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace wharf {

TImageList::TImageList(int width, int height, QObject *parent)
    : QObject(parent), m_width(std::max(1, width)), m_height(std::max(1, height))
{
}

QImage TImageList::fitted(const QImage &image) const
{
    QImage picture = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (picture.size() != QSize(m_width, m_height))
        picture = picture.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture;
}

int TImageList::Add(const QImage &image)
{
    m_images.push_back(fitted(image));
    emit changed();
    return Count() - 1;
}

void TImageList::Replace(int index, const QImage &image)
{
    if (index < 0 || index >= Count())
        return;
    m_images[index] = fitted(image);
    emit changed();
}

void TImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_images.removeAt(index);
    emit changed();
}

void TImageList::Clear()
{
    if (m_images.isEmpty())
        return;
    m_images.clear();
    emit changed();
}

QImage TImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? m_images[index] : QImage();
}

void TImageList::Draw(QPainter &painter, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    if (enabled) {
        painter.drawImage(x, y, m_images[index]);
        return;
    }
    QStyleOption option;
    painter.drawPixmap(x, y,
                       QApplication::style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(m_images[index]),
                                                                  &option));
}

} // namespace wharf
