#include "map/newmap.h"

namespace quintaraz {

GameMap newMapWithStarts(int columns, int rows)
{
    GameMap map(columns - 1, rows - 1, Terrain::Grass);
    // An eighth of the width and a sixth of the height in from the edges: on 17 cells a side
    // the three columns and the three rows of starts are still apart.
    const std::array<int, 3> across{columns / 8, columns / 2, columns - 1 - columns / 8};
    const std::array<int, 3> down{rows / 6, rows / 2, rows - 1 - rows / 6};
    // Players 1 to 3 on the top row, 4 and 5 at the sides of the middle, 6 to 8 at the bottom.
    const std::array<std::pair<int, int>, playerCount> places{
        {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}};
    for (int p = 0; p < playerCount; ++p)
        map.starts[p] =
            GridPoint{std::int16_t(across[places[p].first]), std::int16_t(down[places[p].second])};
    return map;
}

} // namespace quintaraz
