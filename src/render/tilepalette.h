#pragma once

#include <QHash>
#include <QImage>
#include <QList>

namespace quintaraz {

class TileArt;

/**
 * Every colour a rendered map can hold, gathered from the tile art alone: the pixels of each
 * terrain tile (the unknown-terrain tile too), and each player's marker laid over each of
 * them. Scaling nearest-neighbour picks existing pixels, so a map rendered at any cell size
 * holds no other colour.
 */
class TilePalette {
public:
    explicit TilePalette(const TileArt& art);

    /** The colours in the order of their indices, all opaque. */
    const QList<QRgb>& colours() const { return colours_; }
    /** Whether an 8-bit picture can hold every colour. */
    bool fitsEightBits() const { return colours_.size() <= 256; }
    /** The index of one of the palette's colours. */
    uchar indexOf(QRgb colour) const
    {
        Q_ASSERT(indices_.contains(colour));
        return uchar(indices_.value(colour));
    }
    /** A 32-bit picture drawn only in the palette's colours, as indices into it. */
    QImage indexed(const QImage& picture) const;

private:
    void add(QRgb colour);

    QList<QRgb> colours_;
    QHash<QRgb, int> indices_;
};

} // namespace quintaraz
