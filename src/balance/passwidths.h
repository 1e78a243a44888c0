#pragma once

#include "balance/walkinggrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quintaraz {

/**
 * How wide the passages of a map are. A passable cell's width is the side of the largest
 * square of passable cells that holds it: a corridor n cells across gives its cells n, a cell
 * in the open the size of the open ground around it. Every width comes from one pass over
 * the map; a route's width is the narrowest width along it.
 */
class PassWidths {
public:
    explicit PassWidths(const WalkingGrid& grid);

    /** The width of a cell of the grid: 0 for one that blocks. */
    int widthAt(int index) const { return widths_[std::size_t(index)]; }

    /** The widest route from a start to one of its wanted rivals, and a cell where it is narrowest.
     */
    struct Route {
        int width = 0;
        int narrowest = -1; // an index of the grid
    };

    /**
     * For each player, the widest route from its start to any of the rivals in its mask of
     * wanted players (bit h for player h): nothing for a start of -1 or no rival reachable.
     * starts are indices of the grid's passable cells, or -1.
     */
    std::array<std::optional<Route>, playerCount>
    widestRoutes(const std::array<int, playerCount>& starts,
                 const std::array<std::uint8_t, playerCount>& wanted) const;

private:
    /** The passable cells of the grid, widest first. */
    std::vector<std::int16_t> cellsByWidth() const;

    const WalkingGrid& grid_;
    std::vector<std::uint8_t> widths_;
    int widest_ = 0;
};

} // namespace quintaraz
