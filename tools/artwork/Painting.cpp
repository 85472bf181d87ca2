// SPDX-License-Identifier: GPL-3.0-or-later
#include "Painting.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Artwork {

QImage render(int size, const Pictogram &draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage strip(const QList<QImage> &tiles)
{
    if (tiles.isEmpty())
        return {};
    const QSize tile = tiles.first().size();
    QImage out(tile.width() * tiles.size(), tile.height(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    for (int i = 0; i < tiles.size(); ++i)
        p.drawImage(i * tile.width(), 0, tiles.at(i));
    return out;
}

QImage disabledVariant(const QImage &enabled)
{
    QImage out = enabled.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = 96 + qGray(line[x]) / 2;  // lighter and flatter than any colour
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 45 / 100);
        }
    }
    return out;
}

static QPen outlinePen(qreal width = 1.0)
{
    QPen pen(Palette::outline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void envelope(QPainter &p, const QRectF &r, const QColor &fill, bool open)
{
    p.setPen(outlinePen());
    if (open) {
        // Flap folded back above the body, with the letter peeking out.
        QPainterPath flap;
        flap.moveTo(r.left(), r.top() + r.height() * 0.35);
        flap.lineTo(r.center().x(), r.top() - r.height() * 0.25);
        flap.lineTo(r.right(), r.top() + r.height() * 0.35);
        p.setBrush(fill.darker(108));
        p.drawPath(flap);
        p.setBrush(Palette::paper);
        p.drawRect(QRectF(r.left() + 2, r.top() - 0.5, r.width() - 4, r.height() * 0.6));
        p.setBrush(fill);
        QPainterPath body;
        body.moveTo(r.left(), r.top() + r.height() * 0.35);
        body.lineTo(r.center().x(), r.top() + r.height() * 0.75);
        body.lineTo(r.right(), r.top() + r.height() * 0.35);
        body.lineTo(r.right(), r.bottom());
        body.lineTo(r.left(), r.bottom());
        body.closeSubpath();
        p.drawPath(body);
        return;
    }
    p.setBrush(fill);
    p.drawRect(r);
    QPainterPath flap;
    flap.moveTo(r.topLeft());
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.6);
    flap.lineTo(r.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
}

void folder(QPainter &p, bool open)
{
    p.setPen(outlinePen());
    p.setBrush(Palette::folderDark);
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(Palette::folderFill);
    if (open) {
        // Front leaf tipped forward so the folder reads as open.
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.5, 13.5);
        front.closeSubpath();
        p.drawPath(front);
    } else {
        p.drawRect(QRectF(1.5, 6.5, 13, 7));
    }
}

void tray(QPainter &p)
{
    p.setPen(outlinePen());
    p.setBrush(QColor(0xdd, 0xe3, 0xe8));
    QPainterPath path;
    path.moveTo(1.5, 9.5);
    path.lineTo(5, 9.5);
    path.lineTo(6, 11.5);
    path.lineTo(10, 11.5);
    path.lineTo(11, 9.5);
    path.lineTo(14.5, 9.5);
    path.lineTo(14.5, 14.5);
    path.lineTo(1.5, 14.5);
    path.closeSubpath();
    p.drawPath(path);
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &color, qreal width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawLine(from, to);
    const QLineF shaft(to, from);
    const qreal head = width * 1.8;
    QLineF left = shaft;
    left.setLength(head);
    left.setAngle(shaft.angle() + 40);
    QLineF right = shaft;
    right.setLength(head);
    right.setAngle(shaft.angle() - 40);
    p.drawLine(left);
    p.drawLine(right);
}

void curvedArrow(QPainter &p, bool pointsLeft, const QColor &color)
{
    p.save();
    if (!pointsLeft) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPen pen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(14.5, 9.5);
    path.cubicTo(14.5, 4.5, 9, 3.5, 4, 3.5);
    p.drawPath(path);
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    QPolygonF head;
    head << QPointF(1, 3.5) << QPointF(5.5, 0.5) << QPointF(5.5, 6.5);
    p.drawPolygon(head);
    p.restore();
}

void star(QPainter &p, const QPointF &centre, qreal radius, const QColor &fill)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? radius : radius * 0.45;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        points << centre + QPointF(r * std::cos(angle), r * std::sin(angle));
    }
    p.setPen(QPen(fill.darker(150), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(points);
}

void bin(QPainter &p, const QRectF &r, const QColor &fill)
{
    p.setPen(outlinePen());
    p.setBrush(fill);
    const qreal lidH = r.height() * 0.14;
    p.drawRect(QRectF(r.left(), r.top() + lidH, r.width(), lidH));
    p.drawRect(QRectF(r.center().x() - r.width() * 0.15, r.top(), r.width() * 0.3, lidH));
    QPainterPath body;
    body.moveTo(r.left() + r.width() * 0.1, r.top() + 2 * lidH);
    body.lineTo(r.right() - r.width() * 0.1, r.top() + 2 * lidH);
    body.lineTo(r.right() - r.width() * 0.2, r.bottom());
    body.lineTo(r.left() + r.width() * 0.2, r.bottom());
    body.closeSubpath();
    p.drawPath(body);
    const qreal top = r.top() + 2 * lidH + 1.5;
    const qreal bottom = r.bottom() - 1.5;
    for (qreal f : {0.35, 0.5, 0.65})
        p.drawLine(QPointF(r.left() + r.width() * f, top), QPointF(r.left() + r.width() * f, bottom));
}

void page(QPainter &p, const QRectF &r)
{
    p.setPen(outlinePen());
    p.setBrush(Palette::paper);
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(QPen(Palette::grey, 0.8));
    for (qreal y = r.top() + fold + 1.5; y < r.bottom() - 1; y += 2.2)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void pencil(QPainter &p, const QPointF &tip, qreal length)
{
    p.save();
    p.translate(tip);
    p.rotate(-45);
    p.setPen(QPen(Palette::outline, 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal w = length * 0.28;
    p.setBrush(QColor(0xf3, 0xd3, 0x9b));
    QPolygonF cone;
    cone << QPointF(0, 0) << QPointF(w * 1.1, -w / 2) << QPointF(w * 1.1, w / 2);
    p.drawPolygon(cone);
    p.setBrush(Palette::gold);
    p.drawRect(QRectF(w * 1.1, -w / 2, length - w * 1.9, w));
    p.setBrush(QColor(0xe8, 0x7a, 0x8c));
    p.drawRect(QRectF(length - w * 0.8, -w / 2, w * 0.8, w));
    p.restore();
}

void checkMark(QPainter &p, const QRectF &r, const QColor &color)
{
    p.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF path;
    path << QPointF(r.left(), r.center().y()) << QPointF(r.left() + r.width() * 0.38, r.bottom())
         << QPointF(r.right(), r.top());
    p.drawPolyline(path);
}

void badge(QPainter &p, const QPointF &centre, qreal radius, const QColor &fill)
{
    p.setPen(QPen(Qt::white, 0.8));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

void badgeCross(QPainter &p, const QPointF &centre, qreal radius)
{
    badge(p, centre, radius, Palette::red);
    const qreal d = radius * 0.45;
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-d, -d), centre + QPointF(d, d));
    p.drawLine(centre + QPointF(-d, d), centre + QPointF(d, -d));
}

void badgePlus(QPainter &p, const QPointF &centre, qreal radius)
{
    badge(p, centre, radius, Palette::green);
    const qreal d = radius * 0.55;
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-d, 0), centre + QPointF(d, 0));
    p.drawLine(centre + QPointF(0, -d), centre + QPointF(0, d));
}

void paperPlane(QPainter &p, const QRectF &r, const QColor &fill)
{
    p.setPen(QPen(fill.darker(140), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    const QPointF nose(r.right(), r.top());
    QPolygonF wing;
    wing << nose << QPointF(r.left(), r.top() + r.height() * 0.45)
         << QPointF(r.left() + r.width() * 0.4, r.top() + r.height() * 0.6);
    p.drawPolygon(wing);
    p.setBrush(fill.lighter(130));
    QPolygonF keel;
    keel << nose << QPointF(r.left() + r.width() * 0.4, r.top() + r.height() * 0.6)
         << QPointF(r.left() + r.width() * 0.55, r.bottom());
    p.drawPolygon(keel);
}

void handset(QPainter &p, const QColor &fill)
{
    p.setPen(QPen(fill.darker(150), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    QPainterPath path;
    path.moveTo(3.0, 1.8);
    path.lineTo(5.6, 1.2);
    path.lineTo(7.0, 4.6);
    path.lineTo(5.4, 6.0);
    path.cubicTo(6.2, 7.8, 8.2, 9.8, 10.0, 10.6);
    path.lineTo(11.4, 9.0);
    path.lineTo(14.8, 10.4);
    path.lineTo(14.2, 13.0);
    path.cubicTo(13.6, 14.6, 11.4, 15.0, 9.4, 14.0);
    path.cubicTo(6.0, 12.2, 3.8, 10.0, 2.0, 6.6);
    path.cubicTo(1.0, 4.6, 1.4, 2.4, 3.0, 1.8);
    p.drawPath(path);
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(Palette::outline, 1.6));
    p.setBrush(QColor(0xcf, 0xe6, 0xfa));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(Palette::outline, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
}

} // namespace Artwork
