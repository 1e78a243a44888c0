#include "render/maprenderer.h"

#include "art/tileart.h"
#include "render/markerblend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quintaraz {

namespace {

using Tile = MapRenderer::Tile;

Tile tileFrom(const QImage& image, int left)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    Tile tile{};
    for (int y = 0; y < cellSize; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        std::copy_n(row + left, cellSize, tile.begin() + y * cellSize);
    }
    return tile;
}

} // namespace

MapRenderer::MapRenderer(const TileArt& art)
{
    for (int i = 0; i < terrainCount; ++i)
        terrains_[i] = tileFrom(art.terrain(i), 0);
    terrains_[terrainCount] = tileFrom(art.unknownTerrain(), 0);
    for (int p = 0; p < playerCount; ++p) {
        markers_[p] = tileFrom(art.player(p), 0);
        masks_[p] = tileFrom(art.player(p), cellSize);
    }
}

void MapRenderer::render(const MapDocument& document)
{
    if (image_.isNull())
        image_ = QImage(viewSize, viewSize, QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<std::uint32_t*>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / qsizetype(sizeof(std::uint32_t));
    const int left = document.scrollX;
    const int top = document.scrollY;
    for (int r = 0; r < viewCells; ++r) {
        // The tiles of one row of cells, then the image scanline by scanline, so that
        // every scanline is written from left to right in one pass.
        std::array<const std::uint32_t*, viewCells> tiles;
        for (int c = 0; c < viewCells; ++c) {
            const int terrain = document.cells(left + c, top + r).terrain;
            tiles[c] = terrains_[isTerrain(terrain) ? terrain : terrainCount].data();
        }
        std::uint32_t* rowStart = pixels + stride * cellSize * r;
        for (int y = 0; y < cellSize; ++y) {
            std::uint32_t* out = rowStart + stride * y;
            // A copy of a fixed 100 bytes, which the compiler writes out inline.
            for (int c = 0; c < viewCells; ++c, out += cellSize)
                std::memcpy(out, tiles[c] + y * cellSize, cellSize * sizeof(std::uint32_t));
        }
        for (int c = 0; c < viewCells; ++c) {
            const MapCell& cell = document.cells(left + c, top + r);
            // A player number that names no marker draws no marker.
            if (cell.hasStart() && isPlayer(cell.playerIndex))
                layMarker(cell.playerIndex, rowStart + c * cellSize, stride);
        }
    }
}

void MapRenderer::layMarker(int player, std::uint32_t* square, qsizetype stride)
{
    const Tile& mask = masks_[player];
    const Tile& marker = markers_[player];
    for (int y = 0; y < cellSize; ++y, square += stride) {
        const int at = y * cellSize;
        for (int x = 0; x < cellSize; ++x)
            square[x] = withMarker(square[x], mask[at + x], marker[at + x]);
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
