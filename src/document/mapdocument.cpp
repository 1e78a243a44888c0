#include "document/mapdocument.h"

#include "document/terrain.h"

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

} // namespace quintaraz
