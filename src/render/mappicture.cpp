#include "render/mappicture.h"

#include "art/tileart.h"
#include "render/tilepalette.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace quintaraz {

MapPicture::MapPicture(const TileArt& art)
    : art_(art)
    , renderer_(art)
{
}

QImage MapPicture::render(const GameMap& map, int size) const
{
    // The palette is made here, not with the object: thumbnails have no use for it.
    const TilePalette palette(art_);
    const bool indexed = palette.fitsEightBits();
    QImage picture = draw(
        map, renderer_.tiles(size, Qt::FastTransformation, indexed ? &palette : nullptr), true);
    if (indexed)
        picture.setColorTable(palette.colours());
    return picture;
}

QImage MapPicture::thumbnail(const GameMap& map, int size) const
{
    // Composed small, a few pixels a cell, then scaled down smoothly to the size asked for:
    // far cheaper than scaling the full picture.
    const int cells = std::max(map.maxwidth, map.maxheight) + 1;
    const int cell = std::clamp((size + cells - 1) / cells, 1, cellSize);
    QImage picture = draw(map, renderer_.tiles(cell, Qt::SmoothTransformation), false);
    if (picture.width() > size || picture.height() > size)
        picture = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    layLargeMarkers(picture, map);
    return picture;
}

QImage MapPicture::draw(const GameMap& map, const MapRenderer::Tiles& tiles, bool markers) const
{
    QImage picture(map.columns() * tiles.size(), map.rows() * tiles.size(), tiles.format());
    if (picture.isNull())
        return picture; // no memory for it
    MapRenderer::draw(map, QRect(0, 0, map.columns(), map.rows()), tiles, picture, {}, markers);
    return picture;
}

void MapPicture::layLargeMarkers(QImage& picture, const GameMap& map) const
{
    // A cell of a preview is a few pixels: each start gets its marker at a size that can
    // be seen, centred on its cell.
    const double scale = double(picture.width()) / map.columns();
    const int longer = std::max(picture.width(), picture.height());
    const int shorter = std::min(picture.width(), picture.height());
    const int size = std::min(shorter, std::max(int(scale), std::clamp(longer / 10, 6, cellSize)));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Row by row, as the cells are drawn: where two overlap, the lower one is on top.
    const std::vector<GridPoint> cells = map.startCells();
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const GridPoint cell = cells[k];
        // A cell that two players share shows one marker: the later player's.
        if (!map.contains(cell) || (k > 0 && cells[k - 1] == cell))
            continue;
        // Centred on its cell, but wholly inside the picture.
        const auto corner = [&](int at, int extent) {
            return std::max(0.0, std::min((at + 0.5) * scale - size / 2.0, double(extent - size)));
        };
        painter.drawImage(
            QRectF(corner(cell.x, picture.width()), corner(cell.y, picture.height()), size, size),
            marker(art_, map.startAt(cell)));
    }
}

QImage MapPicture::marker(const TileArt& art, int player)
{
    // Opaque only where the marker's mask is black.
    const QImage& strip = art.player(player);
    QImage marker = strip.copy(0, 0, cellSize, cellSize).convertToFormat(QImage::Format_ARGB32);
    const QImage mask = strip.copy(cellSize, 0, cellSize, cellSize);
    for (int row = 0; row < cellSize; ++row)
        for (int column = 0; column < cellSize; ++column)
            if (mask.pixel(column, row) != 0xff000000u)
                marker.setPixel(column, row, 0);
    return marker;
}

} // namespace quintaraz
