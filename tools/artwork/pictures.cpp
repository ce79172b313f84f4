// The page pictures: home (per language), network, about (per language).
#include <QPainter>
#include <QPainterPath>

#include "artwork.h"

namespace art {
namespace {

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// Deep blue band with a soft wave at its lower edge and a few translucent circles.
void HeroBand(QPainter& p, int w, int h) {
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, kDeep);
    g.setColorAt(1, kAccent);
    QPainterPath band;
    band.moveTo(0, 0);
    band.lineTo(w, 0);
    band.lineTo(w, h - 40);
    band.cubicTo(w * 0.7, h + 10, w * 0.35, h - 70, 0, h - 20);
    band.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(band);
    p.save();
    p.setClipPath(band);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(QPointF(w - 90, 30), 150, 150);
    p.drawEllipse(QPointF(w - 260, h - 10), 90, 90);
    p.drawEllipse(QPointF(40, -30), 110, 110);
    p.restore();
}

void Wordmark(QPainter& p, QPointF at, int size, const QColor& color) {
    p.setPen(color);
    p.setFont(Font(size, true));
    QFont f = p.font();
    f.setLetterSpacing(QFont::AbsoluteSpacing, size * 0.08);
    p.setFont(f);
    p.drawText(at, QStringLiteral("KELVRA"));
}

// A car seen from the side, in white outline, for the hero band.
void Car(QPainter& p, QPointF o, double s, const QColor& paint = QColor(255, 255, 255, 235),
         const QColor& glass = QColor(0x1c, 0x7e, 0xd6, 160)) {
    p.save();
    p.translate(o);
    p.scale(s, s);
    QPainterPath body;
    body.moveTo(0, 60);
    body.cubicTo(0, 44, 10, 40, 30, 38);
    body.lineTo(62, 34);
    body.cubicTo(80, 14, 100, 6, 130, 6);
    body.lineTo(170, 6);
    body.cubicTo(192, 6, 208, 20, 226, 34);
    body.lineTo(252, 38);
    body.cubicTo(268, 40, 276, 48, 276, 60);
    body.lineTo(276, 70);
    body.lineTo(0, 70);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(paint);
    p.drawPath(body);
    p.setBrush(glass);
    QPainterPath windows;
    windows.moveTo(78, 34);
    windows.cubicTo(92, 18, 108, 14, 130, 14);
    windows.lineTo(136, 14);
    windows.lineTo(136, 34);
    windows.closeSubpath();
    windows.moveTo(146, 14);
    windows.lineTo(170, 14);
    windows.cubicTo(186, 14, 198, 22, 210, 34);
    windows.lineTo(146, 34);
    windows.closeSubpath();
    p.drawPath(windows);
    for (double x : {62.0, 214.0}) {
        p.setBrush(kInk);
        p.drawEllipse(QPointF(x, 70), 22, 22);
        p.setBrush(QColor(0xd6, 0xe4, 0xf2));
        p.drawEllipse(QPointF(x, 70), 10, 10);
    }
    p.restore();
}

void Gear(QPainter& p, QPointF c, double r, const QColor& color) {
    p.save();
    p.translate(c);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.rotate(i * 45);
        p.drawRoundedRect(QRectF(-r * 0.18, -r * 1.18, r * 0.36, r * 0.5), 3, 3);
        p.restore();
    }
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), r, r);
    ring.addEllipse(QPointF(0, 0), r * 0.42, r * 0.42);
    ring.setFillRule(Qt::OddEvenFill);
    p.drawPath(ring);
    p.restore();
}

void CardIcon(QPainter& p, QPointF c, int kind) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSky);
    p.drawEllipse(c, 26, 26);
    QPen pen(kAccent, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (kind == 0) { // number: a tag with "#"
        p.setFont(Font(26, true));
        p.setPen(kAccent);
        p.drawText(QRectF(c.x() - 20, c.y() - 20, 40, 40), Qt::AlignCenter, QStringLiteral("#"));
    } else if (kind == 1) { // vehicle
        Car(p, c + QPointF(-20, -9), 0.145, kAccent, Qt::white);
    } else { // engine
        Gear(p, c, 11, kAccent);
    }
}

struct Card {
    QString title;
    QString text;
};

void Cards(QPainter& p, const QList<Card>& cards, int top, int w) {
    const int cardW = 200, cardH = 150, gap = 20;
    const int left = (w - (3 * cardW + 2 * gap)) / 2;
    for (int i = 0; i < cards.size(); ++i) {
        const QRectF r(left + i * (cardW + gap), top, cardW, cardH);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(11, 83, 148, 20));
        p.drawRoundedRect(r.translated(0, 3), 12, 12);
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(0xd5, 0xe3, 0xf1), 1));
        p.drawRoundedRect(r, 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? kTeal : kAccent);
        p.drawRoundedRect(QRectF(r.left() + 20, r.top(), 44, 4), 2, 2);
        CardIcon(p, r.topLeft() + QPointF(46, 46), i);
        p.setPen(kInk);
        p.setFont(Font(17, true));
        p.drawText(QRectF(r.left() + 20, r.top() + 80, cardW - 40, 24), Qt::AlignLeft,
                   cards[i].title);
        p.setPen(kMuted);
        p.setFont(Font(12));
        p.drawText(QRectF(r.left() + 20, r.top() + 106, cardW - 36, 40), Qt::TextWordWrap,
                   cards[i].text);
    }
}

} // namespace

