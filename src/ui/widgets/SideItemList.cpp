#include "ui/widgets/SideItemList.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kelvra::ui {

SideItemList::SideItemList(const QString& groupName, const QList<QPixmap>& images,
                           const QStringList& captions, const QList<int>& imageIndexes,
                           QWidget* parent)
    : QWidget(parent), m_images(images) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(2);
    for (int i = 0; i < captions.size(); ++i) {
        auto* item = new QToolButton(this);
        item->setObjectName(groupName + "Items" + QString::number(i));
        item->setProperty("sideItem", true);
        item->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        item->setIconSize(QSize(32, 32));
        item->setCheckable(true);
        item->setAutoRaise(true);
        item->setCursor(Qt::PointingHandCursor);
        item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        item->setFixedHeight(56);
        layout->addWidget(item);
        m_items.append(item);
        m_imageIndexes.append(-1);
        SetCaption(i, captions[i]);
        SetImage(i, i < imageIndexes.size() ? imageIndexes[i] : -1);
        connect(item, &QToolButton::clicked, this, [this, i] {
            SetSelected(i, true);
            emit itemClicked(i);
        });
    }
    layout->addStretch(1);
}

void SideItemList::SetCaption(int index, const QString& caption) {
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index]->setText(caption);
    m_items[index]->setAccessibleName(caption);
}

QString SideItemList::Caption(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index]->text() : QString();
}

void SideItemList::SetImage(int index, int imageIndex) {
    if (index < 0 || index >= m_items.size())
        return;
    m_imageIndexes[index] = imageIndex;
    const bool known = imageIndex >= 0 && imageIndex < m_images.size();
    m_items[index]->setIcon(known ? QIcon(m_images[imageIndex]) : QIcon());
}

int SideItemList::Image(int index) const {
    return index >= 0 && index < m_items.size() ? m_imageIndexes[index] : -1;
}

void SideItemList::SetSelected(int index, bool selected) {
    if (index < 0 || index >= m_items.size())
        return;
    if (selected)
        for (auto* other : m_items)
            other->setChecked(false);
    m_items[index]->setChecked(selected);
}

bool SideItemList::Selected(int index) const {
    return index >= 0 && index < m_items.size() && m_items[index]->isChecked();
}

QToolButton* SideItemList::Item(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

} // namespace kelvra::ui
