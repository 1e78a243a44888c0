#include "maprenderer.h"

#include "../art/tileart.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quintaraz {

namespace {

using Tile = MapRenderer::Tile;

Tile tileFrom(const QImage& image, int left)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    Tile tile{};
    for (int y = 0; y < MapRenderer::cellSize; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        std::copy_n(row + left, MapRenderer::cellSize, tile.begin() + y * MapRenderer::cellSize);
    }
    return tile;
}

// One tile row, 25 pixels (100 bytes), copied inline: a library call for every one of the
// 6,400 rows of a view costs more than the copying itself.
inline void copyRow(std::uint32_t* out, const std::uint32_t* in)
{
#ifdef __SSE2__
    const auto* source = reinterpret_cast<const __m128i*>(in);
    auto* target = reinterpret_cast<__m128i*>(out);
    const __m128i a = _mm_loadu_si128(source);
    const __m128i b = _mm_loadu_si128(source + 1);
    const __m128i c = _mm_loadu_si128(source + 2);
    const __m128i d = _mm_loadu_si128(source + 3);
    const __m128i e = _mm_loadu_si128(source + 4);
    const __m128i f = _mm_loadu_si128(source + 5);
    _mm_storeu_si128(target, a);
    _mm_storeu_si128(target + 1, b);
    _mm_storeu_si128(target + 2, c);
    _mm_storeu_si128(target + 3, d);
    _mm_storeu_si128(target + 4, e);
    _mm_storeu_si128(target + 5, f);
    out[24] = in[24];
#else
    std::memcpy(out, in, MapRenderer::cellSize * sizeof(std::uint32_t));
#endif
}

} // namespace

MapRenderer::MapRenderer(const TileArt& art)
{
    for (int i = 0; i < TileArt::terrainCount; ++i)
        terrains_[i] = tileFrom(art.terrain(i), 0);
    terrains_[TileArt::terrainCount] = tileFrom(art.unknownTerrain(), 0);
    for (int p = 0; p < TileArt::playerCount; ++p) {
        markers_[p] = tileFrom(art.player(p), 0);
        masks_[p] = tileFrom(art.player(p), cellSize);
    }
}

void MapRenderer::drawmap(const MapDocument& document)
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
            const bool known = terrain >= 0 && terrain < TileArt::terrainCount;
            tiles[c] = terrains_[known ? terrain : TileArt::terrainCount].data();
        }
        std::uint32_t* rowStart = pixels + stride * cellSize * r;
        for (int y = 0; y < cellSize; ++y) {
            std::uint32_t* out = rowStart + stride * y;
            for (int c = 0; c < viewCells; ++c, out += cellSize)
                copyRow(out, tiles[c] + y * cellSize);
        }
        for (int c = 0; c < viewCells; ++c) {
            const MapCell& cell = document.cells(left + c, top + r);
            // A player number that names no marker draws no marker.
            if (cell.startMark() && cell.playerIndex >= 0 &&
                cell.playerIndex < TileArt::playerCount)
                layMarker(cell.playerIndex, rowStart + c * cellSize, stride);
        }
    }
}

void MapRenderer::layMarker(int player, std::uint32_t* square, qsizetype stride)
{
    // The two block transfers of the marker: the mask with MERGEPAINT (NOT source OR
    // destination), then the marker with SRCAND (source AND destination). White mask
    // pixels keep the terrain; black ones take the marker's own colours.
    const Tile& mask = masks_[player];
    const Tile& marker = markers_[player];
    for (int y = 0; y < cellSize; ++y, square += stride) {
        const int at = y * cellSize;
        for (int x = 0; x < cellSize; ++x)
            square[x] = ((~mask[at + x] | square[x]) & marker[at + x]) | 0xff000000u;
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
