#include "render/tilepalette.h"

#include "art/tileart.h"
#include "render/markerblend.h"

namespace quintaraz {

TilePalette::TilePalette(const TileArt& art)
{
    std::array<const QImage*, terrainCount + 1> terrains;
    for (int i = 0; i < terrainCount; ++i)
        terrains[i] = &art.terrain(i);
    terrains[terrainCount] = &art.unknownTerrain();
    // The art is 32-bit, as TileArt loads it.
    const auto row = [](const QImage& image, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y));
    };
    for (const QImage* terrain : terrains)
        for (int y = 0; y < cellSize; ++y)
            for (int x = 0; x < cellSize; ++x)
                add(row(*terrain, y)[x]);
    for (int p = 0; p < playerCount; ++p) {
        const QImage& strip = art.player(p);
        for (const QImage* terrain : terrains)
            for (int y = 0; y < cellSize; ++y)
                for (int x = 0; x < cellSize; ++x)
                    add(withMarker(row(*terrain, y)[x], row(strip, y)[cellSize + x],
                                   row(strip, y)[x]));
    }
}

void TilePalette::add(QRgb colour)
{
    colour |= 0xff000000u; // every picture is opaque
    if (!indices_.contains(colour)) {
        indices_.insert(colour, int(colours_.size()));
        colours_.append(colour);
    }
}

QImage TilePalette::indexed(const QImage& picture) const
{
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    QImage indices(pixels.size(), QImage::Format_Indexed8);
    if (indices.isNull())
        return indices;
    indices.setColorTable(colours_);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        uchar* out = indices.scanLine(y);
        for (int x = 0; x < pixels.width(); ++x)
            out[x] = indexOf(in[x] | 0xff000000u);
    }
    return indices;
}

} // namespace quintaraz
