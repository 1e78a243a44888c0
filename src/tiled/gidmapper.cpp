#include "tiled/gidmapper.h"

#include "map/gamemap.h"

namespace quintaraz::tiled {

namespace {

constexpr quint32 flipBits = 0xF0000000u;

} // namespace

GidMapper::GidMapper(std::vector<qint64> firstGids)
    : firstGids_(std::move(firstGids))
{
}

GidMapper GidMapper::ours()
{
    return GidMapper({1, 1 + terrainCount});
}

TileRef GidMapper::tileOf(quint32 gid) const
{
    TileRef tile;
    tile.flipped = (gid & flipBits) != 0;
    const qint64 number = gid & ~flipBits;
    if (number == 0)
        return tile;
    for (std::size_t k = 0; k < firstGids_.size(); ++k)
        if (firstGids_[k] <= number &&
            (tile.tileset < 0 || firstGids_[k] > firstGids_[std::size_t(tile.tileset)]))
            tile.tileset = int(k);
    if (tile.tileset >= 0)
        tile.id = number - firstGids_[std::size_t(tile.tileset)];
    return tile;
}

quint32 GidMapper::gidOf(int tileset, qint64 id) const
{
    return quint32(firstGids_[std::size_t(tileset)] + id);
}

} // namespace quintaraz::tiled
