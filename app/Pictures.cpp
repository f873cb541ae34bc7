#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace
{

const QColor kRoof(178, 52, 44);
const QColor kWall(247, 236, 214);
const QColor kBlue(38, 86, 150);
const QColor kGreen(46, 130, 86);

// A house of width w standing on (x, baseY).
void drawHouse(QPainter& p, qreal x, qreal baseY, qreal w, const QColor& wall, const QColor& roof)
{
    const qreal h = w * 0.62;
    p.setPen(QPen(roof.darker(140), qMax<qreal>(1.0, w / 40)));
    p.setBrush(wall);
    p.drawRect(QRectF(x + w * 0.1, baseY - h, w * 0.8, h));
    QPainterPath r;
    r.moveTo(x, baseY - h);
    r.lineTo(x + w / 2, baseY - h - w * 0.42);
    r.lineTo(x + w, baseY - h);
    r.closeSubpath();
    p.setBrush(roof);
    p.drawPath(r);
    p.setBrush(kBlue.lighter(150));
    p.drawRect(QRectF(x + w * 0.22, baseY - h * 0.78, w * 0.2, h * 0.26));
    p.setBrush(roof.darker(120));
    p.drawRect(QRectF(x + w * 0.56, baseY - h * 0.62, w * 0.2, h * 0.62));
}

// A block of flats with a grid of windows.
void drawTower(QPainter& p, qreal x, qreal baseY, qreal w, qreal h, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(x, baseY - h, w, h));
    p.setBrush(QColor(255, 240, 180, 200));
    const qreal cell = w / 4;
    for (qreal y = baseY - h + cell * 0.6; y < baseY - cell; y += cell * 1.2)
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(x + cell * (0.5 + i * 1.1), y, cell * 0.6, cell * 0.7));
}

void drawSkyline(QPainter& p, const QRectF& r, int alpha)
{
    const qreal base = r.bottom();
    const qreal u = r.width() / 20;
    const QColor towers[] = {QColor(70, 96, 140, alpha), QColor(92, 120, 160, alpha),
                             QColor(60, 84, 120, alpha)};
    const qreal heights[] = {5.5, 8, 6.5, 9, 4.5, 7};
    for (int i = 0; i < 6; ++i)
        drawTower(p, r.left() + u * (1 + i * 3.1), base, u * 2.2, u * heights[i], towers[i % 3]);
}

QPainter& smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    return p;
}

// A transparent square picture of side pixels, painted by draw(painter, side).
template <typename Draw> QPixmap square(int side, Draw draw)
{
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    smooth(p);
    draw(p, qreal(side));
    return pm;
}

QFont font(const QString& family, int px, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

void drawPerson(QPainter& p, qreal cx, qreal top, qreal s, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(cx, top + s * 0.22), s * 0.2, s * 0.2);
    QPainterPath body;
    body.moveTo(cx - s * 0.38, top + s);
    body.cubicTo(cx - s * 0.38, top + s * 0.45, cx + s * 0.38, top + s * 0.45, cx + s * 0.38,
                 top + s);
    body.closeSubpath();
    p.drawPath(body);
}

void drawMagnifier(QPainter& p, QPointF c, qreal r)
{
    p.setBrush(QColor(255, 255, 255, 170));
    p.setPen(QPen(QColor(40, 40, 40), r * 0.35, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(c, r, r);
    p.drawLine(c + QPointF(r * 0.7, r * 0.7), c + QPointF(r * 1.7, r * 1.7));
}

void drawPlus(QPainter& p, QPointF c, qreal r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::white, r * 0.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(r * 0.55, 0), c + QPointF(r * 0.55, 0));
    p.drawLine(c - QPointF(0, r * 0.55), c + QPointF(0, r * 0.55));
}

} // namespace

