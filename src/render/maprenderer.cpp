#include "render/maprenderer.h"

#include "art/tileart.h"
#include "render/markerblend.h"
#include "render/tilepalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace quintaraz {

namespace {

constexpr int plainTiles = terrainCount + 1; // the terrains, then the unknown terrain

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

/** The tile with the marker laid over it, pixel by pixel through the marker's mask. */
QImage withMarkerLaid(QImage tile, const QImage& marker, const QImage& mask)
{
    for (int y = 0; y < tile.height(); ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(tile.scanLine(y));
        const auto* over = reinterpret_cast<const std::uint32_t*>(marker.constScanLine(y));
        const auto* through = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        for (int x = 0; x < tile.width(); ++x)
            out[x] = withMarker(out[x], through[x], over[x]);
    }
    return tile;
}

/**
 * Copies the lines of a row of cells' tiles into the picture. With Bytes the width of a
 * tile's line, each copy is written out inline: a call for each would cost more than the
 * copy of a view's 100 bytes.
 */
template <int Bytes>
void copyLines(uchar* out, qsizetype lineBytes,
               const std::array<const uchar*, GameMap::gridSize>& row, int cells, int size,
               qsizetype stride, int bytes)
{
    for (int y = 0; y < size; ++y, out += lineBytes) {
        uchar* cell = out;
        for (int c = 0; c < cells; ++c, cell += bytes)
            std::memcpy(cell, row[std::size_t(c)] + y * stride, Bytes > 0 ? Bytes : bytes);
    }
}

} // namespace

const uchar* MapRenderer::Tiles::line(int terrain, int player, int y) const
{
    const int tile = tileOf(terrain) + (player + 1) * plainTiles;
    return strip_.constScanLine(tile * size_ + y);
}

MapRenderer::MapRenderer(const TileArt& art)
    : art_(art)
{
}

MapRenderer::Tiles MapRenderer::tiles(int size, Qt::TransformationMode mode,
                                      const TilePalette* palette) const
{
    std::array<QImage, plainTiles> terrains;
    for (int i = 0; i < terrainCount; ++i)
        terrains[std::size_t(i)] = scaledTile(art_.terrain(i), size, mode);
    terrains[terrainCount] = scaledTile(art_.unknownTerrain(), size, mode);
    QImage strip(size, size * plainTiles * (playerCount + 1), QImage::Format_RGB32);
    const auto place = [&](int tile, const QImage& picture) {
        for (int y = 0; y < size; ++y)
            std::memcpy(strip.scanLine(tile * size + y), picture.constScanLine(y),
                        std::size_t(size) * sizeof(std::uint32_t));
    };
    for (int t = 0; t < plainTiles; ++t)
        place(t, terrains[std::size_t(t)]);
    for (int p = 0; p < playerCount; ++p) {
        const QImage& art = art_.player(p);
        const QImage marker = scaledTile(art.copy(0, 0, cellSize, cellSize), size, mode);
        const QImage mask = scaledTile(art.copy(cellSize, 0, cellSize, cellSize), size, mode);
        for (int t = 0; t < plainTiles; ++t)
            place((p + 1) * plainTiles + t, withMarkerLaid(terrains[std::size_t(t)], marker, mask));
    }
    Tiles tiles;
    tiles.strip_ = palette ? palette->indexed(strip) : strip;
    tiles.size_ = size;
    return tiles;
}

void MapRenderer::draw(const GameMap& map, QRect cells, const Tiles& tiles, QImage& picture,
                       QPoint at, bool markers)
{
    const int size = tiles.size();
    const int pixel = tiles.format() == QImage::Format_Indexed8 ? 1 : 4;
    const int bytes = size * pixel;
    const qsizetype stride = tiles.strip_.bytesPerLine();
    // The picture's lines, found once: each scanLine() would ask whether to detach.
    const qsizetype lineBytes = picture.bytesPerLine();
    uchar* const first = picture.bits() + at.y() * lineBytes + at.x() * pixel;
    for (int r = 0; r < cells.height(); ++r) {
        const int y = cells.top() + r;
        // The tile of each cell of the row; a later player's start hides an earlier one's.
        std::array<const uchar*, GameMap::gridSize> row;
        for (int c = 0; c < cells.width(); ++c)
            row[std::size_t(c)] = tiles.line(map.terrainAt(cells.left() + c, y), -1, 0);
        for (int g = 0; markers && g < playerCount; ++g) {
            const std::optional<GridPoint> start = map.starts[std::size_t(g)];
            if (start && start->y == y && start->x >= cells.left() && start->x <= cells.right())
                row[std::size_t(start->x - cells.left())] =
                    tiles.line(map.terrainAt(start->x, y), g, 0);
        }
        uchar* const out = first + r * size * lineBytes;
        if (bytes == cellSize * 4)
            copyLines<cellSize * 4>(out, lineBytes, row, cells.width(), size, stride, bytes);
        else if (bytes == cellSize)
            copyLines<cellSize>(out, lineBytes, row, cells.width(), size, stride, bytes);
        else
            copyLines<0>(out, lineBytes, row, cells.width(), size, stride, bytes);
    }
}

QPoint MapRenderer::cellAt(QPointF pixel, int scrollX, int scrollY)
{
    // Kept well inside the 16-bit range whatever position an event brings.
    const auto cell = [](double v, int origin) {
        const double column = std::isnan(v) ? 0.0 : std::floor(v / cellSize);
        return static_cast<int>(std::clamp(column, -30000.0, 30000.0)) + origin;
    };
    return {cell(pixel.x(), scrollX), cell(pixel.y(), scrollY)};
}

} // namespace quintaraz
