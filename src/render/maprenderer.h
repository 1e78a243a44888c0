#pragma once

#include "map/gamemap.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

namespace quintaraz {

class TileArt;
class TilePalette;

/**
 * Draws maps: each cell's terrain tile, with its start's marker laid over it. One composing
 * code for every picture of a map: a file's picture is every cell of the map, the window's
 * view the cells it shows, drawn again into the image it keeps. Turns view pixels back into
 * cells.
 */
class MapRenderer {
public:
    /**
     * The tiles of one cell size, made once: each terrain's, the unknown terrain's after
     * them, and each of those under each player's marker; 32-bit, or 8-bit on a palette.
     */
    class Tiles {
    public:
        Tiles() = default;
        int size() const { return size_; }
        QImage::Format format() const { return strip_.format(); }
        /** The first byte of a line of the tile that a cell of that terrain shows, under the
         * marker of player, or of none for -1. */
        const uchar* line(int terrain, int player, int y) const;

    private:
        friend class MapRenderer;
        QImage strip_; // the tiles one under another, the plain ones first
        int size_ = 0;
    };

    explicit MapRenderer(const TileArt& art);

    /**
     * The tiles at size pixels a cell, scaled from the art's as mode says. With a palette,
     * which must hold every colour of the art, they are 8-bit on it.
     */
    Tiles tiles(int size, Qt::TransformationMode mode, const TilePalette* palette = nullptr) const;

    /**
     * Draws the cells of a rectangle of the map into a picture of the tiles' format, the
     * rectangle's top-left cell at the picture's pixel at, each cell at the tiles' size;
     * without markers, starts show only their terrain. Nothing is drawn outside the
     * rectangle, which lies in the map, nor outside its place in the picture, which holds it.
     */
    static void draw(const GameMap& map, QRect cells, const Tiles& tiles, QImage& picture,
                     QPoint at = {}, bool markers = true);

    /** The cell under a view pixel: floor(x / 25) + scrollX, floor(y / 25) + scrollY. */
    static QPoint cellAt(QPointF pixel, int scrollX, int scrollY);

private:
    const TileArt& art_;
};

} // namespace quintaraz
