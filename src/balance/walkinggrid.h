#pragma once

#include "map/gamemap.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quintaraz {

/**
 * A map as steps see it: every cell passable or blocking, inside a border of blocking cells,
 * so that a step never leaves the grid and no walk checks where the map ends. Cells are
 * numbered row by row over the bordered grid; a step adds or takes 1 or stride().
 */
class WalkingGrid {
public:
    /** What a cell is to a walk. */
    enum Kind : std::uint8_t {
        Blocking = 0,
        Passable = 1,
        // A tree or soil patch that blocks: reached from beside it, one step further.
        BlockingResource = 2,
    };

    /** What a cell holds that players count, passable or not. */
    enum Resource : std::uint8_t { NoResource = 0, TreeCell = 1, SoilPatchCell = 2 };

    /** A distance of a cell that no walk reaches. */
    static constexpr std::uint16_t unreached = 0xffff;

    /** blocking: which known terrains block; a number that names no terrain always does. */
    WalkingGrid(const GameMap& map, const std::array<bool, terrainCount>& blocking);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int stride() const { return columns_ + 2; }
    /** How many cells the bordered grid holds. */
    int size() const { return stride() * (rows_ + 2); }
    int index(int x, int y) const { return (y + 1) * stride() + x + 1; }
    Kind kind(int index) const { return Kind(kinds_[std::size_t(index)]); }
    /** Every cell's kind and resource, size() of each, for passes over the whole grid. */
    const std::uint8_t* kinds() const { return kinds_.data(); }
    const std::uint8_t* resources() const { return resources_.data(); }

    /**
     * The walking distance from a passable cell to every cell, into distances (size() of them,
     * all unreached on entry): passable cells by the least number of steps, blocking resources
     * one step more than their nearest reached neighbour. order receives the passable cells
     * reached, nearest first; gives how many.
     */
    int walk(int from, std::uint16_t* distances, int* order) const;

private:
    int columns_;
    int rows_;
    std::vector<std::uint8_t> kinds_;
    std::vector<std::uint8_t> resources_;
};

} // namespace quintaraz