namespace Pictures
{

QPixmap splash(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    smooth(p);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(24, 58, 112));
    sky.setColorAt(0.65, QColor(94, 150, 204));
    sky.setColorAt(1, QColor(236, 214, 170));
    p.fillRect(r, sky);
    QRadialGradient sun(QPointF(r.width() * 0.82, r.height() * 0.28), r.height() * 0.22);
    sun.setColorAt(0, QColor(255, 236, 170));
    sun.setColorAt(1, QColor(255, 236, 170, 0));
    p.fillRect(r, sun);
    drawSkyline(p, QRectF(r.left(), r.top(), r.width(), r.height() * 0.86), 210);
    p.fillRect(QRectF(0, r.height() * 0.86, r.width(), r.height() * 0.14), QColor(72, 110, 64));
    const qreal w = r.width() / 9;
    drawHouse(p, w * 0.6, r.height() * 0.9, w * 1.4, kWall, kRoof);
    drawHouse(p, w * 6.6, r.height() * 0.92, w * 1.7, kWall.darker(105), kRoof.darker(110));
    p.setPen(Qt::white);
    p.setFont(font(QStringLiteral("Noto Sans"), int(r.height() * 0.16), true));
    p.drawText(QRectF(0, r.height() * 0.08, r.width(), r.height() * 0.2), Qt::AlignCenter,
               QStringLiteral("Halvorra"));
    p.setFont(font(QStringLiteral("楷体_GB2312"), int(r.height() * 0.075), true));
    p.drawText(QRectF(0, r.height() * 0.3, r.width(), r.height() * 0.12), Qt::AlignCenter,
               QStringLiteral("房地产中介信息管理系统"));
    p.setFont(font(QStringLiteral("宋体"), 12));
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(QRectF(0, r.height() - 24, r.width() - 12, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("正在启动……"));
    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -1, -1));
    return pm;
}

