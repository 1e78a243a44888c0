#pragma once

#include "document/mapcell.h"
#include "map/gamemap.h"

#include <array>
#include <cassert>
#include <cstdint>

namespace quintaraz {

/** The active tool; the numbers are the ones the editor state has always held. */
enum class ToolMode : std::int16_t { Terrain = 0, Start = 1 };

/** The one map in memory: a fixed 100 by 100 grid, the map's size and the editor state. */
class MapDocument {
public:
    static constexpr int gridSize = GameMap::gridSize;

    // Column first, as the grid is addressed everywhere: cells(x, y).
    MapCell& cells(int x, int y)
    {
        assert(inGrid(x, y));
        return grid_[x * gridSize + y];
    }
    const MapCell& cells(int x, int y) const
    {
        assert(inGrid(x, y));
        return grid_[x * gridSize + y];
    }

    static bool inGrid(int x, int y) { return x >= 0 && x < gridSize && y >= 0 && y < gridSize; }
    // The map area: columns 0..maxwidth and rows 0..maxheight, both inclusive.
    bool inMapArea(int x, int y) const
    {
        return x >= 0 && x <= maxwidth && y >= 0 && y <= maxheight;
    }

    // Highest column and row index of the current map; 0 until a map exists.
    std::int16_t maxwidth = 0;
    std::int16_t maxheight = 0;

    std::int16_t selectedTerrain = 0;
    ToolMode toolMode = ToolMode::Terrain;
    std::int16_t scrollX = 0;
    std::int16_t scrollY = 0;
    bool mapLoaded = false;
    std::array<bool, playerCount> startPlaced{};

    /** Empties the map area for a new map: grass everywhere, no starts anywhere. */
    void clearForNewMap();
    /** Takes the start from every cell of the grid; player numbers stay. */
    void clearStartMarks();
    /** Sets each startPlaced flag from whether that player has a start inside the map area. */
    void syncStartPlaced();

    /**
     * Takes a map in: size, terrain and its starts, which replace every start of the grid;
     * the start flags follow the starts inside the map.
     */
    void setMap(const GameMap& map);
    /**
     * The map as it is saved: size, the terrain of the map area, and each player's first
     * start in row-major order inside the map area, where it has one.
     */
    GameMap map() const;

    friend bool operator==(const MapDocument&, const MapDocument&) = default;

private:
    std::array<MapCell, gridSize * gridSize> grid_{};
};

} // namespace quintaraz
