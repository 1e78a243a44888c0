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

std::vector<ChangeArea> changeAreas(const std::vector<CellChange>& cells)
{
    std::vector<ChangeArea> areas;
    std::vector<std::size_t> open;    // areas that reach the row above
    std::vector<std::size_t> reached; // areas that reach this row
    // Room for the runs of a few rows at once, not grown from one.
    areas.reserve(std::min<std::size_t>(cells.size(), 64));
    open.reserve(areas.capacity());
    reached.reserve(areas.capacity());
    int row = -1;
    for (std::size_t k = 0; k < cells.size();) {
        // A run: the next cells of the same row, side by side, with the same change.
        const CellChange& first = cells[k];
        std::size_t end = k + 1;
        while (end < cells.size() && cells[end].cell.y == first.cell.y &&
               cells[end].cell.x == cells[end - 1].cell.x + 1 &&
               cells[end].before == first.before && cells[end].after == first.after)
            ++end;
        const ChangeArea run{first.cell.x, first.cell.y, cells[end - 1].cell.x,
                             first.cell.y, first.before, first.after};
        k = end;
        if (run.top != row) {
            // Swapped, not copied: both lists keep their room from row to row.
            if (run.top == row + 1)
                open.swap(reached);
            else
                open.clear();
            reached.clear();
            row = run.top;
        }
        const auto above = std::find_if(open.begin(), open.end(), [&](std::size_t index) {
            const ChangeArea& area = areas[index];
            return area.left == run.left && area.right == run.right && area.before == run.before &&
                   area.after == run.after;
        });
        if (above != open.end()) {
            areas[*above].bottom = run.top;
            reached.push_back(*above);
            open.erase(above);
        } else {
            areas.push_back(run);
            reached.push_back(areas.size() - 1);
        }
    }
    return areas;
}

} // namespace quintaraz
