#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// Palette and helpers shared by the artwork painters.
namespace art {

inline const QColor kDeep(0x0b, 0x53, 0x94);
inline const QColor kAccent(0x1c, 0x7e, 0xd6);
inline const QColor kTeal(0x12, 0x9c, 0xb0);
inline const QColor kSky(0xe8, 0xf2, 0xfc);
inline const QColor kInk(0x1f, 0x2d, 0x3d);
inline const QColor kMuted(0x5b, 0x6b, 0x7d);
inline const QColor kRed(0xe0, 0x3a, 0x3e);

// Latin text in DejaVu Sans, Chinese in WenQuanYi Micro Hei.
QFont Font(int pixelSize, bool bold = false);

QImage Icon(int index);     // 32 x 32 side-item image 0..10
QImage AppIcon();           // 64 x 64 window icon
QImage ErrorIcon();         // 32 x 32
QImage DropArrow();         // 10 x 6, the arrow of the drop-down lists
QImage Home(bool chinese);  // 720 x 560
QImage Network();           // 700 x 250
QImage About(bool chinese); // 759 x 661
QImage Login();             // 70 x 70, the login window's picture

} // namespace art
