#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace kelvra::ui {

// Decodes JPEG bytes with libjpeg-turbo into an RGB image. A damaged or non-JPEG input gives a
// null image (no crash, nothing printed); a truncated file gives what libjpeg could decode.
QImage DecodeJpeg(const QByteArray& bytes);

// Width and height from the JPEG header alone, without decoding; an invalid size for bytes that
// are not a readable JPEG.
QSize JpegSize(const QByteArray& bytes);

// Reads a JPEG file or resource (":/...") and decodes it; a missing file gives a null image.
QImage LoadJpeg(const QString& path);

} // namespace kelvra::ui
