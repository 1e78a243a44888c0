#pragma once

#include "map/gamemap.h"

#include <array>
#include <vector>

namespace quintaraz {

/** The ways a map can be the same as itself turned or mirrored. */
enum class Symmetry {
    MirrorVertical,   // (x, y) -> (W - x, y)
    MirrorHorizontal, // (x, y) -> (x, H - y)
    HalfTurn,         // (x, y) -> (W - x, H - y)
    QuarterTurn,      // (x, y) -> (H - y, x), square maps only
    Diagonal,         // (x, y) -> (y, x), square maps only
    AntiDiagonal,     // (x, y) -> (W - y, H - x), square maps only
};

inline constexpr std::array<Symmetry, 6> allSymmetries{
    Symmetry::MirrorVertical, Symmetry::MirrorHorizontal, Symmetry::HalfTurn,
    Symmetry::QuarterTurn,    Symmetry::Diagonal,         Symmetry::AntiDiagonal};

/** Whether a symmetry takes the map's cells onto its own cells: the last three need a square. */
bool symmetryFits(Symmetry symmetry, const GameMap& map);

/** Where a symmetry takes a cell of the map (W and H the highest column and row). */
GridPoint transformed(Symmetry symmetry, const GameMap& map, GridPoint cell);

/** How far a map is from one of its symmetries. */
struct SymmetryCheck {
    Symmetry symmetry = Symmetry::MirrorVertical;
    int brokenTerrain = 0;    // cells that it takes onto a different terrain
    bool startsMatch = false; // it takes the set of start cells onto itself

    bool exact() const { return brokenTerrain == 0 && startsMatch; }
};

/** Each symmetry that fits the map, in the order of allSymmetries. */
std::vector<SymmetryCheck> checkSymmetries(const GameMap& map);

} // namespace quintaraz
