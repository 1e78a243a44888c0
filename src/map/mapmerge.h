#pragma once

#include "map/gamemap.h"

#include <memory>
#include <optional>
#include <vector>

namespace quintaraz {

/** Where the two sides of a merge disagree; the merged map holds ours' value there. */
struct MergeConflict {
    enum class Kind {
        Size,  // one side changed the size and the other changed the map
        Cell,  // a cell painted differently on both sides
        Start, // a player's start moved to two different cells
        Land,  // a start that the merge left on water or rock, or on another start's cell
    };
    Kind kind;
    GridPoint cell; // Cell, Land: the cell; Start: the base's start
    int player = 0; // Start, Land: the player, by file order from 0
    // Cell: the terrains, nothing where a side's map does not reach the cell. Land: the
    // merged map's terrain under the start in ours, nothing outside the map.
    std::optional<std::int16_t> base;
    std::optional<std::int16_t> ours;
    std::optional<std::int16_t> theirs;
    // Start: the cells each side moved it to. Size: the sizes, as cells (columns, rows).
    GridPoint oursAt;
    GridPoint theirsAt;
    GridPoint baseAt;
};

/** A three-way merge: the merged map and what could not be merged. */
struct MapMerge {
    std::unique_ptr<GameMap> map = std::make_unique<GameMap>();
    std::vector<MergeConflict> conflicts;
    bool extraStartsDropped = false; // a side held entries after the eighth start
};

/**
 * Merges two maps that both come from base, cell by cell: a cell changed on one side takes
 * that side's terrain, changed alike on both that terrain, changed differently a conflict.
 * Starts are merged player by player as cells in the same way; a side that only put the
 * same start cells in another order changed nothing. A size changed on one side with any
 * change on the other is a conflict, and the merged map is then ours.
 */
MapMerge mergeMaps(const GameMap& base, const GameMap& ours, const GameMap& theirs);

} // namespace quintaraz
