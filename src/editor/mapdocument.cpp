#include "editor/mapdocument.h"

#include "map/terrain.h"

namespace quintaraz {

void MapDocument::clearForNewMap()
{
    for (int x = 0; x <= maxwidth; ++x)
        for (int y = 0; y <= maxheight; ++y)
            cells(x, y).terrain = terrainNumber(Terrain::Grass);
    // A new map is empty: starts of the previous map would otherwise pass the
    // save check without existing on the new one.
    clearStartMarks();
    startPlaced.fill(false);
    mapLoaded = true;
}

void MapDocument::clearStartMarks()
{
    for (MapCell& cell : grid_)
        cell.clearStart();
}

void MapDocument::syncStartPlaced()
{
    startPlaced.fill(false);
    for (int x = 0; x <= maxwidth; ++x) {
        for (int y = 0; y <= maxheight; ++y) {
            const MapCell& cell = cells(x, y);
            if (cell.hasStart() && isPlayer(cell.playerIndex))
                startPlaced[cell.playerIndex] = true;
        }
    }
}

void MapDocument::setMap(const GameMap& map)
{
    maxwidth = map.maxwidth;
    maxheight = map.maxheight;
    // Column by column, the grid's own order in memory.
    const int columns = map.columns();
    for (int x = 0; x < columns; ++x) {
        MapCell* column = &cells(x, 0);
        for (int y = 0; y < map.rows(); ++y)
            column[y].terrain = map.terrain[y * columns + x];
    }
    // The map's starts replace every start in the grid, so that the flags can follow
    // the cells: an opened map with its eight starts can be saved at once.
    clearStartMarks();
    for (int g = 0; g < playerCount; ++g)
        if (const std::optional<GridPoint> start = map.starts[g])
            cells(start->x, start->y).markStart(g);
    syncStartPlaced();
}

GameMap MapDocument::map() const
{
    GameMap map;
    map.maxwidth = maxwidth;
    map.maxheight = maxheight;
    for (int y = 0; y <= maxheight; ++y) {
        for (int x = 0; x <= maxwidth; ++x) {
            const MapCell& cell = cells(x, y);
            map.terrain[map.cellIndex(x, y)] = cell.terrain;
            const int player = cell.playerIndex;
            if (cell.hasStart() && isPlayer(player) && !map.starts[player])
                map.starts[player] = GridPoint{std::int16_t(x), std::int16_t(y)};
        }
    }
    return map;
}

} // namespace quintaraz
