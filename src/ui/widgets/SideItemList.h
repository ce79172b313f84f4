#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

class QToolButton;

namespace kelvra::ui {

// Large side-menu items: a 32 x 32 image over a caption, one item selected at a time, the
// selected item marked around its image. Items are named <list name>Items<index>.
class SideItemList : public QWidget {
    Q_OBJECT
public:
    // images: the shared image list; every item starts with the image index it is given.
    SideItemList(const QString& groupName, const QList<QPixmap>& images,
                 const QStringList& captions, const QList<int>& imageIndexes,
                 QWidget* parent = nullptr);
    int Count() const { return int(m_items.size()); }
    // Out-of-range indexes are ignored by the setters and give empty values from the getters.
    void SetCaption(int index, const QString& caption);
    QString Caption(int index) const;
    void SetImage(int index, int imageIndex);
    int Image(int index) const;
    void SetSelected(int index, bool selected);
    bool Selected(int index) const;
    QToolButton* Item(int index) const;

signals:
    // A click on an item, after it has been selected.
    void itemClicked(int index);

private:
    QList<QPixmap> m_images;
    QList<QToolButton*> m_items;
    QList<int> m_imageIndexes;
};

} // namespace kelvra::ui
