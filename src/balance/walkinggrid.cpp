#include "balance/walkinggrid.h"

namespace quintaraz {

WalkingGrid::WalkingGrid(const GameMap& map, const std::array<bool, terrainCount>& blocking)
    : columns_(map.columns())
    , rows_(map.rows())
    , kinds_(std::size_t(size()), Blocking)
{
    const auto isResource = [](int terrain) {
        return terrain == terrainNumber(Terrain::Tree) ||
               terrain == terrainNumber(Terrain::SoilPatch);
    };
    for (int y = 0; y < rows_; ++y) {
        std::uint8_t* row = kinds_.data() + index(0, y);
        for (int x = 0; x < columns_; ++x) {
            const int terrain = map.terrainAt(x, y);
            row[x] = !isTerrain(terrain)   ? Blocking
                     : !blocking[terrain]  ? Passable
                     : isResource(terrain) ? BlockingResource
                                           : Blocking;
        }
    }
}

int WalkingGrid::walkableIndex(std::optional<GridPoint> cell) const
{
    if (!cell || cell->x < 0 || cell->y < 0 || cell->x >= columns_ || cell->y >= rows_)
        return -1;
    const int at = index(cell->x, cell->y);
    return kind(at) == Passable ? at : -1;
}

int WalkingGrid::walk(int from, std::uint16_t* distances, int* order) const
{
    // Breadth first: order is the queue, so it ends nearest first.
    const std::uint8_t* kinds = kinds_.data();
    const int steps[4] = {-stride(), -1, 1, stride()};
    distances[from] = 0;
    order[0] = from;
    int end = 1;
    for (int next = 0; next < end; ++next) {
        const int cell = order[next];
        const std::uint16_t further = std::uint16_t(distances[cell] + 1);
        for (const int step : steps) {
            const int neighbour = cell + step;
            if (distances[neighbour] != unreached || kinds[neighbour] == Blocking)
                continue;
            distances[neighbour] = further;
            if (kinds[neighbour] == Passable)
                order[end++] = neighbour;
        }
    }
    return end;
}

} // namespace quintaraz
