#include "view/mappicture.h"

#include "art/tileart.h"
#include "document/mapdocument.h"
#include "view/markerblend.h"
#include "view/tilepalette.h"
#include "view/viewgeometry.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace quintaraz {

namespace {

QImage scaledTile(const QImage& tile, int size, Qt::TransformationMode mode)
{
    const QImage scaled =
        tile.width() == size ? tile : tile.scaled(size, size, Qt::IgnoreAspectRatio, mode);
    return scaled.convertToFormat(QImage::Format_RGB32);
}

/** The tile a cell shows: its terrain's, or the unknown-terrain tile's after them. */
int tileOf(const MapCell& cell)
{
    return isTerrain(cell.terrain) ? cell.terrain : terrainCount;
}

} // namespace

MapPicture::MapPicture(const TileArt& art)
    : art_(art)
{
}

QImage MapPicture::render(const MapDocument& document, int size) const
{
    // The palette is made here, not with the object: thumbnails have no use for it.
    const TilePalette palette(art_);
    const Tiles tiles = tilesOfSize(size, Qt::FastTransformation);
    return palette.fitsEightBits() ? composeIndexed(document, tiles, palette)
                                   : compose(document, tiles, true);
}

QImage MapPicture::thumbnail(const MapDocument& document, int size) const
{
    // Composed small, a few pixels a cell, then scaled down smoothly to the size asked for:
    // far cheaper than scaling the full picture.
    const int cells = std::max(document.maxwidth, document.maxheight) + 1;
    const int cell = std::clamp((size + cells - 1) / cells, 1, cellSize);
    QImage picture = compose(document, tilesOfSize(cell, Qt::SmoothTransformation), false);
    if (picture.width() > size || picture.height() > size)
        picture = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    layLargeMarkers(picture, document);
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

QImage MapPicture::compose(const MapDocument& document, const Tiles& tiles, bool markers) const
{
    const int size = tiles.size;
    QImage picture((document.maxwidth + 1) * size, (document.maxheight + 1) * size,
                   QImage::Format_RGB32);
    if (picture.isNull())
        return picture; // no memory for it
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            const QImage& tile = tiles.terrains[tileOf(cell)];
            const bool marked = markers && cell.hasStart() && isPlayer(cell.playerIndex);
            for (int row = 0; row < size; ++row) {
                auto* out =
                    reinterpret_cast<std::uint32_t*>(picture.scanLine(y * size + row)) + x * size;
                std::memcpy(out, tile.constScanLine(row), size * sizeof(std::uint32_t));
                if (!marked)
                    continue;
                const auto* mask = reinterpret_cast<const std::uint32_t*>(
                    tiles.masks[cell.playerIndex].constScanLine(row));
                const auto* marker = reinterpret_cast<const std::uint32_t*>(
                    tiles.markers[cell.playerIndex].constScanLine(row));
                for (int column = 0; column < size; ++column)
                    out[column] = withMarker(out[column], mask[column], marker[column]);
            }
        }
    }
    return picture;
}

QImage MapPicture::composeIndexed(const MapDocument& document, const Tiles& tiles,
                                  const TilePalette& palette) const
{
    const int size = tiles.size;
    QImage picture((document.maxwidth + 1) * size, (document.maxheight + 1) * size,
                   QImage::Format_Indexed8);
    if (picture.isNull())
        return picture; // no memory for it
    picture.setColorTable(palette.colours());
    std::array<QImage, terrainCount + 1> terrains;
    for (std::size_t i = 0; i < terrains.size(); ++i)
        terrains[i] = palette.indexed(tiles.terrains[i]);
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int row = 0; row < size; ++row) {
            uchar* out = picture.scanLine(y * size + row);
            for (int x = 0; x <= document.maxwidth; ++x, out += size)
                std::memcpy(out, terrains[tileOf(document.cells(x, y))].constScanLine(row), size);
        }
    }
    // Then the starts, whose pixels are each a colour of the palette too.
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            if (!cell.hasStart() || !isPlayer(cell.playerIndex))
                continue;
            const QImage& tile = tiles.terrains[tileOf(cell)];
            const QImage& mask = tiles.masks[cell.playerIndex];
            const QImage& marker = tiles.markers[cell.playerIndex];
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

void MapPicture::layLargeMarkers(QImage& picture, const MapDocument& document) const
{
    // A cell of a preview is a few pixels: each start gets its marker at a size that can
    // be seen, centred on its cell, and opaque only where the marker's mask is black.
    const double scale = double(picture.width()) / (document.maxwidth + 1);
    const int longer = std::max(picture.width(), picture.height());
    const int shorter = std::min(picture.width(), picture.height());
    const int size = std::min(shorter, std::max(int(scale), std::clamp(longer / 10, 6, cellSize)));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int y = 0; y <= document.maxheight; ++y) {
        for (int x = 0; x <= document.maxwidth; ++x) {
            const MapCell& cell = document.cells(x, y);
            if (!cell.hasStart() || !isPlayer(cell.playerIndex))
                continue;
            const QImage& strip = art_.player(cell.playerIndex);
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