QImage Home(bool chinese) {
    const int w = 720, h = 560;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    HeroBand(p, w, 260);
    Wordmark(p, QPointF(44, 104), 58, Qt::white);
    p.setPen(QColor(255, 255, 255, 230));
    p.setFont(Font(20, true));
    p.drawText(QPointF(48, 146), chinese ? QStringLiteral("汽车配件在线目录")
                                         : QStringLiteral("Online catalogue of automotive parts"));
    p.setFont(Font(14));
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(48, 160, 330, 50), Qt::TextWordWrap,
               chinese ? QStringLiteral("为汽修厂与配件经销商提供快速、准确的配件查询")
                       : QStringLiteral("Fast, accurate parts look-up for workshops and dealers"));
    Gear(p, QPointF(610, 84), 34, QColor(255, 255, 255, 60));
    Gear(p, QPointF(660, 140), 20, QColor(255, 255, 255, 45));
    Car(p, QPointF(400, 120), 1.05);

    const QList<Card> cards =
        chinese ? QList<Card>{{QStringLiteral("按编号查找"),
                               QStringLiteral("OE号、厂商编号、任意编号、特殊号与国际编码")},
                              {QStringLiteral("按车型查找"),
                               QStringLiteral("车辆品牌、系列与具体车型")},
                              {QStringLiteral("按发动机查找"),
                               QStringLiteral("发动机品牌与发动机型号")}}
                : QList<Card>{{QStringLiteral("Code Search"),
                               QStringLiteral("OE, manufacturer, any, special number or EAN")},
                              {QStringLiteral("Vehicle Search"),
                               QStringLiteral("Make, model and vehicle type")},
                              {QStringLiteral("Engine Search"),
                               QStringLiteral("Engine brand and engine code")}};
    Cards(p, cards, 290, w);

    p.setPen(kAccent);
    p.setFont(Font(15, true));
    const QString hint = chinese ? QStringLiteral("从左侧面板开始查找")
                                 : QStringLiteral("Start a search in the panel on the left");
    const QRectF hintRect(0, 470, w, 30);
    p.drawText(hintRect, Qt::AlignCenter, hint);
    const double textW = p.fontMetrics().horizontalAdvance(hint);
    const double ax = (w - textW) / 2 - 34;
    QPen arrow(kAccent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(arrow);
    p.drawLine(QPointF(ax, 485), QPointF(ax + 22, 485));
    p.drawLine(QPointF(ax, 485), QPointF(ax + 8, 478));
    p.drawLine(QPointF(ax, 485), QPointF(ax + 8, 492));
    p.setPen(QColor(0xb0, 0xbe, 0xcc));
    p.setFont(Font(11));
    p.drawText(QRectF(0, 520, w, 20), Qt::AlignCenter, QStringLiteral("Kelvra  Ver 1.0.0.3"));
    return image;
}

QImage Network() {
    const int w = 700, h = 250;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kSky);
    p.drawRoundedRect(QRectF(10, 10, w - 20, h - 20), 18, 18);

    // The computer.
    const QRectF screen(95, 50, 150, 100);
    p.setBrush(kDeep);
    p.drawRoundedRect(screen, 10, 10);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, kAccent);
    glass.setColorAt(1, QColor(0x5a, 0xa9, 0xf0));
    p.setBrush(glass);
    p.drawRoundedRect(screen.adjusted(8, 8, -8, -8), 5, 5);
    p.setBrush(kDeep);
    p.drawRect(QRectF(160, 150, 20, 18));
    p.drawRoundedRect(QRectF(130, 166, 80, 8), 4, 4);

    // The globe.
    const QPointF g(535, 108);
    p.setBrush(kTeal);
    p.drawEllipse(g, 62, 62);
    QPen line(Qt::white, 4);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(g, 62, 62);
    p.drawEllipse(QRectF(g.x() - 28, g.y() - 62, 56, 124));
    p.drawLine(g + QPointF(-62, 0), g + QPointF(62, 0));
    p.drawArc(QRectF(g.x() - 58, g.y() - 70, 116, 50), 200 * 16, 140 * 16);
    p.drawArc(QRectF(g.x() - 58, g.y() + 20, 116, 50), 20 * 16, 140 * 16);

    // The broken line and the red cross.
    QPen dash(kMuted, 5, Qt::DashLine, Qt::RoundCap);
    p.setPen(dash);
    p.drawLine(QPointF(262, 108), QPointF(330, 108));
    p.drawLine(QPointF(380, 108), QPointF(458, 108));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(355, 108), 24, 24);
    QPen cross(Qt::white, 6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(345, 98), QPointF(365, 118));
    p.drawLine(QPointF(365, 98), QPointF(345, 118));

    p.setPen(kInk);
    p.setFont(Font(16, true));
    p.drawText(QRectF(60, 186, 220, 24), Qt::AlignCenter, QStringLiteral("本机 · Computer"));
    p.drawText(QRectF(425, 186, 220, 24), Qt::AlignCenter, QStringLiteral("互联网 · Internet"));
    p.setPen(kRed);
    p.setFont(Font(12, true));
    p.drawText(QRectF(255, 140, 200, 20), Qt::AlignCenter, QStringLiteral("网络未连接 · Offline"));
    return image;
}

