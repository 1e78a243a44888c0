#include "render/mappicture.h"

#include "art/tileart.h"
#include "render/markerblend.h"
#include "render/tilepalette.h"
#include "render/viewgeometry.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quintaraz {

namespace {

/** The player whose marker each cell of the map shows, row by row; -1 for none. A later
 * player's start on the same cell hides an earlier one's, as in the editor. */
std::vector<std::int8_t> markedCells(const GameMap& map)
{
    std::vector<std::int8_t> players(std::size_t(map.cellCount()), -1);
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g]; start && map.contains(*start))
            players[std::size_t(map.cellIndex(start->x, start->y))] = std::int8_t(g);
    return players;
}

/** The tile a cell shows: its terrain's, or the unknown-terrain tile's after them. */
int tileOf(int terrain)
{
    return isTerrain(terrain) ? terrain : terrainCount;
}

QImage scaledTile(const QImage& tile, int size, Qt::TransformationMode mode)
{
    const QImage scaled =
        tile.width() == size ? tile : tile.scaled(size, size, Qt::IgnoreAspectRatio, mode);
    return scaled.convertToFormat(QImage::Format_RGB32);
}

} // namespace

MapPicture::MapPicture(const TileArt& art)
    : art_(art)
{
}

QImage MapPicture::render(const GameMap& map, int size) const
{
    // The palette is made here, not with the object: thumbnails have no use for it.
    const TilePalette palette(art_);
    const Tiles tiles = tilesOfSize(size, Qt::FastTransformation);
    return palette.fitsEightBits() ? composeIndexed(map, tiles, palette)
                                   : compose(map, tiles, true);
}

QImage MapPicture::thumbnail(const GameMap& map, int size) const
{
    // Composed small, a few pixels a cell, then scaled down smoothly to the size asked for:
    // far cheaper than scaling the full picture.
    const int cells = std::max(map.maxwidth, map.maxheight) + 1;
    const int cell = std::clamp((size + cells - 1) / cells, 1, cellSize);
    QImage picture = compose(map, tilesOfSize(cell, Qt::SmoothTransformation), false);
    if (picture.width() > size || picture.height() > size)
        picture = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    layLargeMarkers(picture, map);
    return picture;
}

MapPicture::Tiles MapPicture::tilesOfSize(int size, Qt::TransformationMode mode) const
{
    Tiles tiles;
    tiles.size = size;
    for (int i = 0; i < terrainCount; ++i)
        tiles.terrains[i] = scaledTile(art_.terrain(i), size, mode);
    tiles.terrains[terrainCount] = scaledTile(art_.unknownTerrain(), size, mode);
    for (int p = 0; p < playerCount; ++p) {
        const QImage& strip = art_.player(p);
        tiles.markers[p] = scaledTile(strip.copy(0, 0, cellSize, cellSize), size, mode);
        tiles.masks[p] = scaledTile(strip.copy(cellSize, 0, cellSize, cellSize), size, mode);
    }
    return tiles;
}

QImage MapPicture::compose(const GameMap& map, const Tiles& tiles, bool markers) const
{
    const int size = tiles.size;
    QImage picture(map.columns() * size, map.rows() * size, QImage::Format_RGB32);
    if (picture.isNull())
        return picture; // no memory for it
    const std::vector<std::int8_t> players = markedCells(map);
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            const int terrain = map.terrainAt(x, y);
            const int player = players[std::size_t(map.cellIndex(x, y))];
            const QImage& tile = tiles.terrains[tileOf(terrain)];
            const bool marked = markers && player >= 0;
            for (int row = 0; row < size; ++row) {
                auto* out =
                    reinterpret_cast<std::uint32_t*>(picture.scanLine(y * size + row)) + x * size;
                std::memcpy(out, tile.constScanLine(row), size * sizeof(std::uint32_t));
                if (!marked)
                    continue;
                const auto* mask =
                    reinterpret_cast<const std::uint32_t*>(tiles.masks[player].constScanLine(row));
                const auto* marker = reinterpret_cast<const std::uint32_t*>(
                    tiles.markers[player].constScanLine(row));
                for (int column = 0; column < size; ++column)
                    out[column] = withMarker(out[column], mask[column], marker[column]);
            }
        }
    }
    return picture;
}

QImage MapPicture::composeIndexed(const GameMap& map, const Tiles& tiles,
                                  const TilePalette& palette) const
{
    const int size = tiles.size;
    QImage picture(map.columns() * size, map.rows() * size, QImage::Format_Indexed8);
    if (picture.isNull())
        return picture; // no memory for it
    picture.setColorTable(palette.colours());
    std::array<QImage, terrainCount + 1> terrains;
    for (std::size_t i = 0; i < terrains.size(); ++i)
        terrains[i] = palette.indexed(tiles.terrains[i]);
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int row = 0; row < size; ++row) {
            uchar* out = picture.scanLine(y * size + row);
            for (int x = 0; x <= map.maxwidth; ++x, out += size)
                std::memcpy(out, terrains[tileOf(map.terrainAt(x, y))].constScanLine(row), size);
        }
    }
    // Then the starts, whose pixels are each a colour of the palette too.
    const std::vector<std::int8_t> players = markedCells(map);
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            const int player = players[std::size_t(map.cellIndex(x, y))];
            if (player < 0)
                continue;
            const QImage& tile = tiles.terrains[tileOf(map.terrainAt(x, y))];
            const QImage& mask = tiles.masks[player];
            const QImage& marker = tiles.markers[player];
            for (int row = 0; row < size; ++row) {
                uchar* out = picture.scanLine(y * size + row) + x * size;
                for (int column = 0; column < size; ++column)
                    out[column] =
                        palette.indexOf(withMarker(tile.pixel(column, row), mask.pixel(column, row),
                                                   marker.pixel(column, row)));
            }
        }
    }
    return picture;
}

void MapPicture::layLargeMarkers(QImage& picture, const GameMap& map) const
{
    // A cell of a preview is a few pixels: each start gets its marker at a size that can
    // be seen, centred on its cell, and opaque only where the marker's mask is black.
    const double scale = double(picture.width()) / map.columns();
    const int longer = std::max(picture.width(), picture.height());
    const int shorter = std::min(picture.width(), picture.height());
    const int size = std::min(shorter, std::max(int(scale), std::clamp(longer / 10, 6, cellSize)));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const std::vector<std::int8_t> players = markedCells(map);
    for (int y = 0; y <= map.maxheight; ++y) {
        for (int x = 0; x <= map.maxwidth; ++x) {
            const int player = players[std::size_t(map.cellIndex(x, y))];
            if (player < 0)
                continue;
            const QImage& strip = art_.player(player);
            QImage marker =
                strip.copy(0, 0, cellSize, cellSize).convertToFormat(QImage::Format_ARGB32);
            const QImage mask = strip.copy(cellSize, 0, cellSize, cellSize);
            for (int row = 0; row < cellSize; ++row)
                for (int column = 0; column < cellSize; ++column)
                    if (mask.pixel(column, row) != 0xff000000u)
                        marker.setPixel(column, row, 0);
            // Centred on its cell, but wholly inside the picture.
            const auto corner = [&](int cell, int extent) {
                return std::max(0.0,
                                std::min((cell + 0.5) * scale - size / 2.0, double(extent - size)));
            };
            painter.drawImage(
                QRectF(corner(x, picture.width()), corner(y, picture.height()), size, size),
                marker);
        }
    }
}

} // namespace quintaraz