QPixmap loginEmblem(int side)
{
    return square(side, [](QPainter& p, qreal s) {
        drawHouse(p, s * 0.04, s * 0.8, s * 0.72, kWall, kRoof);
        // A key across the door: the operator's entry.
        p.setPen(QPen(QColor(196, 150, 30), s * 0.07, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(QColor(240, 196, 60));
        p.drawEllipse(QPointF(s * 0.72, s * 0.62), s * 0.13, s * 0.13);
        p.drawLine(QPointF(s * 0.72, s * 0.75), QPointF(s * 0.72, s * 0.97));
        p.drawLine(QPointF(s * 0.72, s * 0.88), QPointF(s * 0.82, s * 0.88));
    });
}

QPixmap appIcon(int side)
{
    return square(side, [](QPainter& p, qreal s) {
        QLinearGradient sky(0, 0, 0, s);
        sky.setColorAt(0, kBlue.lighter(150));
        sky.setColorAt(1, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(sky);
        p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
        drawTower(p, s * 0.58, s * 0.84, s * 0.26, s * 0.6, QColor(220, 230, 244));
        drawHouse(p, s * 0.1, s * 0.84, s * 0.56, kWall, kRoof);
        p.setBrush(kGreen);
        p.drawRect(QRectF(s * 0.08, s * 0.84, s * 0.84, s * 0.05));
    });
}

QPixmap mainBackground(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    smooth(p);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(232, 240, 250));
    g.setColorAt(0.7, QColor(200, 220, 240));
    g.setColorAt(1, QColor(228, 220, 196));
    p.fillRect(r, g);
    drawSkyline(p, QRectF(r.width() * 0.35, r.height() * 0.3, r.width() * 0.65, r.height() * 0.7),
                90);
    drawHouse(p, r.width() * 0.06, r.height() * 0.96, r.width() * 0.16, kWall, kRoof);
    p.setPen(QColor(38, 70, 120, 200));
    p.setFont(font(QStringLiteral("楷体_GB2312"), int(r.height() * 0.08), true));
    p.drawText(QRectF(r.width() * 0.25, r.height() * 0.42, r.width() * 0.7, r.height() * 0.14),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("房地产中介信息管理系统"));
    p.setFont(font(QStringLiteral("Noto Sans"), int(r.height() * 0.05)));
    p.drawText(QRectF(r.width() * 0.25, r.height() * 0.56, r.width() * 0.7, r.height() * 0.08),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Halvorra"));
    return pm;
}

QIcon commandGlyph(const QString& id, int side)
{
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    smooth(p);
    const qreal s = side;
    if (id == QLatin1String("B01FYLR") || id == QLatin1String("B02FYCX")) {
        drawHouse(p, s * 0.02, s * 0.9, s * 0.7, kWall, kRoof);
        if (id == QLatin1String("B01FYLR"))
            drawPlus(p, QPointF(s * 0.76, s * 0.74), s * 0.2);
        else
            drawMagnifier(p, QPointF(s * 0.66, s * 0.56), s * 0.16);
    } else if (id == QLatin1String("C01KHLR") || id == QLatin1String("C02KHCX")) {
        drawPerson(p, s * 0.38, s * 0.06, s * 0.84, kBlue);
        if (id == QLatin1String("C01KHLR"))
            drawPlus(p, QPointF(s * 0.76, s * 0.74), s * 0.2);
        else
            drawMagnifier(p, QPointF(s * 0.66, s * 0.56), s * 0.16);
    } else if (id == QLatin1String("D02RYDA")) {
        drawPerson(p, s * 0.66, s * 0.08, s * 0.72, kBlue.lighter(140));
        drawPerson(p, s * 0.36, s * 0.2, s * 0.78, kBlue);
    } else if (id == QLatin1String("D04JCSJ")) {
        p.setPen(QPen(QColor(90, 90, 90), s * 0.04));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(s * 0.1, s * 0.08, s * 0.8, s * 0.84), s * 0.06, s * 0.06);
        for (int i = 0; i < 4; ++i) {
            const qreal y = s * (0.24 + i * 0.18);
            p.setPen(Qt::NoPen);
            p.setBrush(i % 2 ? kGreen : kRoof);
            p.drawEllipse(QPointF(s * 0.25, y), s * 0.05, s * 0.05);
            p.setPen(QPen(QColor(80, 80, 80), s * 0.05, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(s * 0.38, y), QPointF(s * 0.78, y));
        }
    } else if (id == QLatin1String("A01BFWJ")) {
        p.setPen(QPen(kBlue.darker(150), s * 0.04));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8), s * 0.08, s * 0.08);
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(s * 0.26, s * 0.1, s * 0.48, s * 0.3));
        p.setBrush(kBlue.darker(140));
        p.drawRect(QRectF(s * 0.58, s * 0.14, s * 0.1, s * 0.22));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.2, s * 0.52, s * 0.6, s * 0.38));
    } else if (id == QLatin1String("A02MMXG")) {
        p.setPen(QPen(QColor(170, 120, 20), s * 0.06));
        p.setBrush(QColor(240, 196, 60));
        p.drawEllipse(QPointF(s * 0.32, s * 0.36), s * 0.2, s * 0.2);
        p.setPen(QPen(QColor(170, 120, 20), s * 0.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.46, s * 0.5), QPointF(s * 0.86, s * 0.9));
        p.drawLine(QPointF(s * 0.7, s * 0.74), QPointF(s * 0.6, s * 0.84));
        p.drawLine(QPointF(s * 0.8, s * 0.84), QPointF(s * 0.7, s * 0.94));
    } else { // exit: an open door with an arrow leaving it
        p.setPen(QPen(QColor(90, 60, 30), s * 0.04));
        p.setBrush(QColor(150, 100, 50));
        p.drawRect(QRectF(s * 0.12, s * 0.08, s * 0.46, s * 0.84));
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(s * 0.48, s * 0.52), s * 0.04, s * 0.04);
        p.setPen(QPen(kRoof, s * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(s * 0.5, s * 0.5), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.9, s * 0.5), QPointF(s * 0.76, s * 0.36));
        p.drawLine(QPointF(s * 0.9, s * 0.5), QPointF(s * 0.76, s * 0.64));
    }
    p.end();
    return QIcon(pm);
}

} // namespace Pictures
