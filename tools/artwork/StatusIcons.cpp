// SPDX-License-Identifier: GPL-3.0-or-later
// The message table's strip: read, unread, sent, not sent, draft, may not have been sent,
// 16x16 each.
#include "Painting.h"

#include <QPainter>

namespace Artwork {

QList<QImage> statusTiles()
{
    const QRectF body(1.5, 4.5, 13, 9);
    QList<QImage> tiles;
    // 0 read: an opened envelope with its letter showing.
    tiles << render(16, [&](QPainter &p) { envelope(p, QRectF(1.5, 5.5, 13, 9), Palette::envelopeFill, true); });
    // 1 unread: a bright closed envelope with a blue dot.
    tiles << render(16, [&](QPainter &p) {
        envelope(p, body, Palette::unread);
        badge(p, {13, 4}, 2.6, Palette::blue);
    });
    // 2 sent: a closed envelope with a tick.
    tiles << render(16, [&](QPainter &p) {
        envelope(p, QRectF(1.5, 2.5, 13, 9), Palette::envelopeFill);
        checkMark(p, QRectF(8, 9, 7, 6), Palette::green);
    });
    // 3 not sent: a closed envelope with a red cross badge.
    tiles << render(16, [&](QPainter &p) {
        envelope(p, QRectF(1.5, 2.5, 13, 9), Palette::envelopeFill);
        badgeCross(p, {12, 12}, 3.6);
    });
    // 4 draft: an envelope with a pencil across it.
    tiles << render(16, [&](QPainter &p) {
        envelope(p, QRectF(0.5, 2.5, 12, 8), Palette::paper);
        pencil(p, {6, 15}, 11);
    });
    // 5 may not have been sent: a closed envelope with an amber clock badge (still waiting
    // for the modem's word), told apart from the red cross of "not sent".
    tiles << render(16, [&](QPainter &p) {
        envelope(p, QRectF(1.5, 2.5, 13, 9), Palette::envelopeFill);
        badge(p, {12, 12}, 3.6, Palette::gold);
        p.setPen(QPen(Palette::outline, 1.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(12, 9.8));
        p.drawLine(QPointF(12, 12), QPointF(13.6, 12.8));
    });
    return tiles;
}

} // namespace Artwork
