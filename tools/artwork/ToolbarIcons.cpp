// SPDX-License-Identifier: GPL-3.0-or-later
// Toolbar pictograms for the commands New, Delete, Send, Reply, Forward, Call and Search.
#include "Painting.h"

#include <QPainter>

namespace Artwork {

QList<ToolbarIcon> toolbarIcons(int size)
{
    const QRectF lower(0.5, 6.5, 12, 8.5);
    QList<ToolbarIcon> icons;
    icons << ToolbarIcon{QStringLiteral("sms_tb_new"), render(size, [&](QPainter &p) {
                             envelope(p, QRectF(0.5, 4.5, 12.5, 9), Palette::envelopeFill);
                             badgePlus(p, {12.2, 4.3}, 3.6);
                         })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_delete"), render(size, [&](QPainter &p) {
                             bin(p, QRectF(2.5, 1, 11, 14), QColor(0xc9, 0xd1, 0xd8));
                             badgeCross(p, {12.3, 12.3}, 3.4);
                         })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_send"), render(size, [&](QPainter &p) {
                             paperPlane(p, QRectF(0.5, 1, 15, 14), Palette::blue);
                         })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_reply"), render(size, [&](QPainter &p) {
                             envelope(p, lower, Palette::envelopeFill);
                             curvedArrow(p, /* pointsLeft */ true, Palette::blue);
                         })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_forward"), render(size, [&](QPainter &p) {
                             p.save();
                             p.translate(3.5, 0);
                             envelope(p, lower, Palette::envelopeFill);
                             p.restore();
                             curvedArrow(p, /* pointsLeft */ false, Palette::green);
                         })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_call"), render(size, [&](QPainter &p) { handset(p, Palette::green); })};
    icons << ToolbarIcon{QStringLiteral("sms_tb_search"), render(size, [&](QPainter &p) { magnifier(p); })};
    return icons;
}

} // namespace Artwork
