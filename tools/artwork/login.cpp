// The picture of the login window: a key over a shield-blue tile, 70 x 70.
#include <QPainter>
#include <QPainterPath>

#include "artwork.h"

namespace art {

QImage Login() {
    const int size = 70;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient tile(0, 0, size, size);
    tile.setColorAt(0, kAccent);
    tile.setColorAt(1, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(3, 3, size - 6, size - 6), 12, 12);
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawEllipse(QPointF(56, 12), 26, 26);

    // The key: a ring with a bit, at an angle.
    p.save();
    p.translate(35, 35);
    p.rotate(-40);
    p.setBrush(Qt::white);
    QPainterPath key;
    key.addEllipse(QPointF(-13, 0), 11, 11);
    key.addRect(QRectF(-4, -3.5, 28, 7));
    key.addRect(QRectF(14, 3, 4, 7));
    key.addRect(QRectF(20, 3, 4, 5));
    key.setFillRule(Qt::WindingFill);
    p.drawPath(key.simplified());
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(-13, 0), 4.5, 4.5);
    p.restore();

    p.setPen(QColor(255, 255, 255, 230));
    p.setFont(Font(9, true));
    p.drawText(QRectF(0, 52, size, 14), Qt::AlignHCenter, QStringLiteral("KELVRA"));
    return image;
}

} // namespace art
