#include "map/mapmerge.h"

#include "map/mapdiff.h"

#include <algorithm>
#include <cstring>

namespace quintaraz {

namespace {

bool sameSize(const GameMap& a, const GameMap& b)
{
    return a.maxwidth == b.maxwidth && a.maxheight == b.maxheight;
}

bool sameCells(const GameMap& a, const GameMap& b)
{
    return sameSize(a, b) && std::memcmp(a.terrain.data(), b.terrain.data(),
                                         sizeof(std::int16_t) * std::size_t(a.cellCount())) == 0;
}

bool sameStartCells(const GameMap& a, const GameMap& b)
{
    return a.startCells() == b.startCells();
}

GridPoint sizeOf(const GameMap& map)
{
    return {std::int16_t(map.columns()), std::int16_t(map.rows())};
}

void mergeCells(const GameMap& base, const GameMap& ours, const GameMap& theirs, MapMerge& merge)
{
    GameMap& out = *merge.map;
    const std::size_t rowBytes = sizeof(std::int16_t) * std::size_t(out.columns());
    for (int y = 0; y < out.rows(); ++y) {
        const int row = out.cellIndex(0, y);
        // Most rows are the same on both sides.
        if (std::memcmp(&ours.terrain[row], &theirs.terrain[row], rowBytes) == 0) {
            std::memcpy(&out.terrain[row], &ours.terrain[row], rowBytes);
            continue;
        }
        for (int x = 0; x < out.columns(); ++x) {
            const std::int16_t mine = ours.terrain[row + x];
            const std::int16_t other = theirs.terrain[row + x];
            const std::optional<std::int16_t> was = terrainIfInside(base, x, y);
            out.terrain[row + x] = mine == other || was != mine ? mine : other;
            if (mine != other && was != mine && was != other)
                merge.conflicts.push_back({MergeConflict::Kind::Cell,
                                           {std::int16_t(x), std::int16_t(y)},
                                           0,
                                           was,
                                           mine,
                                           other,
                                           {},
                                           {},
                                           {}});
        }
    }
}

void mergeStarts(const GameMap& base, const GameMap& ours, const GameMap& theirs, MapMerge& merge)
{
    GameMap& out = *merge.map;
    // A side that kept the same start cells, in any order, changed none.
    if (sameStartCells(ours, base)) {
        out.starts = theirs.starts;
        return;
    }
    out.starts = ours.starts;
    if (sameStartCells(theirs, base))
        return;
    for (int g = 0; g < playerCount; ++g) {
        const std::optional<GridPoint> was = base.starts[g];
        const std::optional<GridPoint> mine = ours.starts[g];
        const std::optional<GridPoint> other = theirs.starts[g];
        if (mine == other || was == other)
            continue;
        if (was == mine) {
            out.starts[g] = other;
            continue;
        }
        merge.conflicts.push_back({MergeConflict::Kind::Start,
                                   was.value_or(GridPoint{}),
                                   g,
                                   {},
                                   {},
                                   {},
                                   mine.value_or(GridPoint{}),
                                   other.value_or(GridPoint{}),
                                   was.value_or(GridPoint{})});
    }
}

/** Whether a player's start stands where a game can start: on land, inside, alone. */
bool onLand(const GameMap& map, int player)
{
    const std::optional<GridPoint> start = map.starts[player];
    if (!start)
        return true;
    if (!map.contains(*start) || blocksStart(map.terrainAt(start->x, start->y)))
        return false;
    for (int g = 0; g < playerCount; ++g)
        if (g != player && map.starts[g] == start)
            return false;
    return true;
}

} // namespace

MapMerge mergeMaps(const GameMap& base, const GameMap& ours, const GameMap& theirs)
{
    MapMerge merge;
    GameMap& out = *merge.map;
    merge.extraStartsDropped =
        !base.extraStarts.empty() || !ours.extraStarts.empty() || !theirs.extraStarts.empty();
    const auto changed = [&](const GameMap& side) {
        return !sameCells(side, base) || !sameStartCells(side, base);
    };
    if (!sameSize(ours, theirs)) {
        // One side took another size: the other side's cells no longer mean the same.
        const bool bothChanged = changed(ours) && changed(theirs);
        out = bothChanged || changed(ours) ? ours : theirs;
        if (bothChanged)
            merge.conflicts.push_back({MergeConflict::Kind::Size,
                                       {},
                                       0,
                                       {},
                                       {},
                                       {},
                                       sizeOf(ours),
                                       sizeOf(theirs),
                                       sizeOf(base)});
        out.extraStarts.clear();
        return merge;
    }
    out.maxwidth = ours.maxwidth;
    out.maxheight = ours.maxheight;
    mergeCells(base, ours, theirs, merge);
    mergeStarts(base, ours, theirs, merge);
    for (int g = 0; g < playerCount; ++g)
        if (!onLand(out, g) && onLand(ours, g))
            merge.conflicts.push_back({MergeConflict::Kind::Land,
                                       *out.starts[g],
                                       g,
                                       {},
                                       terrainIfInside(out, out.starts[g]->x, out.starts[g]->y),
                                       {},
                                       {},
                                       {},
                                       {}});
    return merge;
}

} // namespace quintaraz
