#include "maprenderer.h"

#include "../art/tileart.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quintaraz {

namespace {

using Tile = std::array<std::uint32_t, MapRenderer::cellSize * MapRenderer::cellSize>;

Tile tileFrom(const QImage& image, int left) {
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    Tile tile{};
    for (int y = 0; y < MapRenderer::cellSize; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        std::copy_n(row + left, MapRenderer::cellSize, tile.begin() + y * MapRenderer::cellSize);
    }
    return tile;
}

} // namespace

MapRenderer::MapRenderer(const TileArt& art) {
    for (int i = 0; i < TileArt::terrainCount; ++i)
        terrains_[i] = tileFrom(art.terrain(i), 0);
    terrains_[TileArt::terrainCount] = tileFrom(art.unknownTerrain(), 0);
    for (int p = 0; p < TileArt::playerCount; ++p) {
        markers_[p] = tileFrom(art.player(p), 0);
        masks_[p] = tileFrom(art.player(p), cellSize);
    }
}

void MapRenderer::drawmap(const MapDocument& document) {
    if (image_.isNull())
        image_ = QImage(viewSize, viewSize, QImage::Format_RGB32);
    const int left = document.scrollX;
    const int top = document.scrollY;
    for (int r = top; r < top + viewCells; ++r) {
        for (int c = left; c < left + viewCells; ++c) {
            const MapCell& cell = document.cells(c, r);
            const int x = cellSize * (c - left);
            const int y = cellSize * (r - top);
            const bool known = cell.terrain >= 0 && cell.terrain < TileArt::terrainCount;
            copyTile(terrains_[known ? cell.terrain : TileArt::terrainCount], x, y);
            // A player number that names no marker draws no marker.
            if (cell.startMark() && cell.playerIndex >= 0 &&
                cell.playerIndex < TileArt::playerCount)
                layMarker(cell.playerIndex, x, y);
        }
    }
}

void MapRenderer::copyTile(const Tile& tile, int left, int top) {
    for (int y = 0; y < cellSize; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(top + y)) + left;
        std::memcpy(row, tile.data() + y * cellSize, cellSize * sizeof(std::uint32_t));
    }
}

void MapRenderer::layMarker(int player, int left, int top) {
    // The two block transfers of the marker: the mask with MERGEPAINT (NOT source OR
    // destination), then the marker with SRCAND (source AND destination). White mask
    // pixels keep the terrain; black ones take the marker's own colours.
    const Tile& mask = masks_[player];
    const Tile& marker = markers_[player];
    for (int y = 0; y < cellSize; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(top + y)) + left;
        const int at = y * cellSize;
        for (int x = 0; x < cellSize; ++x)
            row[x] = ((~mask[at + x] | row[x]) & marker[at + x]) | 0xff000000u;
    }
}

QPoint MapRenderer::cellAt(QPointF pixel, int scrollX, int scrollY) {
    // Kept well inside the 16-bit range whatever position an event brings.
    const auto cell = [](double v, int origin) {
        const double column = std::isnan(v) ? 0.0 : std::floor(v / cellSize);
        return static_cast<int>(std::clamp(column, -30000.0, 30000.0)) + origin;
    };
    return {cell(pixel.x(), scrollX), cell(pixel.y(), scrollY)};
}

} // namespace quintaraz
