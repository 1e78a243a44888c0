#pragma once

#include "map/terrain.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quintaraz {

/** The players, numbered 0 to 7; the player chooser lists them as "1" to "8". */
constexpr int playerCount = 8;

constexpr bool isPlayer(int number)
{
    return number >= 0 && number < playerCount;
}

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

/** A position on the grid. */
struct GridPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;

    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

/**
 * A map as its files hold it, whichever format it was read from or is written to: the
 * size, every cell's terrain row by row, each player's start and what a file holds after
 * the eighth start. Every reader gives one and every writer takes one.
 */
struct GameMap {
    /** The most cells a side may have; starts lie on this grid, not only on the map. */
    static constexpr int gridSize = 100;

    // Highest column and row index.
    std::int16_t maxwidth = 0;
    std::int16_t maxheight = 0;
    // Row by row: cell k is column k % columns(), row k / columns(). Only the first
    // columns() * rows() hold the map.
    std::array<std::int16_t, gridSize * gridSize> terrain;
    // Entry g is player g's; a map being edited may lack some.
    std::array<std::optional<GridPoint>, playerCount> starts;
    // What follows the eighth start in a file, white space at its end left out: entries
    // the game does not read.
    std::string extraStarts;

    int columns() const { return maxwidth + 1; }
    int rows() const { return maxheight + 1; }
    int cellCount() const { return columns() * rows(); }
    int cellIndex(int x, int y) const { return y * columns() + x; }
    std::int16_t terrainAt(int x, int y) const { return terrain[cellIndex(x, y)]; }
    bool contains(GridPoint point) const
    {
        return point.x >= 0 && point.x <= maxwidth && point.y >= 0 && point.y <= maxheight;
    }
    /** How many entries extraStarts holds: pieces between commas, a blank last one not. */
    int extraStartCount() const;
};

} // namespace quintaraz
