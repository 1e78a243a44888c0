#pragma once

#include "map/terrain.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
 * The one map in memory, whichever format it was read from or is written to and whoever
 * works on it: the size, every cell's terrain row by row, each player's start and what a
 * file holds after the eighth start. Every reader gives one, every writer takes one, the
 * editor edits one and the pictures draw one.
 *
 * A value: two maps are equal when all of that is. The cells are a vector of the map's own
 * size, not a fixed grid of the largest: moving a map costs nothing, and a copy costs what
 * the map holds (578 bytes at 17 by 17, 20 KB at 100 by 100), where a fixed array cost the
 * largest map's 20 KB for every map made, copied or returned.
 */
struct GameMap {
    /** The most cells a side may have; starts lie on this grid, not only on the map. */
    static constexpr int gridSize = 100;

    /** A map of one grass cell, until it is given a size. */
    GameMap() = default;
    /** A map of those highest column and row indices, every cell of that terrain. */
    GameMap(int maxwidth, int maxheight, Terrain fill = Terrain::Grass);

    // Highest column and row index.
    std::int16_t maxwidth = 0;
    std::int16_t maxheight = 0;
    // Row by row: cell k is column k % columns(), row k / columns(); cellCount() of them.
    std::vector<std::int16_t> terrain = std::vector<std::int16_t>(1);
    // Entry g is player g's; a map being edited may lack some.
    std::array<std::optional<GridPoint>, playerCount> starts;
    // What follows the eighth start in a file, white space at its end left out: entries
    // the game does not read.
    std::string extraStarts;

    int columns() const { return maxwidth + 1; }
    int rows() const { return maxheight + 1; }
    int cellCount() const { return columns() * rows(); }
    int cellIndex(int x, int y) const { return y * columns() + x; }
    std::int16_t terrainAt(int x, int y) const { return terrain[std::size_t(cellIndex(x, y))]; }
    void setTerrainAt(int x, int y, std::int16_t number)
    {
        terrain[std::size_t(cellIndex(x, y))] = number;
    }
    bool contains(GridPoint point) const
    {
        return point.x >= 0 && point.x <= maxwidth && point.y >= 0 && point.y <= maxheight;
    }
    /** Gives the map that size; the cells' terrain is then grass, to be set. */
    void resize(int maxwidth, int maxheight);
    /** The player whose start a cell shows: the last of those that start there; -1 for none. */
    int startAt(GridPoint cell) const;
    /** How many cells hold each terrain, by its number; last, how many hold a number of none. */
    std::array<int, terrainCount + 1> terrainCounts() const;
    /** How many entries extraStarts holds: pieces between commas, a blank last one not. */
    int extraStartCount() const;
    /** The cells that hold a start, in row-major order; a cell twice if two players share it. */
    std::vector<GridPoint> startCells() const;

    friend bool operator==(const GameMap&, const GameMap&) = default;
};

} // namespace quintaraz
