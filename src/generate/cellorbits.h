#pragma once

#include "balance/mapsymmetry.h"
#include "map/gamemap.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quintaraz {

/**
 * The cells that a group of symmetries takes one cell to, for every cell of a map: painting
 * a whole orbit at a time keeps the map exactly symmetric. The group is the one that the
 * given transforms make together, identity included.
 */
class CellOrbits {
public:
    /** The most cells an orbit holds: the eight transforms of a square. */
    static constexpr int largest = 8;

    CellOrbits(const GameMap& map, const std::vector<Symmetry>& generators);

    /** The cells of the orbit of a cell (an index of the map), itself first. */
    const std::int16_t* orbit(int cell) const { return &orbits_[std::size_t(cell) * largest]; }
    int size(int cell) const { return sizes_[std::size_t(cell)]; }
    /** The size of the largest orbit: a cell's that lies on no axis. */
    int largestSize() const { return largestSize_; }

private:
    std::vector<std::int16_t> orbits_;
    std::vector<std::uint8_t> sizes_;
    int largestSize_ = 1;
};

} // namespace quintaraz
