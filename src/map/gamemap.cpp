#include "map/gamemap.h"

#include "map/piecesplitter.h"

#include <algorithm>

namespace quintaraz {

GameMap::GameMap(int maxwidth, int maxheight, Terrain fill)
{
    resize(maxwidth, maxheight);
    std::fill(terrain.begin(), terrain.end(), terrainNumber(fill));
}

void GameMap::resize(int highestColumn, int highestRow)
{
    maxwidth = std::int16_t(highestColumn);
    maxheight = std::int16_t(highestRow);
    terrain.assign(std::size_t(cellCount()), terrainNumber(Terrain::Grass));
}

int GameMap::startAt(GridPoint cell) const
{
    for (int g = playerCount - 1; g >= 0; --g)
        if (starts[g] == cell)
            return g;
    return -1;
}

std::array<int, terrainCount + 1> GameMap::terrainCounts() const
{
    std::array<int, terrainCount + 1> counts{};
    for (const std::int16_t number : terrain)
        ++counts[std::size_t(isTerrain(number) ? number : terrainCount)];
    return counts;
}

int GameMap::extraStartCount() const
{
    // What follows the last comma is no entry when it is empty or white space, such as
    // the line break that text editors add.
    PieceSplitter entries(extraStarts, ",");
    int count = 0;
    bool lastBlank = false;
    for (std::string_view entry; entries.next(entry);) {
        ++count;
        lastBlank = entry.find_first_not_of(" \t\r\n") == std::string_view::npos;
    }
    return count - lastBlank;
}

std::vector<GridPoint> GameMap::startCells() const
{
    std::vector<GridPoint> cells;
    cells.reserve(starts.size());
    for (const std::optional<GridPoint>& start : starts)
        if (start)
            cells.push_back(*start);
    std::sort(cells.begin(), cells.end(),
              [](GridPoint a, GridPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    return cells;
}

} // namespace quintaraz
