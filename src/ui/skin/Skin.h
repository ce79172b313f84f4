#pragma once

#include <QList>
#include <QPixmap>
#include <QString>

class QWidget;

namespace kelvra::ui {

// Registers the pictures, icons and style sheet compiled into the program (the resource
// table lives in a static library, so it is registered explicitly). Safe to call repeatedly.
void InitResources();

// Number of images of the side-item image list (indices 0 to 10).
inline constexpr int kItemImageCount = 11;

// The side-item images, 32 x 32, index 0 to 10 (9 the British flag, 10 the Chinese flag). A
// missing resource leaves a transparent image at its index.
QList<QPixmap> LoadItemImages();

// A picture of the resources by its file name under images/ (JPEG decoded with libjpeg, PNG by
// Qt). A missing picture gives a null pixmap.
QPixmap LoadPicture(const QString& fileName);

// Width and height of a picture of the resources, read from its header without decoding it;
// an invalid size when the picture is missing or unreadable.
QSize PictureSize(const QString& fileName);

// The window skin: the style sheet of the resources, applied to a window and its children.
// A missing style sheet leaves the platform style.
void ApplySkin(QWidget* window);
void RemoveSkin(QWidget* window);

} // namespace kelvra::ui
