#pragma once

#include "map/cellareas.h"
#include "map/gamemap.h"
#include "map/mapproblems.h"

#include <optional>
#include <vector>

namespace quintaraz {

/** Where the two sides of a merge disagree; the merged map holds ours' value there. */
struct MergeConflict {
    enum class Kind {
        Size,  // one side changed the size and the other changed the map
        Cell,  // a cell painted differently on both sides
        Start, // a player's start moved to two different cells
        Land,  // a start that the merge would leave where no start may be
    };
    Kind kind = Kind::Cell;
    bool withBase = true; // false: the sides share no base, as when both added the map
    // Cell: the cell. Land: where the merge would have left the start.
    GridPoint cell{};
    int player = 0; // Start, Land: the player, from 0
    // Cell: the terrains, nothing where a side's map does not reach the cell or there is no
    // base.
    std::optional<std::int16_t> base{};
    std::optional<std::int16_t> ours{};
    std::optional<std::int16_t> theirs{};
    // Start: the cells of each side. Size: the sizes, as cells (columns, rows). Land: oursAt
    // is where our start stays.
    GridPoint baseAt{};
    GridPoint oursAt{};
    GridPoint theirsAt{};
    // Land: the rule of starts that the start would have broken where the merge left it.
    std::optional<MapProblem> rule{};
    // Land: our terrain, put back under our start where the other side painted water or rock.
    std::optional<std::int16_t> keptTerrain{};
};

/** Cells in conflict with one terrain each on the base, ours and theirs, in a rectangle. */
struct ConflictArea : CellArea {
    std::optional<std::int16_t> base;
    std::optional<std::int16_t> ours;
    std::optional<std::int16_t> theirs;
};

/** A three-way merge: the merged map and what could not be merged. */
struct MapMerge {
    GameMap map;
    std::vector<MergeConflict> conflicts;
    bool extraStartsDropped = false; // a side held entries after the eighth start
};

/**
 * Merges two maps that both come from base, cell by cell: a cell changed on one side takes
 * that side's terrain, changed alike on both that terrain, changed differently a conflict.
 * Starts are merged player by player in the same way: a start is the player's, whatever
 * cell it is on, so two starts that swap cells are two players that moved. A size changed
 * on one side with any change on the other is a conflict, and the merged map is then ours.
 * A start that the merge would leave on water, on rock, outside the map or on another
 * player's start, where ours' was not, is a conflict, and stays where ours has it, on our
 * terrain. Without a base (both sides added the map) every difference is a conflict.
 */
MapMerge mergeMaps(const GameMap* base, const GameMap& ours, const GameMap& theirs);

/**
 * The conflicts of cells grouped as changeAreas groups a diff's changes: a block painted
 * two ways is one area. Conflicts of other kinds are left out.
 */
std::vector<ConflictArea> conflictAreas(const std::vector<MergeConflict>& conflicts);

/**
 * The cells of a merge's conflicts that a picture of it frames: cells in conflict, and the
 * cells where a start in conflict stands and where the merge would have left it.
 */
std::vector<GridPoint> conflictCells(const MapMerge& merged);

} // namespace quintaraz
