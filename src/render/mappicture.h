#pragma once

#include "map/gamemap.h"
#include "render/maprenderer.h"

#include <QImage>

namespace quintaraz {

class TileArt;

/** Pictures of a whole map, for files and previews: every cell, every start marker. */
class MapPicture {
public:
    explicit MapPicture(const TileArt& art);

    /**
     * The map at cellSize pixels a cell (1 to 100). At 25 each cell is exactly what the
     * map view shows of it; at other sizes the tiles are scaled nearest-neighbour. An 8-bit
     * picture on the palette of the tile art, which holds every colour it can show.
     */
    QImage render(const GameMap& map, int cellSize) const;

    /**
     * The map scaled smoothly so that its longer side is at most size, never enlarged past
     * 25 pixels a cell, with each player's marker laid large enough to be seen. A 32-bit
     * picture: smoothing mixes the tiles' colours into more than a palette holds.
     */
    QImage thumbnail(const GameMap& map, int size) const;

    /** Player p's marker alone, 25 pixels a side, transparent around it. */
    static QImage marker(const TileArt& art, int player);

private:
    QImage draw(const GameMap& map, const MapRenderer::Tiles& tiles, bool markers) const;
    void layLargeMarkers(QImage& picture, const GameMap& map) const;

    const TileArt& art_;
    MapRenderer renderer_;
};

} // namespace quintaraz