QImage About(bool chinese) {
    const int w = 759, h = 661;
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    HeroBand(p, w, 190);
    Wordmark(p, QPointF(50, 86), 40, Qt::white);
    p.setPen(Qt::white);
    p.setFont(Font(24, true));
    p.drawText(QPointF(52, 128),
               chinese ? QStringLiteral("关于我们") : QStringLiteral("About Kelvra"));
    Gear(p, QPointF(660, 74), 40, QColor(255, 255, 255, 55));

    const QStringList paragraphs =
        chinese ? QStringList{QStringLiteral(
                                  "凯维拉(Kelvra)是面向汽修厂和配件经销商的汽车配件在线目录。"),
                              QStringLiteral(
                                  "可按任意编号、厂商编号、OE号、特殊号或国际编码查找配件，也可按车"
                                  "辆品牌、系列、具体车型，或按发动机品牌与型号查找。"),
                              QStringLiteral("所有结果均实时来自凯维拉云展示中心，始终呈现最新的产"
                                             "品、厂商与供应信息。")}
                : QStringList{
                      QStringLiteral("Kelvra is an online catalogue of automotive spare parts for "
                                     "workshops and parts dealers."),
                      QStringLiteral("Look parts up by any number, manufacturer number, OE number, "
                                     "special number or EAN, by vehicle make, model and type, or "
                                     "by engine brand and engine code."),
                      QStringLiteral("Every result comes live from the Kelvra service, so you "
                                     "always see the current range, manufacturers and suppliers.")};
    double y = 220;
    p.setFont(Font(15));
    for (const QString& text : paragraphs) {
        const QRectF box(60, y, w - 120, 200);
        const QRectF used = p.boundingRect(box, Qt::TextWordWrap, text);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(44, y + 4, 5, 16), 2, 2);
        p.setPen(kInk);
        p.drawText(box, Qt::TextWordWrap, text);
        y += used.height() + 18;
    }

    struct Tile {
        QString value;
        QString label;
    };
    const QList<Tile> tiles =
        chinese ? QList<Tile>{{QStringLiteral("5"), QStringLiteral("种编号查找")},
                              {QStringLiteral("4"), QStringLiteral("种车型与发动机查找")},
                              {QStringLiteral("2"), QStringLiteral("种界面语言")}}
                : QList<Tile>{{QStringLiteral("5"), QStringLiteral("number searches")},
                              {QStringLiteral("4"), QStringLiteral("vehicle and engine searches")},
                              {QStringLiteral("2"), QStringLiteral("interface languages")}};
    const double tileW = 200, gap = 19.5, top = std::max(y + 16, 440.0);
    for (int i = 0; i < tiles.size(); ++i) {
        const QRectF r(60 + i * (tileW + gap), top, tileW, 96);
        p.setPen(Qt::NoPen);
        p.setBrush(kSky);
        p.drawRoundedRect(r, 12, 12);
        p.setPen(i == 1 ? kTeal : kDeep);
        p.setFont(Font(34, true));
        p.drawText(QRectF(r.left() + 18, r.top() + 10, 60, 44), Qt::AlignLeft, tiles[i].value);
        p.setPen(kMuted);
        p.setFont(Font(13));
        p.drawText(QRectF(r.left() + 18, r.top() + 56, tileW - 30, 36), Qt::TextWordWrap,
                   tiles[i].label);
    }

    p.setPen(QPen(QColor(0xdd, 0xe6, 0xef), 1));
    p.drawLine(QPointF(60, h - 62), QPointF(w - 60, h - 62));
    p.setPen(kMuted);
    p.setFont(Font(12));
    p.drawText(QRectF(60, h - 52, w - 120, 24), Qt::AlignLeft | Qt::AlignVCenter,
               chinese ? QStringLiteral("凯维拉云展示中心 · 客户端版本 1.0.0.3")
                       : QStringLiteral("Kelvra desktop client · Version 1.0.0.3"));
    return image;
}

} // namespace art
