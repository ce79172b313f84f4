// The 32 x 32 side-item images, painted at four times the size and scaled down smoothly.
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "artwork.h"

namespace art {
namespace {

constexpr int S = 128; // drawing size

QImage Canvas() {
    QImage image(S, S, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage Finish(const QImage& big, int size = 32) {
    return big.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Rounded tile with a soft gradient: the common ground of every item image.
void Tile(QPainter& p, const QColor& top, const QColor& bottom) {
    QLinearGradient g(0, 0, 0, S);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(6, 6, S - 12, S - 12), 26, 26);
}

QPen WhitePen(double w) {
    QPen pen(Qt::white, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

void Person(QPainter& p, QPointF c, double scale, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c + QPointF(0, -18 * scale), 13 * scale, 13 * scale);
    QPainterPath body;
    body.addRoundedRect(QRectF(c.x() - 24 * scale, c.y() + 2 * scale, 48 * scale, 30 * scale),
                        16 * scale, 16 * scale);
    p.drawPath(body);
}

void About(QPainter& p) {
    Tile(p, kAccent, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(64, 38), 9, 9);
    p.drawRoundedRect(QRectF(55, 55, 18, 44), 7, 7);
}

void Register(QPainter& p) {
    Tile(p, QColor(0x2f, 0xb3, 0x80), QColor(0x1a, 0x86, 0x5e));
    Person(p, QPointF(54, 66), 1.0, Qt::white);
    p.setPen(WhitePen(9));
    p.drawLine(QPointF(94, 34), QPointF(94, 62));
    p.drawLine(QPointF(80, 48), QPointF(108, 48));
}

void Country(QPainter& p) {
    Tile(p, kTeal, QColor(0x0b, 0x6f, 0x86));
    p.setPen(WhitePen(6));
    p.setBrush(Qt::NoBrush);
    const QRectF globe(28, 28, 72, 72);
    p.drawEllipse(globe);
    p.drawEllipse(QRectF(48, 28, 32, 72));
    p.drawLine(QPointF(28, 64), QPointF(100, 64));
    p.drawArc(QRectF(30, 20, 68, 30), 200 * 16, 140 * 16);
    p.drawArc(QRectF(30, 78, 68, 30), 20 * 16, 140 * 16);
}

void Account(QPainter& p) {
    Tile(p, QColor(0x6c, 0x5c, 0xe7), QColor(0x48, 0x3d, 0xb8));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(22, 34, 84, 60), 10, 10);
    p.setBrush(QColor(0x5a, 0x4b, 0xd4));
    p.drawEllipse(QPointF(46, 58), 9, 9);
    p.drawRoundedRect(QRectF(33, 70, 26, 14), 7, 7);
    p.drawRoundedRect(QRectF(66, 52, 30, 7), 3, 3);
    p.drawRoundedRect(QRectF(66, 66, 24, 7), 3, 3);
}

void Switch(QPainter& p) {
    Tile(p, QColor(0xf0, 0x8c, 0x2e), QColor(0xd0, 0x65, 0x12));
    Person(p, QPointF(64, 62), 1.05, Qt::white);
    p.setPen(WhitePen(6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(20, 20, 88, 88), 20 * 16, 60 * 16);
    p.drawArc(QRectF(20, 20, 88, 88), 200 * 16, 60 * 16);
}

void Suppliers(QPainter& p) {
    Tile(p, kAccent, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath factory;
    factory.moveTo(24, 100);
    factory.lineTo(24, 56);
    factory.lineTo(46, 68);
    factory.lineTo(46, 56);
    factory.lineTo(68, 68);
    factory.lineTo(68, 56);
    factory.lineTo(90, 68);
    factory.lineTo(90, 30);
    factory.lineTo(104, 30);
    factory.lineTo(104, 100);
    factory.closeSubpath();
    p.drawPath(factory);
    p.setBrush(kDeep);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(32 + i * 22, 80, 10, 10));
}

void Search(QPainter& p) {
    Tile(p, kTeal, kDeep);
    p.setPen(WhitePen(10));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(56, 56), 22, 22);
    p.drawLine(QPointF(73, 73), QPointF(96, 96));
}

void Purchase(QPainter& p) {
    Tile(p, QColor(0xe8, 0x4a, 0x5f), QColor(0xbf, 0x2b, 0x44));
    p.setPen(WhitePen(7));
    p.setBrush(Qt::NoBrush);
    QPainterPath cart;
    cart.moveTo(24, 34);
    cart.lineTo(36, 34);
    cart.lineTo(46, 80);
    cart.lineTo(94, 80);
    cart.lineTo(102, 48);
    cart.lineTo(40, 48);
    p.drawPath(cart);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(52, 96), 7, 7);
    p.drawEllipse(QPointF(88, 96), 7, 7);
}

void Introduction(QPainter& p) {
    Tile(p, QColor(0x17, 0xa2, 0xb8), QColor(0x0f, 0x76, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath left, right;
    left.moveTo(62, 40);
    left.cubicTo(50, 32, 34, 32, 24, 36);
    left.lineTo(24, 96);
    left.cubicTo(34, 92, 50, 92, 62, 100);
    left.closeSubpath();
    right.moveTo(66, 40);
    right.cubicTo(78, 32, 94, 32, 104, 36);
    right.lineTo(104, 96);
    right.cubicTo(94, 92, 78, 92, 66, 100);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
}

// Union Jack on a rounded tile.
void BritishFlag(QPainter& p) {
    QPainterPath clip;
    clip.addRoundedRect(QRectF(6, 22, S - 12, S - 44), 12, 12);
    p.setClipPath(clip);
    const QRectF r(6, 22, S - 12, S - 44);
    p.fillRect(r, QColor(0x01, 0x21, 0x69));
    p.setPen(QPen(Qt::white, 18));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.setPen(QPen(QColor(0xc8, 0x10, 0x2e), 6));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.center().x() - 13, r.top(), 26, r.height()));
    p.drawRect(QRectF(r.left(), r.center().y() - 13, r.width(), 26));
    p.setBrush(QColor(0xc8, 0x10, 0x2e));
    p.drawRect(QRectF(r.center().x() - 8, r.top(), 16, r.height()));
    p.drawRect(QRectF(r.left(), r.center().y() - 8, r.width(), 16));
    p.setClipping(false);
}

QPolygonF Star(QPointF c, double outer, double rotation) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? outer * 0.38 : outer;
        const double a = qDegreesToRadians(-90.0 + rotation + i * 36.0);
        star << c + QPointF(radius * qCos(a), radius * qSin(a));
    }
    return star;
}

void ChineseFlag(QPainter& p) {
    QPainterPath clip;
    clip.addRoundedRect(QRectF(6, 22, S - 12, S - 44), 12, 12);
    p.setClipPath(clip);
    const QRectF r(6, 22, S - 12, S - 44);
    p.fillRect(r, QColor(0xee, 0x1c, 0x25));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xde, 0x00));
    const double u = r.height() / 20.0;
    const QPointF o = r.topLeft();
    p.drawPolygon(Star(o + QPointF(5 * u, 5 * u), 3 * u, 0));
    const QPointF small[] = {{10, 2}, {12, 4}, {12, 7}, {10, 9}};
    for (const QPointF& s : small)
        p.drawPolygon(Star(o + s * u, 1.1 * u, 20));
    p.setClipping(false);
}

} // namespace

