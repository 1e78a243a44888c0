#include "tiled/gidmapper.h"

#include "map/gamemap.h"

#include <algorithm>

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

GidMapper::GidRange GidMapper::unflippedRange(int tileset, qint64 count) const
{
    if (tileset < 0)
        return {};
    const qint64 first = firstGids_[std::size_t(tileset)];
    qint64 end = std::min(first + count, qint64(~flipBits) + 1);
    for (std::size_t k = 0; k < firstGids_.size(); ++k) {
        // A tileset of the same first number before it takes every number: tileOf's rule.
        if (firstGids_[k] == first && int(k) < tileset)
            return {};
        if (firstGids_[k] > first)
            end = std::min(end, firstGids_[k]);
    }
    if (first <= 0 || first >= end)
        return {};
    return {quint32(first), quint32(end)};
}

quint32 GidMapper::gidOf(int tileset, qint64 id) const
{
    return quint32(firstGids_[std::size_t(tileset)] + id);
}

} // namespace quintaraz::tiled
