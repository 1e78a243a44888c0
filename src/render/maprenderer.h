#pragma once

#include "editor/mapdocument.h"
#include "map/terrain.h"
#include "render/viewgeometry.h"

#include <QImage>
#include <QPoint>
#include <QPointF>

#include <array>
#include <cstdint>

namespace quintaraz {

class TileArt;

/**
 * Composes the 16 by 16 visible cells into a 400 by 400 image, and turns view
 * pixels back into cells. The image is kept until the next render.
 */
class MapRenderer {
public:
    explicit MapRenderer(const TileArt& art);

    /** Composes every visible cell at the document's scroll origin into the image. */
    void render(const MapDocument& document);
    /** The composed view; null until the first render. */
    const QImage& image() const { return image_; }

    /** The cell under a view pixel: floor(x / 25) + scrollX, floor(y / 25) + scrollY. */
    static QPoint cellAt(QPointF pixel, int scrollX, int scrollY);

    /** A 25 by 25 picture in the view's own pixel format, row by row. */
    using Tile = std::array<std::uint32_t, cellSize * cellSize>;

private:
    void layMarker(int player, std::uint32_t* square, qsizetype stride);

    std::array<Tile, terrainCount + 1> terrains_; // then the unknown-terrain tile
    std::array<Tile, playerCount> markers_;
    std::array<Tile, playerCount> masks_;
    QImage image_;
};

} // namespace quintaraz