QImage Icon(int index) {
    QImage big = Canvas();
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        About(p);
        break;
    case 1:
        Register(p);
        break;
    case 2:
        Country(p);
        break;
    case 3:
        Account(p);
        break;
    case 4:
        Switch(p);
        break;
    case 5:
        Suppliers(p);
        break;
    case 6:
        Search(p);
        break;
    case 7:
        Purchase(p);
        break;
    case 8:
        Introduction(p);
        break;
    case 9:
        BritishFlag(p);
        break;
    default:
        ChineseFlag(p);
        break;
    }
    p.end();
    return Finish(big);
}

QImage AppIcon() {
    QImage big(256, 256, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 256, 256);
    g.setColorAt(0, kAccent);
    g.setColorAt(1, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(12, 12, 232, 232), 52, 52);
    p.setPen(QPen(Qt::white, 30, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(90, 64), QPointF(90, 192));
    p.drawLine(QPointF(176, 64), QPointF(104, 128));
    p.drawLine(QPointF(104, 128), QPointF(180, 192));
    p.end();
    return big.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage DropArrow() {
    QImage big(40, 24, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kDeep, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(6, 5), QPointF(20, 19), QPointF(34, 5)});
    p.end();
    return big.scaled(10, 6, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage ErrorIcon() {
    QImage big = Canvas();
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(8, 8, S - 16, S - 16));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(56, 28, 16, 50), 8, 8);
    p.drawEllipse(QPointF(64, 94), 9, 9);
    p.end();
    return Finish(big);
}

} // namespace art
