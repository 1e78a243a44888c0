#pragma once

#include "generate/cellorbits.h"
#include "generate/generatoroptions.h"
#include "generate/splitmix64.h"
#include "generate/terrainpainter.h"
#include "map/gamemap.h"

#include <array>
#include <optional>
#include <vector>

namespace quintaraz {

/**
 * Where the eight players start, and the trees and soil patches each finds beside its start.
 * Two starts, A and B, lie in the top-left quadrant, off the axes; the symmetries place the
 * other six. A and B begin as on an ellipse at angles φ and 90° - φ (A a fraction u across
 * and v down the quadrant's room, B the fractions swapped) and move a step at a time until
 * open ground would give them even figures. Every start gets the same kit, turned with it.
 */
struct StartLayout {
    GridPoint first;  // A, player 1
    GridPoint second; // B, player 2
    /** The kit's cells, as steps from A along columns and rows; B's are these swapped. */
    std::vector<std::pair<int, int>> kitTrees;
    std::vector<std::pair<int, int>> kitSoilPatches;
    /** The starts in player order: player k + 4 is the image of player k by the symmetry. */
    std::array<GridPoint, playerCount> starts;

    /**
     * A layout for a map of that size drawn from random, with the kit sizes given; nothing
     * when the draw puts two starts nearer than leastStartDistance or a start on an axis.
     */
    static std::optional<StartLayout> draw(int columns, int rows, GeneratedSymmetry symmetry,
                                           int kitTrees, int kitSoilPatches, SplitMix64& random);

    /**
     * Puts the layout on a map of grass: the starts, each in open ground where nothing may
     * block within a sixth of the map's shorter side, roads that nothing blocks from A and B
     * to their nearest rivals, and the kits. False when a kit does not fit in its start's
     * quadrant beside the others.
     */
    bool placeOn(GameMap& map, TerrainPainter& painter, const CellOrbits& orbits,
                 GeneratedSymmetry symmetry) const;
};

} // namespace quintaraz
