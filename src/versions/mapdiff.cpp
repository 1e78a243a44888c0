#include "versions/mapdiff.h"

#include <algorithm>
#include <cstring>

namespace quintaraz {

namespace {

void diffCells(const GameMap& before, const GameMap& after, MapDifference& difference)
{
    const int columns = std::max(before.columns(), after.columns());
    const int rows = std::max(before.rows(), after.rows());
    const bool sameSize = !difference.sizeChanged();
    // Rows of one size follow each other in memory: eight rows compared in one go, which
    // for most of two versions of a map is all there is to do.
    const auto equalRows = [&](int top, int count) {
        return std::memcmp(&before.terrain[before.cellIndex(0, top)],
                           &after.terrain[after.cellIndex(0, top)],
                           sizeof(std::int16_t) * std::size_t(columns) * std::size_t(count)) == 0;
    };
    for (int y = 0; y < rows; ++y) {
        if (sameSize) {
            if (y % 8 == 0 && rows - y >= 8 && equalRows(y, 8)) {
                y += 7;
                continue;
            }
            // Of eight rows that differ, most are equal still: compared whole first.
            if (equalRows(y, 1))
                continue;
            const std::int16_t* was = &before.terrain[before.cellIndex(0, y)];
            const std::int16_t* is = &after.terrain[after.cellIndex(0, y)];
            // Room for a row's worth at once, not grown from one cell.
            if (difference.cells.empty())
                difference.cells.reserve(std::size_t(columns));
            const auto compare = [&](int from, int to) {
                for (int x = from; x < to; ++x)
                    if (was[x] != is[x])
                        difference.cells.push_back(
                            {{std::int16_t(x), std::int16_t(y)}, was[x], is[x]});
            };
            // A changed row is mostly equal too: eight cells at a time, one by one only
            // where those differ.
            int x = 0;
            for (; columns - x >= 8; x += 8)
                if (std::memcmp(was + x, is + x, 8 * sizeof(std::int16_t)) != 0)
                    compare(x, x + 8);
            compare(x, columns);
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            const std::optional<std::int16_t> was = terrainIfInside(before, x, y);
            const std::optional<std::int16_t> is = terrainIfInside(after, x, y);
            if (was != is)
                difference.cells.push_back({{std::int16_t(x), std::int16_t(y)}, was, is});
        }
    }
}

void diffStarts(const GameMap& before, const GameMap& after, MapDifference& difference)
{
    for (int g = 0; g < playerCount; ++g)
        if (before.starts[g] != after.starts[g])
            difference.starts.push_back({g, before.starts[g], after.starts[g]});
}

} // namespace

std::optional<std::int16_t> terrainIfInside(const GameMap& map, int x, int y)
{
    if (x > map.maxwidth || y > map.maxheight)
        return std::nullopt;
    return map.terrainAt(x, y);
}

MapDifference diffMaps(const GameMap& before, const GameMap& after)
{
    MapDifference difference;
    difference.columnsBefore = before.columns();
    difference.rowsBefore = before.rows();
    difference.columnsAfter = after.columns();
    difference.rowsAfter = after.rows();
    diffCells(before, after, difference);
    diffStarts(before, after, difference);
    difference.extraStartsChanged = before.extraStarts != after.extraStarts;
    return difference;
}

std::int64_t terrainBits(std::optional<std::int16_t> terrain)
{
    return terrain ? std::uint16_t(*terrain) : 0x10000;
}

std::optional<std::int16_t> terrainOfBits(std::int64_t bits)
{
    bits &= 0x1ffff;
    return bits == 0x10000 ? std::nullopt : std::optional(std::int16_t(std::uint16_t(bits)));
}

std::vector<ChangeArea> changeAreas(const std::vector<CellChange>& cells)
{
    std::vector<KeyedCell> keyed;
    keyed.reserve(cells.size());
    for (const CellChange& change : cells)
        keyed.push_back(
            {change.cell, terrainBits(change.before) << 17 | terrainBits(change.after)});
    std::vector<ChangeArea> areas;
    for (const KeyedArea& area : cellAreas(keyed))
        areas.push_back({area.area, terrainOfBits(area.key >> 17), terrainOfBits(area.key)});
    return areas;
}

} // namespace quintaraz
