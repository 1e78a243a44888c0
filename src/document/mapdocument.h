#pragma once

#include "mapcell.h"

#include <array>
#include <cassert>
#include <cstdint>

namespace quintaraz {

/** The one map in memory: a fixed 100 by 100 grid, the map's size and the editor state. */
class MapDocument {
public:
    static constexpr int gridSize = 100;
    static constexpr int playerCount = 8;
    static constexpr int minSize = 16; // smallest highest index: 17 cells
    static constexpr int maxSize = 99; // largest highest index: 100 cells

    enum ToolMode : std::int16_t { TerrainTool = 0, StartTool = 1 };

    // Column first, as the grid is addressed everywhere: cells(x, y).
    MapCell& cells(int x, int y)
    {
        assert(x >= 0 && x < gridSize && y >= 0 && y < gridSize);
        return grid_[x * gridSize + y];
    }
    const MapCell& cells(int x, int y) const
    {
        assert(x >= 0 && x < gridSize && y >= 0 && y < gridSize);
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
    std::int16_t toolMode = TerrainTool;
    std::int16_t scrollX = 0;
    std::int16_t scrollY = 0;
    bool mapLoaded = false;
    std::array<bool, playerCount> startPlaced{};

    /** Empties the map area for a new map: grass everywhere, no starts anywhere. */
    void clearForNewMap();
    /** Takes the start mark from every cell of the grid; player numbers stay. */
    void clearStartMarks();
    /** Sets each startPlaced flag from whether that player has a start inside the map area. */
    void syncStartPlaced();

    friend bool operator==(const MapDocument&, const MapDocument&) = default;

private:
    std::array<MapCell, gridSize * gridSize> grid_{};
};

} // namespace quintaraz
