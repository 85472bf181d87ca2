// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree's strip: the tile order is fixed by the tree, which cuts tile i at x = 16*i.
#include "Painting.h"

#include <QPainter>

namespace Artwork {

QList<QImage> treeTiles()
{
    QList<QImage> tiles;
    // 0 storage root: a closed folder.
    tiles << render(16, [](QPainter &p) { folder(p, false); });
    // 1 favourites: a gold star.
    tiles << render(16, [](QPainter &p) { star(p, {8, 8.5}, 7, Palette::gold); });
    // 2 outbox: a tray with a letter leaving it.
    tiles << render(16, [](QPainter &p) {
        tray(p);
        arrow(p, {8, 10}, {8, 1.5}, Palette::blue);
    });
    // 3 inbox: a tray with a letter arriving.
    tiles << render(16, [](QPainter &p) {
        tray(p);
        arrow(p, {8, 1.5}, {8, 10}, Palette::green);
    });
    // 4 drafts: a sheet being written on.
    tiles << render(16, [](QPainter &p) {
        page(p, QRectF(1.5, 1.5, 10, 13));
        pencil(p, {7.5, 13}, 10);
    });
    // 5 trash: a bin.
    tiles << render(16, [](QPainter &p) { bin(p, QRectF(2.5, 1.5, 11, 13), QColor(0xc9, 0xd1, 0xd8)); });
    // 6 status reports: a document with a tick.
    tiles << render(16, [](QPainter &p) {
        page(p, QRectF(2.5, 1.5, 11, 13));
        checkMark(p, QRectF(5, 7, 7, 5), Palette::green);
    });
    // 7 open storage root: the folder of tile 0, open.
    tiles << render(16, [](QPainter &p) { folder(p, true); });
    // 8 sent items and the cell-broadcast box: a paper plane.
    tiles << render(16, [](QPainter &p) { paperPlane(p, QRectF(1, 2, 14, 12), Palette::blue); });
    return tiles;
}

} // namespace Artwork
