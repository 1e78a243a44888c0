#include "generate/uniformcells.h"

namespace quintaraz {

bool isUniformCell(const GameMap& map, int x, int y)
{
    const std::int16_t terrain = map.terrainAt(x, y);
    return (x == 0 || map.terrainAt(x - 1, y) == terrain) &&
           (x == map.maxwidth || map.terrainAt(x + 1, y) == terrain) &&
           (y == 0 || map.terrainAt(x, y - 1) == terrain) &&
           (y == map.maxheight || map.terrainAt(x, y + 1) == terrain);
}

int uniformCellCount(const GameMap& map)
{
    int uniform = 0;
    for (int y = 0; y <= map.maxheight; ++y)
        for (int x = 0; x <= map.maxwidth; ++x)
            uniform += isUniformCell(map, x, y);
    return uniform;
}

} // namespace quintaraz
