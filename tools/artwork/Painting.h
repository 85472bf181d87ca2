// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing primitives for the plug-in's artwork. Every pictogram is designed on a 16x16
// grid (so it stays legible as a tree or table icon) and scaled up for the toolbar.
#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

namespace Artwork {

using Pictogram = std::function<void(QPainter &)>;

// Renders a pictogram into a transparent size x size image.
QImage render(int size, const Pictogram &draw);
// Places equally sized tiles side by side, left to right.
QImage strip(const QList<QImage> &tiles);
// The greyed, faded variant shown for a disabled toolbar button.
QImage disabledVariant(const QImage &enabled);

namespace Palette {
const QColor outline(0x4a, 0x55, 0x60);
const QColor paper(0xfb, 0xfa, 0xf5);
const QColor envelopeFill(0xf2, 0xe9, 0xd0);
const QColor unread(0xff, 0xd6, 0x5a);
const QColor folderFill(0xf0, 0xb8, 0x4a);
const QColor folderDark(0xb5, 0x7d, 0x18);
const QColor green(0x2e, 0x9e, 0x44);
const QColor blue(0x2f, 0x6f, 0xd1);
const QColor red(0xd2, 0x36, 0x2b);
const QColor grey(0x8a, 0x93, 0x9b);
const QColor gold(0xf5, 0xb7, 0x00);
} // namespace Palette

void envelope(QPainter &p, const QRectF &r, const QColor &fill, bool open = false);
void folder(QPainter &p, bool open);
void tray(QPainter &p);
void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &color, qreal width = 2.0);
void curvedArrow(QPainter &p, bool pointsLeft, const QColor &color);
void star(QPainter &p, const QPointF &centre, qreal radius, const QColor &fill);
void bin(QPainter &p, const QRectF &r, const QColor &fill);
void page(QPainter &p, const QRectF &r);
void pencil(QPainter &p, const QPointF &tip, qreal length);
void checkMark(QPainter &p, const QRectF &r, const QColor &color);
void badge(QPainter &p, const QPointF &centre, qreal radius, const QColor &fill);
void badgeCross(QPainter &p, const QPointF &centre, qreal radius);
void badgePlus(QPainter &p, const QPointF &centre, qreal radius);
void paperPlane(QPainter &p, const QRectF &r, const QColor &fill);
void handset(QPainter &p, const QColor &fill);
void magnifier(QPainter &p);

// The three sets the run-time folder needs.
QList<QImage> treeTiles();    // nine tiles: root, favourite, outbox, inbox, draft, trash, report, open root, sent
QList<QImage> statusTiles();  // six tiles: read, unread, sent, not sent, draft, may not have been sent

struct ToolbarIcon
{
    QString baseName;  // file stem, e.g. "sms_tb_new"
    QImage image;
};
QList<ToolbarIcon> toolbarIcons(int size);

} // namespace Artwork
