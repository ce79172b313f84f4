#include "ui/skin/Skin.h"

#include <QFile>
#include <QImageReader>
#include <QWidget>

#include "ui/skin/JpegImage.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterKelvraResources() {
    Q_INIT_RESOURCE(kelvra);
}

namespace kelvra::ui {

void InitResources() {
    static const bool registered = (RegisterKelvraResources(), true);
    (void)registered;
}

QList<QPixmap> LoadItemImages() {
    InitResources();
    QList<QPixmap> images;
    for (int i = 0; i < kItemImageCount; ++i) {
        QPixmap pixmap(QStringLiteral(":/icons/item%1.png").arg(i));
        if (pixmap.isNull()) {
            pixmap = QPixmap(32, 32);
            pixmap.fill(Qt::transparent);
        }
        images.append(pixmap);
    }
    return images;
}

QPixmap LoadPicture(const QString& fileName) {
    InitResources();
    const QString path = QStringLiteral(":/images/") + fileName;
    if (fileName.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
        return QPixmap::fromImage(LoadJpeg(path));
    return QPixmap(path);
}

QSize PictureSize(const QString& fileName) {
    InitResources();
    const QString path = QStringLiteral(":/images/") + fileName;
    if (fileName.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? JpegSize(file.readAll()) : QSize();
    }
    return QImageReader(path).size();
}

void ApplySkin(QWidget* window) {
    InitResources();
    QFile sheet(QStringLiteral(":/skin/kelvra.qss"));
    if (!sheet.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    window->setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

void RemoveSkin(QWidget* window) {
    window->setStyleSheet(QString());
}

} // namespace kelvra::ui
