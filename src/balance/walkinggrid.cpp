#include "balance/walkinggrid.h"

namespace quintaraz {

WalkingGrid::WalkingGrid(const GameMap& map, const std::array<bool, terrainCount>& blocking)
    : columns_(map.columns())
    , rows_(map.rows())
    , kinds_(std::size_t(size()), Blocking)
    , resources_(std::size_t(size()), NoResource)
{
    std::array<std::uint8_t, terrainCount> kindOf;
    std::array<std::uint8_t, terrainCount> resourceOf{};
    resourceOf[terrainNumber(Terrain::Tree)] = TreeCell;
    resourceOf[terrainNumber(Terrain::SoilPatch)] = SoilPatchCell;
    for (int t = 0; t < terrainCount; ++t)
        kindOf[t] = !blocking[t] ? Passable : resourceOf[t] ? BlockingResource : Blocking;
    for (int y = 0; y < rows_; ++y) {
        const std::int16_t* terrain = map.terrain.data() + map.cellIndex(0, y);
        std::uint8_t* kinds = kinds_.data() + index(0, y);
        std::uint8_t* resources = resources_.data() + index(0, y);
        for (int x = 0; x < columns_; ++x) {
            const bool known = isTerrain(terrain[x]);
            kinds[x] = known ? kindOf[terrain[x]] : std::uint8_t(Blocking);
            resources[x] = known ? resourceOf[terrain[x]] : std::uint8_t(NoResource);
        }
    }
}

int WalkingGrid::walk(int from, std::uint16_t* distances, int* order) const
{
    // Breadth first: order is the queue, so it ends nearest first. What a new cell is
    // decides no branch: its distance is written or left unreached, and the queue's end
    // moves past it only when it is passable. On maps painted cell by cell a branch there
    // would be mispredicted at every other step.
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
            if (distances[neighbour] != unreached)
                continue;
            const std::uint8_t kind = kinds[neighbour];
            distances[neighbour] = kind != Blocking ? further : unreached;
            order[end] = neighbour;
            end += kind == Passable;
        }
    }
    return end;
}

} // namespace quintaraz
