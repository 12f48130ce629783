#pragma once
// TImageList: a list of same-sized pictures that controls draw by index
// (the navigation bar's caption images, its buttons' large and small
// images). Every change emits changed(); controls that show the list keep a
// guarded pointer and repaint on changed() and when the list is destroyed.

#include <QImage>
#include <QObject>
#include <QVector>

class QPainter;

namespace wharf {

class TImageList : public QObject {
    Q_OBJECT
public:
    // Pictures are width x height pixels (at least 1 x 1).
    TImageList(int width, int height, QObject *parent = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return static_cast<int>(m_images.size()); }

    // Appends the picture, scaled to the list's size when it differs;
    // returns its index.
    int Add(const QImage &image);
    // Replaces picture index; nothing for an index outside the list.
    void Replace(int index, const QImage &image);
    void Delete(int index);
    void Clear();

    // The picture, or a null image for an index outside the list.
    QImage Image(int index) const;

    // Draws picture index with its top-left corner at (x, y); nothing for
    // an index outside the list. A picture drawn not enabled is greyed the
    // way the style greys disabled icons.
    void Draw(QPainter &painter, int x, int y, int index, bool enabled = true) const;

signals:
    void changed();

private:
    QImage fitted(const QImage &image) const;

    int m_width;
    int m_height;
    QVector<QImage> m_images;
};

} // namespace wharf
