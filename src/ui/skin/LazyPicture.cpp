#include "ui/skin/LazyPicture.h"

#include "ui/skin/Skin.h"

namespace kelvra::ui {

LazyPicture::LazyPicture(const QString& fileName, QSize fallback, QWidget* parent)
    : QLabel(parent), m_fileName(fileName) {
    const QSize size = PictureSize(fileName);
    resize(size.isValid() && !size.isEmpty() ? size : fallback);
}

void LazyPicture::EnsureLoaded() {
    if (m_loaded)
        return;
    m_loaded = true;
    const QPixmap pixmap = LoadPicture(m_fileName);
    if (!pixmap.isNull())
        setPixmap(pixmap);
}

void LazyPicture::showEvent(QShowEvent* event) {
    EnsureLoaded();
    QLabel::showEvent(event);
}

} // namespace kelvra::ui
