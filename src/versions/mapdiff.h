#pragma once

#include "map/cellareas.h"
#include "map/gamemap.h"

#include <optional>
#include <vector>

namespace quintaraz {

/** A cell whose terrain differs; a side without it, when the size changed, holds nothing. */
struct CellChange {
    GridPoint cell;
    std::optional<std::int16_t> before;
    std::optional<std::int16_t> after;
};

/**
 * A player's start that changed. Entry k of a file's starts is player k's, in files that
 * older editors wrote in row-major order of their cells too: two starts that swap cells
 * are two players that move. A side without the start holds nothing.
 */
struct StartChange {
    int player = 0; // from 0
    std::optional<GridPoint> from;
    std::optional<GridPoint> to;
};

/** Changed cells of one terrain before and one after that fill a rectangle (or a run). */
struct ChangeArea : CellArea {
    std::optional<std::int16_t> before;
    std::optional<std::int16_t> after;
};

/** What tells two maps apart; maps that read as the same map have none. */
struct MapDifference {
    int columnsBefore = 0;
    int rowsBefore = 0;
    int columnsAfter = 0;
    int rowsAfter = 0;
    std::vector<CellChange> cells;   // row by row, over both sizes
    std::vector<StartChange> starts; // by player
    bool extraStartsChanged = false; // entries after the eighth, which the game does not read

    bool sizeChanged() const { return columnsBefore != columnsAfter || rowsBefore != rowsAfter; }
    bool same() const { return !sizeChanged() && cells.empty() && starts.empty(); }
};

MapDifference diffMaps(const GameMap& before, const GameMap& after);

/** The changed cells grouped, top to bottom and left to right, into as few areas as rows
 * of runs allow: a run of one row grows down while the next row has the same run. */
std::vector<ChangeArea> changeAreas(const std::vector<CellChange>& cells);

/**
 * A side's terrain as 17 bits, for keys of cellAreas: its number, or one past them all for
 * nothing (outside the map, no base). terrainOfBits gives it back.
 */
std::int64_t terrainBits(std::optional<std::int16_t> terrain);
std::optional<std::int16_t> terrainOfBits(std::int64_t bits);

/** The terrain of a cell, or nothing outside the map. */
std::optional<std::int16_t> terrainIfInside(const GameMap& map, int x, int y);

} // namespace quintaraz
