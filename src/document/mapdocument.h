#pragma once

#include "document/mapcell.h"

#include <array>
#include <cassert>
#include <cstdint>

namespace quintaraz {

/** The highest column or row index a map may have: 16 (17 cells) to 99 (100 cells). */
struct MapSizeLimits {
    int lowest;
    int highest;

    constexpr bool contains(int index) const { return index >= lowest && index <= highest; }
    constexpr int clamp(int index) const
    {
        return index < lowest ? lowest : index > highest ? highest : index;
    }
};
inline constexpr MapSizeLimits mapSizeLimits{16, 99};

/** The active tool; the numbers are the ones the editor state has always held. */
enum class ToolMode : std::int16_t { Terrain = 0, Start = 1 };

/** The one map in memory: a fixed 100 by 100 grid, the map's size and the editor state. */
class MapDocument {
public:
    static constexpr int gridSize = 100;

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

    friend bool operator==(const MapDocument&, const MapDocument&) = default;

private:
    std::array<MapCell, gridSize * gridSize> grid_{};
};

} // namespace quintaraz
